/* Frame store: the list itself and the loader that fills it. The art file's
 * raw bytes go to ReadArt, which does the text-mode translation itself. */
#include "Frames.h"

#include "Anim.h"
#include "ArtReader.h"
#include "BuiltinArt.h"
#include "Settings.h"

#include <new>

FrameStore FrameList;

bool LoadFrames()
{
    ArtFile file(ArtPath); // no path, no file
    if (!file.IsOpen()) {
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
