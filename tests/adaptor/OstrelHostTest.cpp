/* ostrelhost run as its own process from the deployment folder, the way the
 * demo runs it: PanelBridge deployed as TuftlingPanel.dll beside the host's
 * OstrelLib.dll, the real TuftlingPanel.wpn in panel\wpn\ of the host root. */
#include "TestSupport.h"
#include "doctest.h"

namespace {

struct FoundWindows {
    DWORD ProcessId;
    HWND Host = nullptr;
    HWND Mascot = nullptr;
};

BOOL CALLBACK FindChild(HWND window, LPARAM param)
{
    auto *found = (FoundWindows *)param;
    char name[128] = {};
    GetClassNameA(window, name, sizeof name);
    if (lstrcmpA(name, "Wendrake Plugin - TuftlingPanel") == 0)
        found->Mascot = window;
    return TRUE;
}

BOOL CALLBACK FindHost(HWND window, LPARAM param)
{
    auto *found = (FoundWindows *)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    wchar_t name[64] = {};
    GetClassNameW(window, name, 64);
    if (pid == found->ProcessId && lstrcmpW(name, L"OstrelHost") == 0) {
        found->Host = window;
        EnumChildWindows(window, FindChild, param);
    }
    return TRUE;
}

std::wstring DeployedHost()
{
    return ProgramFolder() + L"..\\ostrelhost\\ostrelhost.exe";
}

} // namespace

TEST_CASE("ostrelhost shows the mascot through the adaptor and the settings land in the served folder")
{
    TempDir home;
    CreateDirectoryW((home / L"panel").c_str(), nullptr);
    CreateDirectoryW((home / L"panel\\wpn").c_str(), nullptr);
    REQUIRE(CopyFileW((ProgramFolder() + L"TuftlingPanel.wpn").c_str(),
                      (home / L"panel\\wpn\\TuftlingPanel.wpn").c_str(), FALSE));
    SetEnvironmentVariableW(L"OSTREL_HOME", home.Path().c_str());
    // A safety net only: the test closes the window itself.
    ChildProcess host(DeployedHost(), L"--close-after 60000");
    SetEnvironmentVariableW(L"OSTREL_HOME", nullptr);

    FoundWindows found;
    REQUIRE(host.Started());
    found.ProcessId = host.Id();
    // Nothing wakes this thread when another process makes a window: look
    // again every 100 ms until the deadline.
    auto mascotShown = [&] {
        EnumWindows(FindHost, (LPARAM)&found);
        return found.Mascot != nullptr;
    };
    bool shown = false;
    for (DWORD start = GetTickCount(); !shown && GetTickCount() - start < 20000;)
        shown = PumpUntil(mascotShown, 100);
    CHECK(shown);
    if (found.Host) {
        wchar_t title[128] = {};
        GetWindowTextW(found.Host, title, 128);
        CHECK(std::wstring(title) == L"Ostrel - TuftlingPanel");
        PostMessageW(found.Host, WM_CLOSE, 0, 0);
    }
    host.Finish();
    CAPTURE(host.Output);
    CHECK(host.ExitCode == 0); // 3 would mean a reference or host text kept
    for (const char *key : {"Count", "Hide", "Always", "DanceTimer", "HideTimer", "Size"}) {
        CAPTURE(key);
        CHECK_FALSE(IniValue(home / L"user\\setting\\TuftlingPanel.ini", "Tuftling", key).empty());
    }
}

TEST_CASE("ostrelhost names a module it cannot use and exits with 2")
{
    ChildProcess notPlugin(DeployedHost(), L"\"" + ProgramFolder() + L"wpnhost.exe\"");
    notPlugin.Finish();
    CHECK(notPlugin.ExitCode == 2);
    CHECK(notPlugin.Output.find("OPI_CreateInstance") != std::string::npos);

    ChildProcess missing(DeployedHost(), L"\"" + ProgramFolder() + L"Absent.dll\"");
    missing.Finish();
    CHECK(missing.ExitCode == 2);
}
