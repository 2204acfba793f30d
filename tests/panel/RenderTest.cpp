/* Rendering parts that need no panel: the rainbow, the font height for a
 * point size, and the paint itself into a memory device context. */
#include "doctest.h"
#include "ObjectCount.h"
#include "Picture.h"
#include "TestSupport.h"

#include "Frames.h"
#include "Anim.h"
#include "Paint.h"
#include "Rainbow.h"
#include "Surface.h"

TEST_CASE("RainbowColour at the nine painted phases and at its range edges")
{
    struct Case {
        double phase;
        int r, g, b;
    } cases[] = {
        {0, 0, 0, 255},    {10, 0, 127, 255}, {20, 0, 255, 255}, {30, 0, 255, 85},  {40, 85, 255, 0},
        {50, 255, 255, 0}, {60, 255, 170, 0}, {70, 255, 85, 0},  {80, 255, 0, 0},
        {20.5, 0, 255, 246}, {35, 0, 255, 0}, {35.5, 8, 255, 0}, {50.5, 255, 250, 0}, {1, 0, 12, 255},
        {-0.001, 0, 0, 0}, {80.001, 0, 0, 0}, {90, 0, 0, 0},     {-10, 0, 0, 0},
    };
    for (const Case &c : cases) {
        CAPTURE(c.phase);
        CHECK(RainbowColour(c.phase) == (uint32_t)(c.r + 256 * c.g + 65536 * c.b));
    }
}

TEST_CASE("font heights match the character height of the point size")
{
    CHECK(FontHeightForPoints(7, 96) == -9);
    CHECK(FontHeightForPoints(10, 96) == -13);
    CHECK(FontHeightForPoints(12, 96) == -16);
    CHECK(FontHeightForPoints(10, 120) == -17);

    REQUIRE(CreateSurface());
    HDC screen = GetDC(nullptr);
    int dpi = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    for (int points : {7, 10, 12}) {
        CAPTURE(points);
        REQUIRE(CreatePanelFont(points));
        LOGFONTW font;
        REQUIRE(GetObjectW(Surface.Font, sizeof font, &font) == sizeof font);
        CHECK(font.lfHeight == FontHeightForPoints(points, dpi));
        CHECK(font.lfCharSet == DEFAULT_CHARSET);
        CHECK(std::wstring(font.lfFaceName) == PanelFontFace);
        CHECK(GetCurrentObject(Surface.DC, OBJ_FONT) == Surface.Font);
    }
    ReleaseSurface();
    CHECK(Surface.DC == nullptr);
    CHECK(Surface.Font == nullptr);
    CHECK(Surface.SavedFont == nullptr);
}

TEST_CASE("the phase steps on every paint, cycling or not")
{
    ParentWindow window(200, 200);
    REQUIRE(CreateSurface());
    REQUIRE(CreatePanelFont(12));
    Frames.List = {"\x81\xa1\x81\xa1\x81\xa1", "", ""};
    Anim.FrameIndex = 0;
    HDC screen = GetDC(nullptr);
    HDC target = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, SURFACE_WIDTH, SURFACE_HEIGHT);
    HGDIOBJ old = SelectObject(target, bitmap);
    ReleaseDC(nullptr, screen);

    Colour.Phase = 0;
    Colour.Cycling = false;
    PaintPanel(target, NextPicture(window.get()));
    PaintPanel(target, NextPicture(window.get()));
    CHECK(Colour.Phase == 20);
    CHECK(CaptureDC(target, SURFACE_WIDTH, SURFACE_HEIGHT).CommonestInk() == PLAIN_TEXT_COLOUR);

    Colour.Cycling = true;
    WarmUpGdi();
    int gdi = CountGdiObjects();
    double expected = 20;
    for (int i = 0; i < 12; ++i) {
        expected = expected + 10 > 80 ? 0 : expected + 10;
        PaintPanel(target, NextPicture(window.get()));
        CAPTURE(i);
        CHECK(Colour.Phase == expected);
        CHECK(CaptureDC(target, SURFACE_WIDTH, SURFACE_HEIGHT).CommonestInk() == RainbowColour(expected));
    }
    CHECK(CountGdiObjects() == gdi);
    Colour.Cycling = false;

    SelectObject(target, old);
    DeleteObject(bitmap);
    DeleteDC(target);
    ReleaseSurface();
}
