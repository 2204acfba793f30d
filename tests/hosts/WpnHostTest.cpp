/* wpnhost, run as a separate process the way a plug-in author runs it. */
#include "doctest.h"
#include "TestSupport.h"

namespace {

struct Run {
    DWORD ExitCode = 0;
    std::string Errors;
};

Run RunHost(const std::wstring &arguments)
{
    ChildProcess host(ProgramFolder() + L"wpnhost.exe", arguments);
    REQUIRE(host.Started());
    host.Finish();
    return Run{host.ExitCode, host.Output};
}

} // namespace

TEST_CASE("wpnhost runs TuftlingPanel and the settings file holds six keys on close")
{
    TempDir dir;
    // No backslash before the closing quote: it would escape the quote.
    std::wstring folder = dir.Path().substr(0, dir.Path().size() - 1);
    Run run = RunHost(L"--settings \"" + folder + L"\" --close-after 2500 \"" + ProgramFolder() +
                      L"TuftlingPanel.wpn\"");
    CAPTURE(run.Errors);
    CHECK(run.ExitCode == 0);
    CHECK(run.Errors.empty());
    for (std::string key : {"Count", "Hide", "Always", "DanceTimer", "HideTimer", "Size"}) {
        CAPTURE(key);
        CHECK_FALSE(IniValue(dir / L"TuftlingPanel.ini", "Tuftling", key.c_str()).empty());
    }
}

TEST_CASE("wpnhost shows the sample plug-in's window, ticks it and closes cleanly")
{
    ChildProcess host(ProgramFolder() + L"wpnhost.exe", L"--close-after 60000 \"" + ProgramFolder() + L"HelloPanel.wpn\"");
    REQUIRE(host.Started());
    ShownPanel shown = WaitForPanel(host.Id(), L"wpnhost", L"HelloPanel");
    CHECK(shown.Panel);
    PumpFor(1500); // a tick or two
    if (shown.Host)
        PostMessageW(shown.Host, WM_CLOSE, 0, 0);
    host.Finish();
    CAPTURE(host.Output);
    CHECK(host.ExitCode == 0);
    CHECK(host.Output.empty());
}

TEST_CASE("wpnhost names why a plug-in cannot be used")
{
    TempDir dir;
    REQUIRE(WriteFileBytes(dir / L"Text.wpn", "this is not a DLL\r\n"));
    Run notDll = RunHost(L"\"" + (dir / L"Text.wpn") + L"\"");
    CHECK(notDll.ExitCode == 2);
    CHECK(notDll.Errors.find("not a loadable") != std::string::npos);

    Run missing = RunHost(L"\"" + (dir / L"Absent.wpn") + L"\"");
    CHECK(missing.ExitCode == 2);
    CHECK(missing.Errors.find("no such file") != std::string::npos);

    // A real DLL without the contract's exports: the host program itself.
    Run noExports = RunHost(L"\"" + ProgramFolder() + L"wpnhost.exe\"");
    CHECK(noExports.ExitCode == 2);
    CHECK(noExports.Errors.find("missing WPN_GetPluginInfo and WPN_Initialize") != std::string::npos);
}
