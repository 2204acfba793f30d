/* What the real panel draws, read back from its window: where the text
 * starts, its colours, what the paint leaves alone, and the GDI objects it
 * makes (none per paint). */
#include "doctest.h"
#include "ObjectCount.h"
#include "PanelHarness.h"
#include "Picture.h"
#include "TestSupport.h"

namespace {

const uint32_t WHITE = 0xFFFFFF, GREY = 0x808080;
const char BLOCKS[] = "\x81\xa1\x81\xa1\x81\xa1\x81\xa1"; // ■■■■ in cp932

// The nine colours the text runs through while cycling, in order.
const uint32_t Rainbow[9] = {0xFF0000, 0xFF7F00, 0xFFFF00, 0x55FF00, 0x00FF55,
                             0x00FFFF, 0x00AAFF, 0x0055FF, 0x0000FF}; // phases 0..80 as 0xBBGGRR

// A live panel of the real plug-in whose normal frame is the given text.
struct LivePanel {
    TempDir dir;
    PanelHarness host;
    ParentWindow parent{420, 360};
    HWND panel = nullptr;

    explicit LivePanel(const std::string &normalFrame)
    {
        REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", "$Normal\r\n" + normalFrame + "\r\n$End\r\n"));
        host.SetSettingsFolder(dir.Ansi());
        panel = host.Create(parent.get());
        REQUIRE(panel);
    }
    void Repaint() { InvalidateRect(panel, nullptr, FALSE); }
};

int IndexOf(uint32_t colour)
{
    for (int i = 0; i < 9; ++i)
        if (Rainbow[i] == colour)
            return i;
    return -1;
}

} // namespace

TEST_CASE("grey text from the 8-pixel inset on white")
{
    LivePanel p(std::string(BLOCKS) + "\r\n" + BLOCKS);
    Picture shot = CaptureWindow(p.panel);
    REQUIRE(shot.Width == 200);
    RECT ink = shot.InkBox();
    CHECK(ink.left >= 8);
    CHECK(ink.left <= 10);
    CHECK(ink.top >= 8);
    CHECK(ink.top <= 12);
    CHECK(shot.CommonestInk() == GREY);
    for (uint32_t pixel : shot.Pixels) { // only grey, white and shades between
        uint32_t r = pixel & 0xFF, g = (pixel >> 8) & 0xFF, b = pixel >> 16;
        REQUIRE(r == g);
        REQUIRE(g == b);
        REQUIRE(r >= 0x80);
    }
}

TEST_CASE("a larger panel gets only the surface's 320 x 240 pixels from a paint")
{
    LivePanel p(BLOCKS);
    SetWindowPos(p.panel, nullptr, 0, 0, 400, 300, SWP_NOZORDER | SWP_NOMOVE);
    UpdateWindow(p.panel);
    // Mark the window outside the surface and inside it, then paint without erasing.
    HDC dc = GetDC(p.panel);
    HBRUSH red = CreateSolidBrush(RGB(255, 0, 0));
    RECT outside = {330, 250, 390, 290}, inside = {200, 150, 220, 170};
    FillRect(dc, &outside, red);
    FillRect(dc, &inside, red);
    DeleteObject(red);
    ReleaseDC(p.panel, dc);
    p.Repaint();
    Picture shot = CaptureWindow(p.panel);
    CHECK(shot.At(350, 270) == 0x0000FF); // untouched by the paint
    CHECK(shot.At(210, 160) == WHITE);    // covered by the surface
    CHECK(shot.At(319, 239) == WHITE);
}

TEST_CASE("colour cycling follows the rainbow one phase per paint and ends grey")
{
    LivePanel p(std::string(BLOCKS) + "\r\n" + BLOCKS);
    SendMessageW(p.panel, WM_MBUTTONDOWN, 0, MAKELPARAM(20, 20));
    CHECK(GetFocus() == p.panel);
    CHECK(KillTimer(p.panel, 10005)); // the colour timer runs...
    SetTimer(p.panel, 10005, 200, nullptr);

    std::vector<int> phases;
    for (int i = 0; i < 11; ++i) {
        p.Repaint();
        phases.push_back(IndexOf(CaptureWindow(p.panel).CommonestInk()));
    }
    for (size_t i = 0; i < phases.size(); ++i) {
        CAPTURE(i);
        REQUIRE(phases[i] >= 0);
        if (i)
            CHECK(phases[i] == (phases[i - 1] + 1) % 9);
    }
    // The timer itself repaints.
    int before = phases.back();
    CHECK(PumpUntil([&] { return IndexOf(CaptureWindow(p.panel).CommonestInk()) != before; }, 3000));

    SendMessageW(p.panel, WM_MBUTTONDOWN, 0, MAKELPARAM(20, 20));
    CHECK_FALSE(KillTimer(p.panel, 10005)); // ...and is gone again
    CHECK(CaptureWindow(p.panel).CommonestInk() == GREY);
}

TEST_CASE("an ampersand is a mnemonic prefix, two draw one")
{
    Picture plain, prefixed, doubled, literal;
    { LivePanel p("\x81\xa1"); plain = CaptureWindow(p.panel); }
    { LivePanel p("&\x81\xa1"); prefixed = CaptureWindow(p.panel); }
    { LivePanel p("&&"); doubled = CaptureWindow(p.panel); }
    { LivePanel p("&"); literal = CaptureWindow(p.panel); }
    // "&■" draws the square just where "■" alone stands, and underlines it.
    RECT square = plain.InkBox();
    int differing = 0;
    for (int y = 0; y < square.bottom; ++y)
        for (int x = 0; x < plain.Width; ++x)
            differing += prefixed.At(x, y) != plain.At(x, y);
    CHECK(differing == 0);
    CHECK(prefixed.InkBox().bottom > square.bottom);
    // "&&" draws one ampersand; a lone "&" draws nothing.
    CHECK(doubled.InkBox().right > doubled.InkBox().left);
    CHECK(literal.InkBox().right == 0);
}

TEST_CASE("painting makes no GDI objects and a size change replaces the font")
{
    LivePanel p(BLOCKS);
    WarmUpGdi();
    CaptureWindow(p.panel);
    int baseline = CountGdiObjects();
    int widthBefore = 0;
    for (int i = 0; i < 50; ++i) {
        p.Repaint();
        UpdateWindow(p.panel);
    }
    CHECK(CountGdiObjects() == baseline);
    widthBefore = CaptureWindow(p.panel).InkBox().right;

    SendMessageW(p.panel, WM_COMMAND, 20007, 0); // large
    CHECK(CountGdiObjects() == baseline);
    int large = CaptureWindow(p.panel).InkBox().right;
    SendMessageW(p.panel, WM_COMMAND, 20005, 0); // small
    CHECK(CountGdiObjects() == baseline);
    int small = CaptureWindow(p.panel).InkBox().right;
    SendMessageW(p.panel, WM_COMMAND, 20006, 0); // medium
    CHECK(CountGdiObjects() == baseline);
    CHECK(small < widthBefore);
    CHECK(widthBefore < large);
    CHECK(CaptureWindow(p.panel).InkBox().right == widthBefore);
}

TEST_CASE("200 panels leave GDI objects and windows where they started")
{
    TempDir dir;
    PanelHarness host;
    host.SetSettingsFolder(dir.Ansi());
    ParentWindow parent;
    WarmUpGdi();
    host.Create(parent.get());
    CaptureWindow(host.Panel());
    host.Destroy();
    int gdi = CountGdiObjects(), windows = CountThreadWindows();
    for (int i = 0; i < 200; ++i) {
        HWND panel = host.Create(parent.get());
        REQUIRE(panel);
        if (i % 20 == 0) {
            SendMessageW(panel, WM_MBUTTONDOWN, 0, 0);
            SendMessageW(panel, WM_COMMAND, 20005 + i % 3, 0);
            CaptureWindow(panel);
        }
        host.Destroy();
    }
    CHECK(CountGdiObjects() == gdi);
    CHECK(CountThreadWindows() == windows);
}

TEST_CASE("the window class names the procedure of the module loaded now")
{
    TempDir dir;
    std::wstring copy = dir / L"SecondCopy.wpn";
    REQUIRE(CopyFileW((ProgramFolder() + L"TuftlingPanel.wpn").c_str(), copy.c_str(), FALSE));
    ParentWindow parent;
    for (const std::wstring &file : {ProgramFolder() + L"TuftlingPanel.wpn", copy,
                                     ProgramFolder() + L"TuftlingPanel.wpn"}) {
        CAPTURE(Narrow(file));
        PanelHarness host(file);
        REQUIRE(host.Error().Step == LoadStep::None);
        host.SetSettingsFolder(dir.Ansi());
        HWND panel = host.Create(parent.get());
        REQUIRE(panel);
        MEMORY_BASIC_INFORMATION where;
        void *proc = (void *)GetClassLongPtrA(panel, GCLP_WNDPROC);
        REQUIRE(VirtualQuery(proc, &where, sizeof where));
        CHECK(where.AllocationBase == (void *)host.Plugin().Module);
        CHECK(CaptureWindow(panel).CommonestInk() == GREY); // and it paints
        host.Destroy();
        WNDCLASSA wc;
        CHECK_FALSE(GetClassInfoA(host.Plugin().Module, "Wendrake Plugin - TuftlingPanel", &wc));
    }
}

TEST_CASE("pictures of the panel for the documentation")
{
    // Written beside the build's programs; ./dev test turns them into PNGs.
    std::wstring folder = ProgramFolder() + L"..\\pictures\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    TempDir dir;
    PanelHarness host;
    host.SetSettingsFolder(dir.Ansi());
    ParentWindow parent;
    HWND panel = host.Create(parent.get());
    REQUIRE(panel);
    SetWindowPos(panel, nullptr, 0, 0, 320, 240, SWP_NOZORDER | SWP_NOMOVE);
    Picture standing = CaptureWindow(panel);
    CHECK(standing.CommonestInk() == GREY);
    CHECK(SaveBitmap(standing, folder + L"panel-normal.bmp"));

    SendMessageW(panel, WM_LBUTTONDOWN, 0, 0);  // dance
    SendMessageW(panel, WM_MBUTTONDOWN, 0, 0);  // rainbow
    for (int i = 0; i < 4; ++i) {
        InvalidateRect(panel, nullptr, FALSE);
        UpdateWindow(panel);
    }
    Picture dancing = CaptureWindow(panel);
    CHECK(IndexOf(dancing.CommonestInk()) >= 0);
    CHECK(SaveBitmap(dancing, folder + L"panel-dance-rainbow.bmp"));
    host.Destroy();
}
