/* An art file as the panel will read it: its lines as the panel's text rules
 * cut them, the part each plays (a section line, a line of a frame, or a line
 * in no section), and the frames the panel's own reader makes of the same
 * bytes, each with the line of the section that opened it. The check and the
 * preview both start from here. */
#pragma once
#include "FrameStore.h"

#include <string>
#include <vector>

enum LineRole {
    ROLE_NONE,    // in no section (before the first, or after "$End"): ignored
    ROLE_FRAME,   // a line of a frame
    ROLE_SECTION, // a section line
};

struct ArtLine {
    int Number;        // 1-based
    std::string Bytes; // without its line end; a too-long line is cut where the panel cuts it
    size_t Length;     // its length in the file, without its line end
    LineRole Role;
    size_t Frame;      // ROLE_FRAME: the index of the frame it adds to
};

struct ArtLayout {
    std::vector<ArtLine> Lines;  // every line the panel reads, in order
    FrameStore Frames;           // what the panel's reader makes of the file
    std::vector<int> FrameLine;  // per frame: its first section line, 0 when none
    int TooLongLine = 0;         // the line whose length ends the reading
    int CtrlZLine = 0;           // the line whose Ctrl-Z ends the data
    int UnreadLines = 0;         // lines after either with something on them
    bool Bom = false;            // the file starts with a UTF-8 byte-order mark
};

/* Lays out the file's bytes into a fresh layout; false when the panel's reader and the line walk
 * disagree on the frames (a fault of this tool, never of the file). */
bool LayOut(const std::string &bytes, ArtLayout &layout);

/* "$Normal", "$Hide", "$Dance 1", ... for a frame index. */
std::string FrameName(size_t index);
