/* Frame store: the list itself and the loader that fills it. */
#include "Frames.h"

#include "Anim.h"
#include "ArtReader.h"
#include "BuiltinArt.h"
#include "Settings.h"

#include <fstream>

std::vector<std::string> FrameList;

bool LoadFrames()
{
    std::ifstream file;
    if (ArtPath[0])
        file.open(ArtPath, std::ios::in | std::ios::binary);
    if (!file.is_open()) {
        FrameList.assign(BuiltinFrames, BuiltinFrames + BUILTIN_FRAME_COUNT);
        return false;
    }
    ReadArt(file, FrameList);
    return true;
}

const char *CurrentFrameText()
{
    return FrameList[FrameIndex].c_str();
}

int DanceFrameCount()
{
    return (int)FrameList.size() - 2;
}
