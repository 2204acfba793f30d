/* wpncheck run as a process, the way a plug-in author runs it: it passes
 * TuftlingPanel on every check, and each faulty plug-in makes it fail exactly
 * the checks that the fault breaks, saying what to change (the same check
 * again in the reload cycle is allowed), with the exit code saying so; and a
 * plug-in receives exactly the ticks it reports. */
#include "doctest.h"
#include "TestSupport.h"

#include <algorithm>
#include <set>
#include <sstream>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

struct Run {
    DWORD ExitCode = 0;
    std::vector<std::string> Lines;
    std::string Text;
};

Run RunCheck(const std::wstring &plugin, const std::wstring &options = L"")
{
    Run run;
    ChildProcess check(ProgramFolder() + L"wpncheck.exe", options + L"\"" + plugin + L"\"");
    REQUIRE(check.Started());
    check.Finish();
    run.ExitCode = check.ExitCode;
    run.Text = check.Output;
    std::istringstream lines(run.Text);
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        run.Lines.push_back(line);
    }
    return run;
}

// The names of the failed checks, with the reload cycle's prefix taken off.
std::set<std::string> FailedChecks(const Run &run)
{
    std::set<std::string> names;
    for (const std::string &line : run.Lines) {
        if (line.compare(0, 5, "FAIL ") != 0)
            continue;
        std::string rest = line.substr(5);
        if (rest.compare(0, 8, "reload: ") == 0)
            rest = rest.substr(8);
        std::string name = rest.substr(0, rest.find(':'));
        // "reload: the second cycle failed..." only repeats the others.
        if (rest.find(':') != std::string::npos)
            names.insert(name);
    }
    return names;
}

bool HasLineStarting(const Run &run, const std::string &start)
{
    for (const std::string &line : run.Lines)
        if (line.compare(0, start.size(), start) == 0)
            return true;
    return false;
}

} // namespace

TEST_CASE("TuftlingPanel passes every check")
{
    Run run = RunCheck(ProgramFolder() + L"TuftlingPanel.wpn");
    CAPTURE(run.Text);
    CHECK(run.ExitCode == 0);
    REQUIRE(run.Lines.size() > 15);
    for (size_t i = 0; i + 1 < run.Lines.size(); ++i) {
        CAPTURE(run.Lines[i]);
        CHECK((run.Lines[i].compare(0, 5, "PASS ") == 0 || run.Lines[i].compare(0, 5, "WARN ") == 0));
    }
    CHECK(run.Lines.back().compare(0, 3, "== ") == 0);
    CHECK(run.Lines.back().find(" 0 failed") != std::string::npos);
    // The reload's lines are printed only where they differ from the first
    // cycle's: here none do, and only its closing line is there.
    CHECK(std::count_if(run.Lines.begin(), run.Lines.end(), [](const std::string &line) {
              return line.find(" reload: ") != std::string::npos;
          }) == 1);
    for (const char *check : {"PASS exports:", "PASS info byte: 0x6701", "PASS initialize writes:", "PASS create:",
                              "PASS ticks:", "PASS context menu: PanelContextMenu returned after its menu was closed",
                              "PASS destroy:", "PASS resources:", "PASS texts: 1 handed out",
                              "PASS services: Request SVC_FOLDER(1);", "PASS host record:", "PASS unload:",
                              "PASS reload: a second load", "PASS stack balance:", "PASS decorated names:",
                              "PASS callbacks record: unchanged", "PASS after destroy: no service called"}) {
        CAPTURE(check);
        CHECK(HasLineStarting(run, check));
    }
}

TEST_CASE("each faulty plug-in fails the checks its fault breaks, and no other, saying what to change")
{
    // The Fake* plug-ins are the adaptor's fakes; the Faulty* ones are built
    // for these checks alone.
    struct Case {
        const wchar_t *file;
        DWORD exitCode;
        std::set<std::string> checks; // the failed checks
        const char *line;             // a line that must appear
        const char *fix;              // what that line says to change, or null
    } cases[] = {
        {L"FakeGood.wpn", 0, {}, "PASS texts: 4 handed out, each given back through Free exactly once", nullptr},
        {L"FakeNullPanel.wpn", 0, {}, "WARN create: PanelCreate returned null", nullptr},
        {L"FaultyPlainNames.wpn", 0, {},
         "WARN decorated names: _WPN_GetPluginInfo@0, _WPN_Initialize@4 not exported", nullptr},
        {L"FakeBadInfo.wpn", 1, {"info byte"}, "FAIL info byte: 0x0100 has low byte 0x00, must be 0x01",
         "return a value whose low byte is 1"},
        {L"FakeInitFails.wpn", 1, {"initialize result"}, "FAIL initialize result: WPN_Initialize returned 1, must be 0",
         "return 0 once the slots are written"},
        {L"FakeNoInit.wpn", 1, {"exports"}, "FAIL exports: missing WPN_Initialize", "in a .def file"},
        {L"FaultyStack.wpn", 1, {"stack balance"}, "FAIL stack balance: PanelTick left 8 of its 8 argument bytes",
         "declare it with WPN_CALL (__stdcall)"},
        {L"FaultySlots.wpn", 1, {"initialize writes"},
         "FAIL initialize writes: WPN_Initialize wrote reserved byte at offset 24", "write only the five slots"},
        {L"FaultyKeepText.wpn", 1, {"texts"}, "FAIL texts: 1 of 1 handed out never given back through Free",
         "give each text back with Free"},
        {L"FaultyFreeTwice.wpn", 1, {"texts"}, "FAIL texts: Free called 1 time(s) with a block already given back",
         "Free each block once"},
        {L"FaultyRecord.wpn", 1, {"host record"},
         "FAIL host record: PanelCreate wrote the host record: byte at offset 34", "treat HostServices as read-only"},
        {L"FaultyLeak.wpn", 1, {"resources"}, "FAIL resources:", "delete every GDI object"},
        {L"FaultyKeepWindow.wpn", 1, {"destroy"},
         "FAIL destroy: PanelDestroy returned and the panel window still exists", "call DestroyWindow on it"},
        {L"FaultyPopup.wpn", 1, {"create"},
         "FAIL create: PanelCreate returned a window that is not a child of the parent (its style lacks WS_CHILD)",
         "create it with WS_CHILD"},
        // A null out is answered, not followed: wpncheck runs on to its summary.
        {L"FaultyNullOut.wpn", 1, {"services"}, "FAIL services: Request(SVC_FOLDER) with a null out",
         "pass the address of a variable"},
        {L"FaultyLateSlot.wpn", 1, {"callbacks record"},
         "FAIL callbacks record: PanelCreate wrote the PanelFilter slot (offset 20) of the callbacks record after "
         "WPN_Initialize had returned",
         "write the slots only inside WPN_Initialize"},
        {L"FaultyLateRequest.wpn", 1, {"after destroy"},
         "FAIL after destroy: Request SVC_VERSION; 0 Alloc, 0 Free, 0 ShowMessage or Reserved after PanelDestroy",
         "kill your timers"},
        {L"FaultyLateAlloc.wpn", 1, {"after destroy"}, "FAIL after destroy: 1 Alloc, 1 Free, 0 ShowMessage",
         "forget the record's address"},
        {L"FaultyLateFree.wpn", 1, {"after destroy"}, "FAIL after destroy: 0 Alloc, 1 Free, 0 ShowMessage",
         nullptr},
        {L"FaultyLateMessage.wpn", 1, {"after destroy"}, "FAIL after destroy: 0 Alloc, 0 Free, 1 ShowMessage",
         nullptr},
        // Only the second load goes wrong: the reload is held to the first.
        {L"FaultyReload.wpn", 1, {"create", "ticks"},
         "FAIL reload: ticks: no panel to tick (it passed in the first cycle", "mend what stops it"},
    };
    for (const Case &c : cases) {
        std::string file = Narrow(c.file);
        CAPTURE(file);
        Run run = RunCheck(ProgramFolder() + c.file);
        CAPTURE(run.Text);
        CHECK(run.ExitCode == c.exitCode);
        CHECK(HasLineStarting(run, c.line));
        for (const std::string &line : run.Lines)
            if (c.fix && line.compare(0, strlen(c.line), c.line) == 0)
                CHECK_MESSAGE(line.find(c.fix) != std::string::npos, c.fix);
        CHECK(FailedChecks(run) == c.checks);
        CHECK(run.Lines.back().find(c.exitCode ? ": FAIL" : ": PASS") != std::string::npos);
    }
}

TEST_CASE("a file that is not a plug-in fails the load check")
{
    TempDir dir;
    REQUIRE(WriteFileBytes(dir / L"Text.wpn", "this is not a DLL\r\n"));
    Run notDll = RunCheck(dir / L"Text.wpn");
    CAPTURE(notDll.Text);
    CHECK(notDll.ExitCode == 1);
    CHECK(HasLineStarting(notDll, "FAIL load: "));
    CHECK(notDll.Text.find("not a loadable 32-bit DLL") != std::string::npos);

    Run missing = RunCheck(dir / L"Absent.wpn");
    CHECK(missing.ExitCode == 1);
    CHECK(missing.Text.find("no such file") != std::string::npos);
    CHECK(FailedChecks(missing) == std::set<std::string>{"load"});
}

TEST_CASE("a plug-in receives exactly the ticks wpncheck reports, in each cycle")
{
    // The faulty plug-ins write how many PanelTick calls each panel received
    // to ticks.txt in their settings folder.
    TempDir dir;
    const std::wstring folder = dir.Path().substr(0, dir.Path().size() - 1); // no \ before the quote
    Run run = RunCheck(ProgramFolder() + L"FaultyPlainNames.wpn", L"--settings \"" + folder + L"\" ");
    CAPTURE(run.Text);
    CHECK(run.ExitCode == 0);
    const char Said[] = "PASS ticks: "; // followed by the number of calls
    const size_t at = run.Text.find(Said);
    REQUIRE(at != std::string::npos);
    const std::string ticks = std::to_string(atoi(run.Text.c_str() + at + sizeof Said - 1));
    REQUIRE(ticks != "0");
    std::string received;
    REQUIRE(ReadFileBytes(dir / L"ticks.txt", received));
    CHECK(received == ticks + "\r\n" + ticks + "\r\n"); // the first cycle and the reload
}
