/* Frame loading: the art file's raw bytes go to ReadArt, which does the
 * text-mode translation itself; a file that cannot be opened gives the
 * built-in frames. */
#include "Frames.h"

#include "ArtReader.h"
#include "BuiltinArt.h"
#include "JapaneseText.h"

#include <assert.h>
#include <new>

bool LoadFrames(const char *artPath)
{
    ArtFile file(artPath); // no path, no file
    if (!file.IsOpen()) {
        // With no memory even for these, the frames are those copied so far
        // and the panel shows what it has, as after a huge art file.
        try {
            Frames.List.Assign(BuiltinFrames, BUILTIN_FRAME_COUNT);
        } catch (const std::bad_alloc &) {
            Frames.List.CloseDance();
        }
        return false;
    }
    // Out of memory on a huge file ends the reading like a read error does,
    // and no exception leaves the plug-in: the frames made so far stay (the
    // normal and hide frames come first), though the section being read may
    // lose its lines.
    try {
        ReadArt(file, Frames.List);
    } catch (const std::bad_alloc &) {
    }
    return true;
}

const char *CurrentFrameText()
{
    assert(Anim.FrameIndex >= 0 && (size_t)Anim.FrameIndex < Frames.List.size());
    return Frames.List.Text(Anim.FrameIndex);
}

const wchar_t *CurrentFrameWide()
{
    // A comparison, not a cache key: a frame may change in place (the next
    // load reuses the store's room), and comparing a few hundred bytes costs
    // nothing next to drawing them.
    const char *text = CurrentFrameText();
    if (Frames.ShownWide.empty() || Frames.ShownBytes != text) {
        // Called from the window procedure, which no exception may leave: a
        // frame too large to copy or convert shows nothing this time, and
        // the next paint tries again. Both copies go, giving their memory back.
        try {
            Frames.ShownBytes = text;
            FromArtCodePage(text, -1, Frames.ShownWide);
        } catch (const std::bad_alloc &) {
            std::string().swap(Frames.ShownBytes);
            std::vector<wchar_t>().swap(Frames.ShownWide);
            return nullptr;
        }
    }
    return Frames.ShownWide.data();
}

int DanceFrameCount()
{
    return (int)Frames.List.size() - FRAME_FIRST_DANCE;
}
