/* Previews are the panel's own pictures: the panel's surface and font, its
 * DrawFrame into the whole 320 x 240 surface, read back and written as PNG.
 * The contact sheet lays them out four to a row on light grey, each with its
 * name and the line of its section under it. */
#include "Preview.h"


#include "ArtLayout.h"
#include "Say.h"
#include "Encoding.h"
#include "Files.h"
#include "Findings.h"
#include "JapaneseText.h"
#include "Paint.h"
#include "Paths.h"
#include "Png.h"
#include "Rainbow.h"
#include "Surface.h"

#include <algorithm>
#include <stdio.h>

namespace {

const int Columns = 4, Gap = 8, LabelHeight = 20;
const size_t SheetFrames = 64; // more would make a sheet too large to open
const uint32_t SheetBackground = 0xE0E0E0;

std::string Label(const ArtLayout &art, size_t index)
{
    std::string label = FrameName(index);
    if (art.FrameLine[index])
        label += Format("  (line %d)", art.FrameLine[index]);
    return label;
}

// One memory device context with a 32-bit bitmap of the given size selected,
// released with the object.
class Canvas {
public:
    Canvas(int width, int height) : width_(width), height_(height)
    {
        HDC screen = GetDC(nullptr);
        dc_ = CreateCompatibleDC(screen);
        bitmap_ = CreateCompatibleBitmap(screen, width, height);
        ReleaseDC(nullptr, screen);
        if (dc_ && bitmap_)
            old_ = SelectObject(dc_, bitmap_);
    }
    ~Canvas()
    {
        if (old_)
            SelectObject(dc_, old_);
        if (dc_)
            DeleteDC(dc_);
        if (bitmap_)
            DeleteObject(bitmap_);
    }
    Canvas(const Canvas &) = delete;
    Canvas &operator=(const Canvas &) = delete;
    bool Ok() const { return old_ != nullptr; }
    HDC dc() const { return dc_; }
    Picture Pixels() const { return CaptureDC(dc_, width_, height_); }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
};

bool WriteSheet(const ArtLayout &art, COLORREF colour, const std::wstring &path, size_t count)
{
    const int rows = (int)((count + Columns - 1) / Columns);
    const int cellWidth = SURFACE_WIDTH + Gap, cellHeight = SURFACE_HEIGHT + LabelHeight + Gap;
    Canvas sheet(Gap + Columns * cellWidth, Gap + rows * cellHeight);
    if (!sheet.Ok())
        return false;
    HDC dc = sheet.dc();
    HBRUSH background = CreateSolidBrush(SheetBackground);
    RECT all = {0, 0, Gap + Columns * cellWidth, Gap + rows * cellHeight};
    FillRect(dc, &all, background);
    DeleteObject(background);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, 0x000000);
    const RECT whole = {0, 0, SURFACE_WIDTH, SURFACE_HEIGHT};
    std::vector<wchar_t> wide;
    for (size_t i = 0; i < count; ++i) {
        const int x = Gap + (int)(i % Columns) * cellWidth, y = Gap + (int)(i / Columns) * cellHeight;
        DrawFrame(Surface.DC, whole, FromArtCodePage(art.Frames.Text(i), -1, wide), colour);
        BitBlt(dc, x, y, SURFACE_WIDTH, SURFACE_HEIGHT, Surface.DC, 0, 0, SRCCOPY);
        std::string label = Label(art, i);
        TextOutA(dc, x, y + SURFACE_HEIGHT + 3, label.c_str(), (int)label.size());
    }
    SelectObject(dc, oldFont);
    return SavePng(sheet.Pixels(), path);
}

bool WriteFrames(const ArtLayout &art, COLORREF colour, const std::wstring &folder, std::wstring &failed)
{
    CreateDirectoryW(folder.c_str(), nullptr);
    const std::wstring base = folder + (folder.empty() || folder.back() == L'\\' ? L"" : L"\\");
    const size_t dances = art.Frames.size() - FRAME_FIRST_DANCE;
    const int digits = dances >= 1000 ? (int)std::to_string(dances).size() : 3;
    const RECT whole = {0, 0, SURFACE_WIDTH, SURFACE_HEIGHT};
    std::vector<wchar_t> wide;
    for (size_t i = 0; i < art.Frames.size(); ++i) {
        std::string name = i == FRAME_NORMAL ? "normal"
                           : i == FRAME_HIDE ? "hide"
                                             : Format("dance-%0*u", digits, (unsigned)(i - FRAME_FIRST_DANCE + 1));
        DrawFrame(Surface.DC, whole, FromArtCodePage(art.Frames.Text(i), -1, wide), colour);
        failed = base + Widen(name) + L".png";
        if (!SavePng(CaptureDC(Surface.DC, SURFACE_WIDTH, SURFACE_HEIGHT), failed))
            return false;
    }
    return true;
}

} // namespace

int PreviewArt(const std::string &file, const std::string &bytes, const PreviewOptions &options)
{
    // The panel would draw such a file blank or garbled: a picture of that
    // helps no one, the reason does.
    const std::string trouble = EncodingTrouble(EncodingOf(bytes));
    if (!trouble.empty()) {
        Say(stderr, "%s: error: %s: no preview written\n", file.c_str(), trouble.c_str());
        return 1;
    }
    if (bytes.empty())
        Say(stderr, "%s: warning: the file is empty: every frame is an empty picture\n", file.c_str());
    ArtLayout art;
    if (!LayOut(bytes, art)) {
        Say(stderr, "%s: TuftlingArt cannot follow this file as the panel reads it\n", file.c_str());
        return 1;
    }
    if (!CreateSurface() || !CreatePanelFont(options.Points)) {
        ReleaseSurface();
        Say(stderr, "%s: cannot make the panel's surface and font (is there a screen?)\n", file.c_str());
        return 1;
    }
    const COLORREF colour = options.Rainbow ? (COLORREF)RainbowColour(options.Phase) : PLAIN_TEXT_COLOUR;
    bool ok;
    std::wstring failed; // the file that could not be written
    if (!options.Folder.empty()) {
        ok = WriteFrames(art, colour, options.Folder, failed);
        if (ok)
            Say(stdout, "%s: %u frames written to %s\n", file.c_str(), (unsigned)art.Frames.size(),
                   Utf8(options.Folder).c_str());
    } else {
        size_t count = std::min(art.Frames.size(), SheetFrames);
        ok = WriteSheet(art, colour, options.Sheet, count);
        failed = options.Sheet;
        if (ok)
            Say(stdout, "%s: %u frames on %s\n", file.c_str(), (unsigned)count, Utf8(options.Sheet).c_str());
        if (ok && count < art.Frames.size())
            Say(stdout, "%s: the sheet shows the first %u of %u frames; --frames DIR writes every one\n", file.c_str(),
                   (unsigned)count, (unsigned)art.Frames.size());
    }
    ReleaseSurface();
    if (!ok)
        SayCannotWrite(failed, GetLastError());
    return ok ? 0 : 1;
}
