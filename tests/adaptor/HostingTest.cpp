/* The adaptor hosting panel plug-ins: finding and loading the plug-in named
 * after itself, its panel window, the tick timer, Filter and ShowPanel, the
 * help window for every kind of unusable plug-in, and DestroyPanel. Fake
 * plug-ins record each call; the real TuftlingPanel closes the loop. */
#include "AdaptorHarness.h"
#include "ModalProbe.h"
#include "ObjectCount.h"
#include "doctest.h"

#include <algorithm>

namespace {

// "WpnAdaptor プラグインの使い方"
const wchar_t HelpText[] = L"WpnAdaptor \u30D7\u30E9\u30B0\u30A4\u30F3\u306E\u4F7F\u3044\u65B9";
const DWORD HelpStyle = 0x50001044;
const DWORD GenerousDeadline = 5000;

} // namespace

TEST_CASE("a well-behaved plug-in gets its records, its window, ticks and filtered values")
{
    FakeLogView log;
    ParentWindow parent;
    int windowsBefore = CountThreadWindows();
    {
        Hosted hosted(L"Good.dll", L"FakeGood.wpn", parent.get());
        REQUIRE(hosted.Panel);
        CHECK(hosted.Panel == log->Panel);
        CHECK(GetParent(hosted.Panel) == parent.get());
        CHECK(log->InfoCalls == 1);
        CHECK(log->InitCalls == 1);
        CHECK(log->CreateCalls == 1);
        CHECK(log->CreateParent == parent.get());
        CHECK(log->CallbacksSizeSeen == 144);
        CHECK(log->HostSizeSeen == 148);
        CHECK(log->HostReservedNonZero == 0);
        // The two records sit back to back inside the instance.
        CHECK(log->CallbacksAddress == log->CreateHost + 148);

        SUBCASE("ticks reach the plug-in with the host record and its window")
        {
            CHECK(PumpUntil([&] { return log->TickCalls >= 1; }, GenerousDeadline));
            CHECK(log->TickHost == log->CreateHost);
            CHECK(log->TickWindow == hosted.Panel);
        }
        SUBCASE("Filter passes values through and reports what the plug-in consumed")
        {
            CHECK(hosted.Refs.Panel->Filter(FAKE_FILTER_CONSUMED));
            CHECK(log->LastFilterValue == FAKE_FILTER_CONSUMED);
            CHECK_FALSE(hosted.Refs.Panel->Filter(7));
            CHECK(log->LastFilterValue == 7);
            CHECK(log->FilterCalls == 2);
        }
        SUBCASE("ShowPanel hides and shows the plug-in's window")
        {
            CHECK(hosted.Refs.Panel->ShowPanel(false) != FALSE); // it was visible
            CHECK_FALSE(IsWindowVisible(hosted.Panel));
            CHECK(hosted.Refs.Panel->ShowPanel(true) == FALSE);
            CHECK(IsWindowVisible(hosted.Panel));
        }

        CHECK(hosted.Refs.Panel->DestroyPanel());
        CHECK(log->DestroyCalls == 1);
        CHECK(log->DestroyHost == log->CreateHost);
        CHECK(log->DestroyWindowArg == hosted.Panel);
        CHECK_FALSE(IsWindow(hosted.Panel));
        CHECK_FALSE(hosted.Deploy.PluginLoaded());
        // A second DestroyPanel finds nothing left to destroy.
        CHECK(hosted.Refs.Panel->DestroyPanel());
        CHECK(log->DestroyCalls == 1);
        CHECK_FALSE(hosted.Refs.Panel->Filter(FAKE_FILTER_CONSUMED));
        CHECK(log->FilterCalls <= 2);
        LONG ticks = log->TickCalls;
        PumpFor(1500);
        CHECK(log->TickCalls == ticks);
    }
    CHECK(CountThreadWindows() == windowsBefore);
    CHECK_NOTHING_OUT();
}

TEST_CASE("an unusable plug-in gives the help window and is never called")
{
    struct Case {
        const char *What;
        const wchar_t *Plugin;
        std::string Bytes;
        LONG InfoCalls, InitCalls;
    };
    const Case cases[] = {
        {"no plug-in file", L"", "", 0, 0},
        {"not a DLL", L"", "MZ but not a DLL at all\r\n", 0, 0},
        {"info 0x0100", L"FakeBadInfo.wpn", "", 1, 0},
        {"WPN_Initialize returns 1", L"FakeInitFails.wpn", "", 1, 1},
        {"no WPN_Initialize", L"FakeNoInit.wpn", "", 0, 0},
    };
    ParentWindow parent;
    int windowsBefore = CountThreadWindows();
    for (const Case &c : cases) {
        CAPTURE(c.What);
        FakeLogView log;
        {
            Hosted hosted(L"Helpless.dll", c.Plugin, parent.get(), c.Bytes);
            HWND help = hosted.Panel;
            REQUIRE(help);
            CHECK(log->InfoCalls == c.InfoCalls);
            CHECK(log->InitCalls == c.InitCalls);
            CHECK(log->CreateCalls == 0);
            CHECK_FALSE(hosted.Deploy.PluginLoaded());

            CHECK(lstrcmpiW(ClassOf(help).c_str(), L"Edit") == 0);
            CHECK(TextOf(help) == HelpText);
            CHECK((DWORD)GetWindowLongW(help, GWL_STYLE) == HelpStyle);
            CHECK(GetParent(help) == parent.get());
            RECT rect;
            GetWindowRect(help, &rect);
            CHECK(rect.right - rect.left == 1);
            CHECK(rect.bottom - rect.top == 1);
            CHECK((HFONT)SendMessageW(help, WM_GETFONT, 0, 0) == OstrelTestFont());

            CHECK_FALSE(hosted.Refs.Panel->Filter(FAKE_FILTER_CONSUMED));
            CHECK(hosted.Refs.Panel->ShowPanel(false) != FALSE);
            CHECK_FALSE(IsWindowVisible(help));
            CHECK(hosted.Refs.Panel->ShowPanel(true) == FALSE);
            CHECK(IsWindowVisible(help));

            CHECK(hosted.Refs.Panel->DestroyPanel());
            CHECK_FALSE(IsWindow(help));
            CHECK(hosted.Refs.Panel->DestroyPanel());
            CHECK(log->CreateCalls == 0);
            CHECK(log->DestroyCalls == 0);
            CHECK(log->TickCalls == 0);
        }
        CHECK(CountThreadWindows() == windowsBefore);
        CHECK_NOTHING_OUT();
    }
}

TEST_CASE("the plug-in path is host folder kind 2, wpn, the title and .wpn")
{
    FakeLogView log;
    ParentWindow parent;
    SUBCASE("a plug-in under another title is not this adaptor's")
    {
        Deployment deployment(L"Mine.dll", L"");
        REQUIRE(CopyFileW((ProgramFolder() + L"FakeGood.wpn").c_str(),
                          (deployment.Home() / L"panel\\wpn\\Other.wpn").c_str(), FALSE));
        AdaptorRefs refs(deployment);
        refs.Plugin->Initialize();
        HWND panel = refs.Panel->CreatePanel(parent.get());
        CHECK(lstrcmpiW(ClassOf(panel).c_str(), L"Edit") == 0);
        CHECK(log->InfoCalls == 0);
        refs.Panel->DestroyPanel();
    }
    SUBCASE("folder kind 2 is where the host says, taken as it is")
    {
        Deployment deployment(L"Moved.dll", L"");
        std::wstring folder = deployment.Home() / L"elsewhere\\";
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"wpn").c_str(), nullptr);
        REQUIRE(CopyFileW((ProgramFolder() + L"FakeGood.wpn").c_str(), (folder + L"wpn\\Moved.wpn").c_str(), FALSE));
        OstrelTestSetFolder(2, folder.c_str());
        AdaptorRefs refs(deployment);
        refs.Plugin->Initialize();
        HWND panel = refs.Panel->CreatePanel(parent.get());
        CHECK(panel == log->Panel);
        CHECK(log->CreateCalls == 1);
        refs.Panel->DestroyPanel();
        CHECK(log->DestroyCalls == 1);
    }
    CHECK_NOTHING_OUT();
}

TEST_CASE("kind-2 folders: absolute as given, relative under the host program's folder, never the current one")
{
    FakeLogView log;
    ParentWindow parent;
    Deployment deployment(L"Shaped.dll", L"FakeGood.wpn");
    const std::wstring home = deployment.Home().Path(), rooted = home.substr(2) + L"panel\\",
                       driveOnly = home.substr(0, 2) + L"panel\\", absolute = home + L"panel\\";
    std::wstring slashed = absolute;
    std::replace(slashed.begin(), slashed.end(), L'\\', L'/');
    // A relative folder with a plug-in both under the program's folder and under the current one.
    const std::wstring relative = L"kind2-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    const std::wstring underProgram = ProgramFolder() + relative, underCurrent = home + relative;
    for (const std::wstring &folder : {underProgram, underCurrent}) {
        CreateDirectoryW(folder.c_str(), nullptr);
        CreateDirectoryW((folder + L"wpn").c_str(), nullptr);
        REQUIRE(CopyFileW(deployment.PluginPath().c_str(), (folder + L"wpn\\Shaped.wpn").c_str(), FALSE));
    }
    struct Shape {
        const char *What;
        const wchar_t *Folder;
        std::wstring Hosts; // the plug-in file loaded, or none: the help window
    };
    const Shape shapes[] = {
        {"no text", nullptr, L""}, {"empty", L"", L""}, {"rooted, no drive", rooted.c_str(), L""},
        {"drive, no root", driveOnly.c_str(), L""}, {"relative", relative.c_str(), underProgram + L"wpn\\Shaped.wpn"},
        {"absolute", absolute.c_str(), deployment.PluginPath()},
        {"absolute, forward slashes", slashed.c_str(), deployment.PluginPath()},
    };
    CurrentFolder here(home); // from where every relative shape would find a plug-in
    OstrelTestSetObjectAnswersFalse(TRUE); // the font source is handed out all the same
    for (const Shape &shape : shapes) {
        INFO(shape.What);
        memset(&*log, 0, sizeof *log);
        OstrelTestSetFolder(2, shape.Folder);
        AdaptorRefs refs(deployment);
        refs.Plugin->Initialize();
        HWND panel = refs.Panel->CreatePanel(parent.get());
        CHECK(log->InfoCalls == (shape.Hosts.empty() ? 0 : 1));
        if (!shape.Hosts.empty())
            CHECK(GetModuleHandleW(shape.Hosts.c_str()) != nullptr);
        else
            CHECK((HFONT)SendMessageW(panel, WM_GETFONT, 0, 0) == OstrelTestFont());
        CHECK(GetModuleHandleW((underCurrent + L"wpn\\Shaped.wpn").c_str()) == nullptr);
        refs.Panel->DestroyPanel();
    }
    DeleteFileW((underProgram + L"wpn\\Shaped.wpn").c_str());
    RemoveDirectoryW((underProgram + L"wpn").c_str());
    RemoveDirectoryW(underProgram.c_str());
    CHECK_NOTHING_OUT();
}

TEST_CASE("a plug-in without a window gets no ticks and is still destroyed and unloaded")
{
    FakeLogView log;
    ParentWindow parent;
    Hosted hosted(L"Empty.dll", L"FakeNullPanel.wpn", parent.get());
    CHECK(hosted.Panel == nullptr);
    CHECK(log->CreateCalls == 1);
    CHECK(hosted.Deploy.PluginLoaded());
    CHECK_FALSE(hosted.Refs.Panel->Filter(FAKE_FILTER_CONSUMED)); // it left PanelFilter zero
    PumpFor(2500);
    CHECK(log->TickCalls == 0);
    CHECK(hosted.Refs.Panel->DestroyPanel());
    CHECK(log->DestroyCalls == 1);
    CHECK(log->DestroyWindowArg == nullptr);
    CHECK_FALSE(hosted.Deploy.PluginLoaded());
    CHECK(hosted.Refs.Panel->DestroyPanel());
    CHECK(log->DestroyCalls == 1);
    CHECK_NOTHING_OUT();
}

TEST_CASE("a tick while the plug-in is still inside its last one is skipped; ticks come once a second")
{
    FakeLogView log;
    ParentWindow parent;
    Hosted hosted(L"Modal.dll", L"FakeModalTick.wpn", parent.get());
    REQUIRE(hosted.Panel);
    OstrelTestSetMessageBoxAnswer(0); // a real box, with a modal loop of its own
    DWORD shown = 0;
    LONG ticksWhileShown = 0;
    ModalProbe closer([&] {
        HWND box = FindThreadWindow("#32770");
        if (box && !shown)
            shown = GetTickCount();
        if (!box || GetTickCount() - shown < 3500)
            return false;
        ticksWhileShown = log->TickCalls;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    REQUIRE(PumpUntil([&] { return closer.Finished() && log->TickDepth == 0; }, 15000));
    CHECK(ticksWhileShown == 1);
    CHECK(log->MaxTickDepth == 1);
    LONG ticks = log->TickCalls;
    PumpFor(3500);
    CHECK(log->TickCalls - ticks >= 2);
    CHECK(log->TickCalls - ticks <= 4);
    CHECK(hosted.Refs.Panel->DestroyPanel());
    CHECK_NOTHING_OUT();
}

TEST_CASE("a panel destroyed and let go inside the plug-in's modal loop is unloaded once, when the loop returns")
{
    // The box opens from PanelTick, or from the window procedure on a message the host sends.
    for (bool fromTick : {true, false}) {
        CAPTURE(fromTick);
        FakeLogView log;
        ParentWindow parent;
        int windowsBefore = CountThreadWindows();
        Hosted hosted(L"Unloaded.dll", L"FakeModalTick.wpn", parent.get());
        REQUIRE(hosted.Panel);
        AdaptorRefs &refs = hosted.Refs;
        OstrelTestSetMessageBoxAnswer(0); // a real box, with a modal loop of its own
        ModalProbe host([&] {
            HWND box = FindThreadWindow("#32770");
            if (!box)
                return false;
            CHECK(refs.Panel->DestroyPanel());
            CHECK_FALSE(IsWindow(hosted.Panel));
            CHECK(hosted.Deploy.PluginLoaded()); // its code is still running
            refs.Base->Release();
            refs.Plugin->Release();
            CHECK(refs.Panel->Release() == 1); // the instance holds itself until the plug-in returns
            refs.Base = nullptr, refs.Plugin = nullptr, refs.Panel = nullptr;
            PostMessageW(box, WM_COMMAND, IDOK, 0);
            return true;
        });
        if (!fromTick)
            SendMessageW(hosted.Panel, WM_CONTEXTMENU, (WPARAM)hosted.Panel, -1);
        CHECK(PumpUntil([&] { return log->Unloads > 0; }, 15000));
        CHECK(log->BoxesReturned == 1);
        CHECK(log->DestroyCalls == 1);
        CHECK(log->Unloads == 1);
        CHECK_FALSE(hosted.Deploy.PluginLoaded());
        CHECK(CountThreadWindows() == windowsBefore);
        CHECK_NOTHING_OUT();
    }
}

TEST_CASE("TuftlingPanel destroyed inside its about box stays loaded until its next panel, then unloads")
{
    ParentWindow parent;
    Deployment deployment(L"TuftlingPanel.dll", L"TuftlingPanel.wpn");
    {
        AdaptorRefs refs(deployment);
        REQUIRE(refs.Plugin->Initialize());
        HWND panel = refs.Panel->CreatePanel(parent.get());
        REQUIRE(panel);
        ModalProbe host([&] {
            if (!FindThreadWindow("#32770"))
                return false;
            CHECK(refs.Panel->DestroyPanel()); // ends the box as well
            return true;
        });
        SendMessageW(panel, WM_COMMAND, 20001, 0); // the about box
        CHECK(host.Finished());
        CHECK(deployment.PluginLoaded()); // the box's loop keeps its reference past its return
    }
    {
        AdaptorRefs refs(deployment);
        REQUIRE(refs.Plugin->Initialize());
        CHECK(refs.Panel->CreatePanel(parent.get()));
        CHECK(refs.Panel->DestroyPanel());
    }
    CHECK_FALSE(deployment.PluginLoaded());
    CHECK_NOTHING_OUT();
}

TEST_CASE("an instance released without DestroyPanel leaves no timer ticking into it")
{
    FakeLogView log;
    ParentWindow parent;
    Deployment deployment(L"Careless.dll", L"FakeGood.wpn");
    {
        AdaptorRefs refs(deployment);
        refs.Plugin->Initialize();
        REQUIRE(refs.Panel->CreatePanel(parent.get()));
        REQUIRE(PumpUntil([&] { return log->TickCalls >= 1; }, GenerousDeadline));
    } // every reference released: the instance is gone, the plug-in still loaded
    LONG ticks = log->TickCalls;
    PumpFor(2500);
    CHECK(log->TickCalls == ticks);
    // Clean up what the careless host left behind.
    HWND panel = log->Panel;
    CHECK(IsWindow(panel));
    DestroyWindow(panel);
    HMODULE plugin = GetModuleHandleW(deployment.PluginPath().c_str());
    CHECK(plugin);
    if (plugin)
        FreeLibrary(plugin);
    CHECK_NOTHING_OUT();
}

TEST_CASE("a second CreatePanel replaces the first panel instead of orphaning it")
{
    FakeLogView log;
    ParentWindow parent;
    Hosted hosted(L"Twice.dll", L"FakeGood.wpn", parent.get());
    HWND first = hosted.Panel;
    REQUIRE(first);
    HWND second = hosted.Refs.Panel->CreatePanel(parent.get());
    CHECK(log->DestroyCalls == 1);
    CHECK_FALSE(IsWindow(first));
    CHECK(log->CreateCalls == 2);
    CHECK(IsWindow(second));
    hosted.Refs.Panel->DestroyPanel();
    CHECK(log->DestroyCalls == 2);
    CHECK_FALSE(hosted.Deploy.PluginLoaded());
}

TEST_CASE("a CreatePanel after an unload put off by the plug-in's box loads, ticks and unloads its own module once")
{
    FakeLogView log;
    ParentWindow parent;
    Hosted hosted(L"Later.dll", L"FakeModalTick.wpn", parent.get());
    REQUIRE(hosted.Panel);
    OstrelTestSetMessageBoxAnswer(0);
    ModalProbe host([&] {
        HWND box = FindThreadWindow("#32770");
        if (!box)
            return false;
        hosted.Refs.Panel->DestroyPanel();
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    REQUIRE(PumpUntil([&] { return log->Unloads == 1; }, 15000));
    HWND second = hosted.Refs.Panel->CreatePanel(parent.get());
    REQUIRE(second);
    LONG ticks = log->TickCalls;
    CHECK(PumpUntil([&] { return log->TickCalls >= ticks + 2; }, GenerousDeadline));
    CHECK(hosted.Deploy.PluginLoaded());
    CHECK(log->Unloads == 1);
    CHECK(hosted.Refs.Panel->DestroyPanel());
    CHECK_FALSE(IsWindow(second));
    CHECK_FALSE(hosted.Deploy.PluginLoaded());
    CHECK(log->Unloads == 2);
    CHECK_NOTHING_OUT();
}

TEST_CASE("a window the plug-in leaves standing keeps nothing of the adaptor")
{
    FakeLogView log;
    ParentWindow parent;
    Hosted hosted(L"Standing.dll", L"FakeLeavesWindow.wpn", parent.get());
    REQUIRE(hosted.Panel);
    CHECK(GetPropW(hosted.Panel, L"PanelBridge.Hook") != nullptr); // hosted: the adaptor's hook stands
    CHECK(hosted.Refs.Panel->DestroyPanel());
    REQUIRE(IsWindow(hosted.Panel));
    CHECK(GetPropW(hosted.Panel, L"PanelBridge.Hook") == nullptr);
    HMODULE owner = nullptr;
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCWSTR)GetWindowLongPtrA(hosted.Panel, GWLP_WNDPROC), &owner);
    CHECK(owner != hosted.Deploy.Adaptor());
    CHECK_FALSE(hosted.Deploy.PluginLoaded()); // its procedure is the system's
    SendMessageW(hosted.Panel, WM_SETTEXT, 0, (LPARAM)L"still answers");
    DestroyWindow(hosted.Panel);
    CHECK_NOTHING_OUT();
}

TEST_CASE("TuftlingPanel hosted by the adaptor shows the mascot and keeps its settings")
{
    ParentWindow parent;
    WarmUpGdi();
    int gdiBefore = 0, windowsBefore = 0;
    // The first round warms the module's and the font's first-use objects;
    // the second must give back every object it makes.
    for (int round = 0; round < 2; ++round) {
        CAPTURE(round);
        if (round == 1) {
            gdiBefore = CountGdiObjects();
            windowsBefore = CountThreadWindows();
        }
        Hosted hosted(L"TuftlingPanel.dll", L"TuftlingPanel.wpn", parent.get());
        std::wstring settings = hosted.Deploy.SettingsFolder();
        REQUIRE(hosted.Panel);
        CHECK(Narrow(ClassOf(hosted.Panel)) == "Wendrake Plugin - TuftlingPanel");
        CHECK(GetParent(hosted.Panel) == parent.get());
        CHECK(hosted.Refs.Panel->ShowPanel(true) != FALSE);
        PumpFor(300);
        CHECK(hosted.Refs.Panel->DestroyPanel());
        CHECK_FALSE(IsWindow(hosted.Panel));
        CHECK_FALSE(hosted.Deploy.PluginLoaded());
        for (const char *key : {"Count", "Hide", "Always", "DanceTimer", "HideTimer", "Size"}) {
            CAPTURE(key);
            CHECK_FALSE(IniValue(settings + L"TuftlingPanel.ini", "Tuftling", key).empty());
        }
        CHECK_NOTHING_OUT();
    }
    CHECK(CountThreadWindows() == windowsBefore);
    CHECK(CountGdiObjects() == gdiBefore);
}

TEST_CASE("the stand-in counts each null pointer given to its classes as a fault")
{
    OstrelTestReset();
    OString made((const wchar_t *)nullptr);
    made = (const wchar_t *)nullptr;
    OCharConv conv;
    conv.a2t(nullptr);
    conv.t2a(nullptr);
    OMisc::IsFileExist(nullptr);
    CHECK(Counters().NullPointers == 5);
    OstrelTestReset();
}
