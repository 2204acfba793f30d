/* `TuftlingArt preview`: every frame as the panel paints it, 320 x 240 each,
 * on one contact sheet with each frame's name under it, or one PNG file per
 * frame. */
#pragma once
#include <stdint.h>
#include <string>

struct PreviewOptions {
    int Points;          // the font size
    bool Rainbow;        // draw in the rainbow colour of Phase instead of grey
    double Phase;
    std::wstring Sheet;  // the contact sheet's PNG file, or
    std::wstring Folder; // the folder for one PNG file per frame
};

/* Renders the file's frames; prints what it wrote, or why it could not, to
 * stdout and stderr. Returns 0 when every picture was written, 1 otherwise. */
int PreviewArt(const std::string &file, const std::string &bytes, const PreviewOptions &options);
