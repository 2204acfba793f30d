/* The frames as a host and a user meet them, through the real plug-in
 * TuftlingPanel.wpn: the art file in the settings folder is the picture on
 * show, read back with the copy command from the clipboard, frame by frame as
 * the mascot hides and dances. Timers are set far off in the settings file so
 * that only the WM_TIMER messages sent here move the animation. */
#include "doctest.h"
#include "PanelHarness.h"
#include "TestSupport.h"

#include "BuiltinArt.h"

#include <string.h>

namespace {

enum : UINT { IDM_COPY = 20004 };
enum : WPARAM { TIMER_DANCE = 10002, TIMER_HIDE = 10004 };

const char QuietTimers[] = "[Tuftling]\r\nDanceTimer=600000\r\nHideTimer=600000\r\n";

// Retries the clipboard, which the whole desktop shares, until a deadline.
bool OpenClipboardSoon()
{
    return PumpUntil([] { return OpenClipboard(nullptr) != 0; }, 3000);
}

void PutClipboardText(const std::string &text)
{
    REQUIRE(OpenClipboardSoon());
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

std::string ClipboardText()
{
    std::string text;
    REQUIRE(OpenClipboardSoon());
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = (const char *)GlobalLock(data);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// A panel of the real plug-in over a settings folder of its own.
struct LivePanel {
    TempDir dir;
    PanelHarness host;
    ParentWindow parent;
    HWND panel = nullptr;

    LivePanel()
    {
        REQUIRE(host.Error().Step == LoadStep::None);
        REQUIRE(WriteFileBytes(dir / L"TuftlingPanel.ini", QuietTimers));
        host.SetSettingsFolder(dir.Ansi());
    }
    void WriteArt(const std::string &art) { REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", art)); }
    void Create()
    {
        panel = host.Create(parent.get());
        REQUIRE(panel);
    }
    void Destroy() { host.Destroy(); }

    // The frame on show, as the copy command puts it on the clipboard.
    std::string Shown()
    {
        PutClipboardText("(nothing copied)");
        SendMessageW(panel, WM_COMMAND, IDM_COPY, 0);
        return ClipboardText();
    }
    void Click() { SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50)); }
    void Tick(WPARAM timer) { SendMessageW(panel, WM_TIMER, timer, 0); }
};

const char Art[] = "Tuftling, three dance steps\r\n"
                   "$Normal\r\n \x83^\x83t (\xc0\xcc)\r\nstands\r\n"
                   "$Hide\r\n|\r\n"
                   "$Dance\r\nstep 1\r\n"
                   "$End\r\nnot shown\r\n"
                   "$Dance\r\nstep 2\r\n"
                   "$Dance\r\nstep 3";

} // namespace

TEST_CASE("the art file in the settings folder is the picture on show")
{
    LivePanel p;
    p.WriteArt(Art);
    p.Create();
    const std::string normal = " \x83^\x83t (\xc0\xcc)\nstands\n";
    CHECK(p.Shown() == normal);

    p.Tick(TIMER_HIDE); // the quiet time is over: the hide frame
    CHECK(p.Shown() == "|\n");
    p.Click(); // back out
    CHECK(p.Shown() == normal);

    p.Click(); // a dance through the three dance frames, in file order
    CHECK(p.Shown() == "step 1\n");
    p.Tick(TIMER_DANCE);
    CHECK(p.Shown() == "step 2\n");
    p.Tick(TIMER_DANCE);
    CHECK(p.Shown() == "step 3\n");
    p.Tick(TIMER_DANCE);
    CHECK(p.Shown() == normal);
}

TEST_CASE("without an art file the built-in frames are on show")
{
    LivePanel p;
    p.Create();
    CHECK(p.Shown() == BuiltinFrames[0]);
    p.Tick(TIMER_HIDE);
    CHECK(p.Shown() == BuiltinFrames[1]);
    p.Click();
    p.Click();
    CHECK(p.Shown() == BuiltinFrames[2]);
    p.Tick(TIMER_DANCE);
    CHECK(p.Shown() == BuiltinFrames[3]);
    p.Tick(TIMER_DANCE);
    CHECK(p.Shown() == BuiltinFrames[0]);
}

TEST_CASE("an art file without dance frames: a click does not dance")
{
    LivePanel p;
    p.WriteArt("$Normal\r\nstill\r\n$Hide\r\n|\r\n");
    p.Create();
    p.Click();
    CHECK(p.Shown() == "still\n");
    p.Tick(TIMER_DANCE);
    CHECK(p.Shown() == "still\n");
}

TEST_CASE("every new panel reads the art file again")
{
    LivePanel p;
    p.WriteArt("$Normal\r\nfirst\r\n");
    p.Create();
    CHECK(p.Shown() == "first\n");
    p.Destroy();

    p.WriteArt("$Normal\r\nsecond\r\n$Dance\r\ndance\r\n");
    p.Create();
    CHECK(p.Shown() == "second\n");
    p.Click();
    CHECK(p.Shown() == "dance\n");
    p.Destroy();

    REQUIRE(DeleteFileW((p.dir / L"TuftlingAA.txt").c_str()));
    p.Create();
    CHECK(p.Shown() == BuiltinFrames[0]);
    p.Destroy();
}
