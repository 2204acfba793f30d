/* bridgecheck run as a process in a newer host's folder made for each case:
 * PanelBridge deployed as TuftlingPanel.dll beside the stand-in OstrelLib
 * (compatible), beside a library exporting MSVC's names (not), beside none or
 * a damaged one; and with the host's panel folder, the plug-in it looks for
 * taken through the load steps. */
#include "doctest.h"
#include "TestSupport.h"

#include <vector>

namespace {

struct Run {
    DWORD ExitCode;
    std::string Output;
    bool Says(const std::string &text) const { return Output.find(text) != std::string::npos; }
};

Run BridgeCheck(const std::wstring &arguments)
{
    ChildProcess check(ProgramFolder() + L"bridgecheck.exe", arguments);
    REQUIRE(check.Started());
    check.Finish();
    return Run{check.ExitCode, check.Output};
}

bool CopyFromBuild(const wchar_t *name, const std::wstring &to)
{
    return CopyFileW((ProgramFolder() + name).c_str(), to.c_str(), FALSE) != 0;
}

} // namespace

TEST_CASE("bridgecheck: the host library, and the plug-in each adaptor copy looks for")
{
    std::string standIn;
    REQUIRE(ReadFileBytes(ProgramFolder() + L"OstrelLib.dll", standIn));
    struct Case {
        const char *name;
        const wchar_t *library;   // from the build, copied as OstrelLib.dll; or null:
        std::string libraryBytes; // these bytes as OstrelLib.dll, when not empty
        const wchar_t *plugin;    // from the build, as panel\wpn\TuftlingPanel.wpn; null: none
        bool panels;              // --panels HOST\panel
        DWORD exit;
        std::vector<std::string> says;
    } cases[] = {
        {"the stand-in", L"OstrelLib.dll", "", nullptr, false, 0,
         {"\\TuftlingPanel.dll: compatible with ", "\\OstrelLib.dll: all ", " names it imports from it are there"}},
        {"a library built by another compiler", L"OtherOstrelLib.dll", "", nullptr, false, 1,
         {"\\TuftlingPanel.dll: not compatible with ", "built by another compiler", "GCC (mingw-w64)",
          "MSVC", "\n    _ZN", "\n    ?", "built against this host's own OstrelLib", "README"}},
        {"no host library", nullptr, "", nullptr, false, 1, {"no OstrelLib.dll here"}},
        {"a text file as the host library", nullptr, "not a DLL\r\n", nullptr, false, 1,
         {"OstrelLib.dll: not a DLL whose exports can be read"}},
        {"the host library cut short", nullptr, standIn.substr(0, 1024), nullptr, false, 1,
         {"OstrelLib.dll: not a DLL whose exports can be read"}},
        {"the plug-in in the panel folder", L"OstrelLib.dll", "", L"TuftlingPanel.wpn", true, 0,
         {"TuftlingPanel.dll looks for ", "\\panel\\wpn\\TuftlingPanel.wpn: it passes the load steps", "0x6701"}},
        {"no plug-in there", L"OstrelLib.dll", "", nullptr, true, 1, {"it fails the load steps: load: no such file"}},
        {"a plug-in without WPN_Initialize", L"OstrelLib.dll", "", L"FakeNoInit.wpn", true, 1,
         {"it fails the load steps: exports: missing WPN_Initialize"}},
        {"a plug-in with the wrong information byte", L"OstrelLib.dll", "", L"FakeBadInfo.wpn", true, 1,
         {"it fails the load steps: info byte: 0x0100 has low byte 0x00, must be 0x01"}},
#if TUFT_HAVE_FAKE64
        {"a 64-bit plug-in", L"OstrelLib.dll", "", L"Fake64.wpn", true, 1,
         {"it fails the load steps: load: a 64-bit x86-64 module"}},
        {"a 64-bit host library", L"Fake64.wpn", "", nullptr, false, 1,
         {"OstrelLib.dll: a 64-bit x86-64 library, so the host is not 32-bit"}},
#endif
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.name));
        TempDir host;
        REQUIRE(CopyFromBuild(L"PanelBridge.dll", host / L"TuftlingPanel.dll"));
        if (c.library)
            REQUIRE(CopyFromBuild(c.library, host / L"OstrelLib.dll"));
        else if (!c.libraryBytes.empty())
            REQUIRE(WriteFileBytes(host / L"OstrelLib.dll", c.libraryBytes));
        REQUIRE(CreateDirectoryW((host / L"panel").c_str(), nullptr));
        REQUIRE(CreateDirectoryW((host / L"panel\\wpn").c_str(), nullptr));
        if (c.plugin)
            REQUIRE(CopyFromBuild(c.plugin, host / L"panel\\wpn\\TuftlingPanel.wpn"));
        // No trailing backslash: before a closing quote it would escape it.
        std::wstring folder = host.Path().substr(0, host.Path().size() - 1);
        Run run = BridgeCheck(L"\"" + folder + L"\"" + (c.panels ? L" --panels \"" + folder + L"\\panel\"" : L""));
        CAPTURE(run.Output);
        CHECK(run.ExitCode == c.exit);
        for (const std::string &text : c.says)
            CHECK_MESSAGE(run.Says(text), text);
    }
}

TEST_CASE("bridgecheck: a wrong command line exits with 2, help with 0")
{
    for (const wchar_t *line : {L"--frobnicate", L". .", L"C:\\no\\such\\folder", L". --panels",
                                L". --panels C:\\no\\such\\folder"})
        CHECK_MESSAGE(BridgeCheck(line).ExitCode == 2, Narrow(line));
    Run help = BridgeCheck(L"--help");
    CHECK(help.ExitCode == 0);
    CHECK(help.Says("usage: bridgecheck [HOST_FOLDER] [--panels PANEL_FOLDER]"));
}
