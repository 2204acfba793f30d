/* Frame store: the list itself and the loader that fills it. The art file is
 * opened in binary mode: ReadArt does the text-mode translation itself, so
 * the frames never depend on how a C runtime buffers a text-mode stream. */
#include "Frames.h"

#include "Anim.h"
#include "ArtReader.h"
#include "BuiltinArt.h"
#include "Settings.h"

#include <fstream>
#include <new>

FrameStore FrameList;

bool LoadFrames()
{
    std::ifstream file;
    if (ArtPath[0])
        file.open(ArtPath, std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        FrameList.Assign(BuiltinFrames, BUILTIN_FRAME_COUNT);
        return false;
    }
    // Out of memory on a huge file ends the reading like a read error does,
    // and no exception leaves the plug-in: the frames made so far stay (frames
    // 0 and 1 come first), though the section being read may lose its lines.
    try {
        ReadArt(file, FrameList);
    } catch (const std::bad_alloc &) {
    }
    return true;
}

const char *CurrentFrameText()
{
    return FrameList.Text(FrameIndex);
}

int DanceFrameCount()
{
    return (int)FrameList.size() - 2;
}
