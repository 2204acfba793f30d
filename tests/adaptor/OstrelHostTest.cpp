/* ostrelhost run as its own process from the deployment folder, the way the
 * demo runs it: PanelBridge deployed as TuftlingPanel.dll beside the host's
 * OstrelLib.dll, the real TuftlingPanel.wpn in panel\wpn\ of the host root;
 * and the sample plug-in through a copy of PanelBridge named after it. */
#include "TestSupport.h"
#include "doctest.h"

namespace {

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

    REQUIRE(host.Started());
    ShownPanel shown = WaitForPanel(host.Id(), L"OstrelHost", L"Wendrake Plugin - TuftlingPanel");
    CHECK(shown.Panel);
    if (shown.Host) {
        wchar_t title[128] = {};
        GetWindowTextW(shown.Host, title, 128);
        CHECK(std::wstring(title) == L"Ostrel - TuftlingPanel");
        PostMessageW(shown.Host, WM_CLOSE, 0, 0);
    }
    host.Finish();
    CAPTURE(host.Output);
    CHECK(host.ExitCode == 0); // 3 would mean a reference or host text kept
    for (const char *key : {"Count", "Hide", "Always", "DanceTimer", "HideTimer", "Size"}) {
        CAPTURE(key);
        CHECK_FALSE(IniValue(home / L"user\\setting\\TuftlingPanel.ini", "Tuftling", key).empty());
    }
}

TEST_CASE("the sample plug-in shows through PanelBridge deployed as HelloPanel.dll, not the help window")
{
    TempDir home;
    CreateDirectoryW((home / L"panel").c_str(), nullptr);
    CreateDirectoryW((home / L"panel\\wpn").c_str(), nullptr);
    REQUIRE(CopyFileW((ProgramFolder() + L"HelloPanel.wpn").c_str(), (home / L"panel\\wpn\\HelloPanel.wpn").c_str(),
                      FALSE));
    REQUIRE(CopyFileW((ProgramFolder() + L"PanelBridge.dll").c_str(), (home / L"HelloPanel.dll").c_str(), FALSE));
    SetEnvironmentVariableW(L"OSTREL_HOME", home.Path().c_str());
    ChildProcess host(DeployedHost(), L"--close-after 60000 \"" + (home / L"HelloPanel.dll") + L"\"");
    SetEnvironmentVariableW(L"OSTREL_HOME", nullptr);
    REQUIRE(host.Started());

    ShownPanel shown = WaitForPanel(host.Id(), L"OstrelHost", L"HelloPanel");
    CHECK(shown.Panel);
    CHECK_FALSE(WaitForPanel(host.Id(), L"OstrelHost", L"Edit", 0).Panel); // the help window
    PumpFor(1500); // a tick or two through the adaptor, each asking the host for its item count
    if (shown.Host)
        PostMessageW(shown.Host, WM_CLOSE, 0, 0);
    host.Finish();
    CAPTURE(host.Output);
    CHECK(host.ExitCode == 0); // 3: a host reference or block of host memory kept
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
