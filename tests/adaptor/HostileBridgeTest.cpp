/* Hostile plug-in files through PanelBridge and through wpnhost: files that
 * are no plug-in at all (empty, truncated, built for x86-64), and plug-ins
 * with the right exports that answer with odd values. The adaptor shows its
 * help window or hosts the plug-in as documented, never crashes, and leaves
 * no window, GDI object, module, host reference or host memory block behind;
 * wpnhost names the reason in one line and exits with 2. */
#include "AdaptorHarness.h"
#include "ObjectCount.h"
#include "doctest.h"

#include <string>
#include <vector>

namespace {

// "WpnAdaptor プラグインの使い方"
const wchar_t HelpText[] = L"WpnAdaptor \u30D7\u30E9\u30B0\u30A4\u30F3\u306E\u4F7F\u3044\u65B9";
const DWORD GenerousDeadline = 5000;
const DWORD QuietSpell = 1500; // longer than one tick interval

std::string ProgramFile(const wchar_t *name)
{
    std::string bytes;
    REQUIRE_MESSAGE(ReadFileBytes(ProgramFolder() + name, bytes), Narrow(name));
    return bytes;
}

struct HostRun {
    DWORD ExitCode = 0;
    std::string Output;
};

/* wpnhost.exe as its own process, stdout and stderr collected. */
HostRun RunWpnHost(const std::wstring &arguments)
{
    ChildProcess host(ProgramFolder() + L"wpnhost.exe", arguments);
    REQUIRE(host.Started());
    host.Finish();
    return HostRun{host.ExitCode, host.Output};
}

/* The newer host's steps up to CreatePanel, with the plug-in file's bytes. */
struct BridgeRun {
    Deployment Deploy;
    AdaptorRefs Refs;
    HWND Panel = nullptr;
    BridgeRun(const std::wstring &file, const std::string &pluginBytes, HWND parent)
        : Deploy(file, L""), Refs(Deploy)
    {
        REQUIRE(WriteFileBytes(Deploy.PluginPath(), pluginBytes));
        REQUIRE(FileExists(Deploy.PluginPath()));
        REQUIRE(Refs.Plugin->Initialize());
        Panel = Refs.Panel->CreatePanel(parent);
    }
};

} // namespace

TEST_CASE("files that are no usable plug-in give the help window, and wpnhost names the reason")
{
    std::string panel = ProgramFile(L"TuftlingPanel.wpn");
    struct Case {
        const char *What;
        std::string Bytes;
        const char *HostReason; // what wpnhost says
        LONG InfoCalls, InitCalls;
    };
    std::vector<Case> cases = {
        {"an empty file", "", "not a loadable 32-bit DLL", 0, 0},
        {"the first half of TuftlingPanel.wpn", panel.substr(0, panel.size() / 2), "not a loadable 32-bit DLL", 0,
         0},
        {"WPN_Initialize answers 0xDEADBEEF", ProgramFile(L"FakeInitGarbage.wpn"), "WPN_Initialize returned -559038737, must be 0",
         1, 1},
    };
#if TUFT_HAVE_FAKE64
    cases.push_back({"a sound plug-in built for x86-64", ProgramFile(L"Fake64.wpn"), "not a loadable 32-bit DLL", 0, 0});
#else
    MESSAGE("no x86-64 compiler at build time: the 64-bit plug-in case is left out");
#endif

    ParentWindow parent;
    WarmUpGdi();
    // The help window's font and the edit control's first-use objects.
    HWND warmUp = CreateWindowExW(0, L"EDIT", HelpText, 0x50001044, 0, 0, 1, 1, parent.get(), nullptr, nullptr, nullptr);
    SendMessageW(warmUp, WM_SETFONT, (WPARAM)OstrelTestFont(), 0);
    DestroyWindow(warmUp);
    int windowsBefore = CountThreadWindows();
    int gdiBefore = CountGdiObjects();
    for (const Case &c : cases) {
        INFO(c.What);
        FakeLogView log;
        {
            BridgeRun run(L"Hostile.dll", c.Bytes, parent.get());
            REQUIRE(run.Panel);
            CHECK(lstrcmpiW(ClassOf(run.Panel).c_str(), L"Edit") == 0);
            CHECK(TextOf(run.Panel) == HelpText);
            CHECK(GetParent(run.Panel) == parent.get());
            CHECK_FALSE(run.Deploy.PluginLoaded());
            CHECK(log->InfoCalls == c.InfoCalls);
            CHECK(log->InitCalls == c.InitCalls);
            CHECK(log->CreateCalls == 0);
            CHECK_FALSE(run.Refs.Panel->Filter(1));
            CHECK(run.Refs.Panel->DestroyPanel());
            CHECK_FALSE(IsWindow(run.Panel));
            CHECK(log->DestroyCalls == 0);
            CHECK(log->TickCalls == 0);
        }
        CHECK(CountThreadWindows() == windowsBefore);
        CHECK(CountGdiObjects() == gdiBefore);
        CHECK_NOTHING_OUT();

        TempDir dir;
        REQUIRE(WriteFileBytes(dir / L"Hostile.wpn", c.Bytes));
        HostRun host = RunWpnHost(L"--close-after 1000 \"" + (dir / L"Hostile.wpn") + L"\"");
        CAPTURE(host.Output);
        CHECK(host.ExitCode == 2);
        CHECK(host.Output.find(c.HostReason) != std::string::npos);
        CHECK(host.Output.find("Hostile.wpn") != std::string::npos);
    }
}

TEST_CASE("an info result of 0xFFFFFF01 has 1 in its low byte: the plug-in is hosted like any other")
{
    FakeLogView log;
    ParentWindow parent;
    int windowsBefore = CountThreadWindows();
    {
        BridgeRun run(L"HighBits.dll", ProgramFile(L"FakeInfoHighBits.wpn"), parent.get());
        REQUIRE(run.Panel);
        CHECK(run.Panel == log->Panel);
        CHECK(GetParent(run.Panel) == parent.get());
        CHECK(log->InfoCalls == 1);
        CHECK(log->InitCalls == 1);
        CHECK(log->CreateCalls == 1);
        CHECK(run.Deploy.PluginLoaded());
        CHECK(PumpUntil([&] { return log->TickCalls >= 1; }, GenerousDeadline));
        CHECK(log->TickWindow == run.Panel);
        CHECK(run.Refs.Panel->DestroyPanel());
        CHECK(log->DestroyCalls == 1);
        CHECK_FALSE(IsWindow(run.Panel));
        CHECK_FALSE(run.Deploy.PluginLoaded());
    }
    CHECK(CountThreadWindows() == windowsBefore);
    CHECK_NOTHING_OUT();

    TempDir dir;
    HostRun host = RunWpnHost(L"--settings \"" + dir.Path().substr(0, dir.Path().size() - 1) +
                              L"\" --close-after 1500 \"" + ProgramFolder() + L"FakeInfoHighBits.wpn\"");
    CAPTURE(host.Output);
    CHECK(host.ExitCode == 0);
    CHECK(host.Output.empty());
}

TEST_CASE("a panel handle that is no child of the parent is passed through, ticked if it can be, and let go")
{
    struct Case {
        const char *Mode;  // TUFT_FAKE_STRAY
        bool Ticks;        // a timer can run on the handle
    };
    const Case cases[] = {
        {"random", false}, // no window at all: SetTimer fails, nothing ticks
        {"parent", true},  // the host's own window
        {"popup", true},   // a top-level window of the plug-in's
    };
    ParentWindow parent;
    for (const Case &c : cases) {
        INFO(c.Mode);
        SetEnvironmentVariableA("TUFT_FAKE_STRAY", c.Mode);
        FakeLogView log;
        int windowsBefore = CountThreadWindows();
        {
            BridgeRun run(L"Stray.dll", ProgramFile(L"FakeStrayWindow.wpn"), parent.get());
            REQUIRE(log->CreateCalls == 1);
            // The adaptor hands on whatever the plug-in made.
            CHECK(run.Panel == log->Panel);
            CHECK(run.Panel != nullptr);
            CHECK(IsWindow(run.Panel) == (c.Ticks ? TRUE : FALSE));
            bool wasVisible = IsWindowVisible(run.Panel) != FALSE;
            CHECK((run.Refs.Panel->ShowPanel(true) != FALSE) == wasVisible);
            CHECK_FALSE(run.Refs.Panel->Filter(1));
            if (c.Ticks) {
                CHECK(PumpUntil([&] { return log->TickCalls >= 1; }, GenerousDeadline));
                CHECK(log->TickWindow == run.Panel);
            } else {
                PumpFor(QuietSpell);
                CHECK(log->TickCalls == 0);
            }
            CHECK(run.Refs.Panel->DestroyPanel());
            CHECK(log->DestroyCalls == 1);
            CHECK(log->DestroyWindowArg == run.Panel);
            CHECK_FALSE(run.Deploy.PluginLoaded());
            // No timer is left on a window that outlives the plug-in.
            LONG ticks = log->TickCalls;
            PumpFor(QuietSpell);
            CHECK(log->TickCalls == ticks);
            CHECK(IsWindow(parent.get()));
            CHECK(run.Refs.Panel->DestroyPanel());
            CHECK(log->DestroyCalls == 1);
        }
        CHECK(CountThreadWindows() == windowsBefore);
        CHECK_NOTHING_OUT();

        HostRun host = RunWpnHost(L"--close-after 1500 \"" + ProgramFolder() + L"FakeStrayWindow.wpn\"");
        CAPTURE(host.Output);
        CHECK(host.ExitCode == 0);
    }
    SetEnvironmentVariableA("TUFT_FAKE_STRAY", nullptr);
}
