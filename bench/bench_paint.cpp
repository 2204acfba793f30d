/* Paint benchmark: the panel's whole paint against its floor, the same three
 * drawing calls (PatBlt, DrawTextW, BitBlt) on objects made beforehand, the
 * frame's text converted to UTF-16 once. Both
 * run in this process, several rounds interleaved, and the best round of each
 * is reported; the goal is a ratio within 1.2. */
#include "Anim.h"
#include "Bench.h"
#include "BuiltinArt.h"
#include "Frames.h"
#include "JapaneseText.h"
#include "Paint.h"
#include "PanelWindow.h"
#include "Surface.h"

#include <stdio.h>

namespace {

const int PAINTS = 10000, ROUNDS = 5;

LRESULT CALLBACK PlainProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return DefWindowProcA(w, m, wp, lp);
}

} // namespace

int main()
{
    Module.Instance = GetModuleHandleW(nullptr);
    WNDCLASSA wc = {};
    wc.lpfnWndProc = PlainProc;
    wc.hInstance = Module.Instance;
    wc.lpszClassName = "BenchParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, "BenchParent", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400,
                                  300, nullptr, nullptr, Module.Instance, nullptr);
    Frames.List.Assign(BuiltinFrames, BUILTIN_FRAME_COUNT);
    Anim.FrameIndex = 0;
    if (!parent || !CreateSurface() || !CreatePanelFont(10) || !CreatePanelWindow(parent)) {
        fprintf(stderr, "bench_paint: cannot make the panel\n");
        return 1;
    }
    HDC target = GetDC(Panel.Window);

    // The floor's own surface and font, made once.
    HDC screen = GetDC(nullptr);
    HDC floorDC = CreateCompatibleDC(screen);
    HBITMAP floorBitmap = CreateCompatibleBitmap(screen, SURFACE_WIDTH, SURFACE_HEIGHT);
    HGDIOBJ oldBitmap = SelectObject(floorDC, floorBitmap);
    HFONT floorFont = CreateFontW(FontHeightForPoints(10, GetDeviceCaps(screen, LOGPIXELSY)), 0, 0, 0, 0, 0,
                                  0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, PanelFontFace);
    HGDIOBJ oldFont = SelectObject(floorDC, floorFont);
    ReleaseDC(nullptr, screen);
    SetTextColor(floorDC, PLAIN_TEXT_COLOUR);
    RECT floorRect = {TEXT_INSET, TEXT_INSET, PANEL_WIDTH, PANEL_HEIGHT};
    std::vector<wchar_t> wide;
    const wchar_t *text = FromArtCodePage(CurrentFrameText(), -1, wide);

    double bestPaint = 1e9, bestFloor = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
        double start = Now();
        for (int i = 0; i < PAINTS; ++i)
            PaintPanel(target, NextPicture(Panel.Window));
        GdiFlush();
        double paint = Now() - start;

        start = Now();
        for (int i = 0; i < PAINTS; ++i) {
            PatBlt(floorDC, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, WHITENESS);
            RECT r = floorRect;
            DrawTextW(floorDC, text, -1, &r, 0);
            BitBlt(target, 0, 0, SURFACE_WIDTH, SURFACE_HEIGHT, floorDC, 0, 0, SRCCOPY);
        }
        GdiFlush();
        double floor = Now() - start;
        if (paint < bestPaint)
            bestPaint = paint;
        if (floor < bestFloor)
            bestFloor = floor;
    }

    printf("paint: %.1f us per paint, floor (PatBlt+DrawTextW+BitBlt): %.1f us, ratio %.3f (goal <= 1.2), "
           "%d paints x %d rounds, best round\n",
           bestPaint / PAINTS * 1e6, bestFloor / PAINTS * 1e6, bestPaint / bestFloor, PAINTS, ROUNDS);

    SelectObject(floorDC, oldFont);
    DeleteObject(floorFont);
    SelectObject(floorDC, oldBitmap);
    DeleteObject(floorBitmap);
    DeleteDC(floorDC);
    ReleaseDC(Panel.Window, target);
    ReleaseSurface();
    DestroyPanelWindow();
    DestroyWindow(parent);
    return 0;
}
