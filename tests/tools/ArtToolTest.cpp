/* TuftlingArt, run as its own process the way an art author runs it: what
 * check finds and where, what convert writes, that export-builtin gives the
 * panel's own drawings back, and that a preview is the panel's own picture. */
#include "doctest.h"
#include "PanelHarness.h"
#include "Png.h"
#include "TestSupport.h"

#include "ArtReader.h"
#include "BuiltinArt.h"
#include "Rainbow.h"
#include "TuftlingVersion.h"

namespace {

struct Run {
    DWORD ExitCode;
    std::string Output;
    bool Says(const std::string &text) const { return Output.find(text) != std::string::npos; }
};

Run Art(const std::wstring &arguments)
{
    ChildProcess tool(ProgramFolder() + L"TuftlingArt.exe", arguments);
    REQUIRE(tool.Started());
    tool.Finish();
    std::string output;
    for (char c : tool.Output) // the console's CR LF as LF
        if (c != '\r')
            output += c;
    return Run{tool.ExitCode, output};
}

std::wstring Quoted(const std::wstring &path)
{
    return L"\"" + path + L"\"";
}

// An art file of the given lines, each ended with CR LF.
std::string ArtLines(std::initializer_list<std::string> lines)
{
    std::string art;
    for (const std::string &line : lines)
        art += line + "\r\n";
    return art;
}

const std::string Fine = ArtLines({"$Normal", "n", "$Hide", "h", "$Dance", "d"});

// Text as UTF-16 with its byte-order mark, as Notepad saves "Unicode".
std::string Utf16(const std::wstring &text, bool bigEndian)
{
    std::string bytes = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (wchar_t c : text) {
        const char low = (char)(c & 0xFF), high = (char)(c >> 8);
        bytes += bigEndian ? high : low;
        bytes += bigEndian ? low : high;
    }
    return bytes;
}

} // namespace

TEST_CASE("check: each trap is named on its line, and the count of findings is exact")
{
    std::string fifteenLines, wideUtf8; // fits the panel at 7 and 10 points, not at 12; 100 of こ
    for (int i = 0; i < 15; ++i)
        fifteenLines += "line\r\n";
    for (int i = 0; i < 100; ++i)
        wideUtf8 += "\xE3\x81\x93";
    struct Case {
        const char *name;
        std::string art;
        const wchar_t *options;
        DWORD exit;
        std::vector<std::string> says;
        const char *counts;
    } cases[] = {
        {"a clean file", Fine, L"", 0,
         {"a dance lasts 1.2 s", "to use:   save it as TuftlingAA.txt in the host's settings folder"},
         "0 errors, 0 warnings"},
        {"a misspelt section line", ArtLines({"$Normal", "n", "$Hide", "h", "$Dnace", "d", "$Ned"}), L"", 0,
         {":5: warning: this line starts with \"$\" but is no section line", "the nearest is \"$Dance\"): the "
          "panel draws it as a line of art", ":7: warning: ", "the nearest is \"$End\""},
         "0 errors, 3 warnings"},
        {"tabs", ArtLines({"$Normal", "a\tb\tc", "\x82\xa0\t", "$End", "\tnote", "$Hide", "h", "$Dance", "d"}), L"",
         0, {":2: warning: 2 tabs at characters 2, 4: the panel draws each tab as a box", ":3: warning: a tab at "
             "character 2: "},
         "0 errors, 2 warnings"},
        {"an empty file", "", L"", 1, {"art.txt: error: the file is empty"}, "1 error, 0 warnings"},
        {"notes before the first section", "a note\r\nanother\r\n" + Fine, L"", 0,
         {"notes:    2 lines in no section, which the panel ignores"}, "0 errors, 0 warnings"},
        {"a line over 1023 bytes", ArtLines({"$Normal", std::string(1100, 'a'), "$Hide", "h"}), L"", 1,
         {":2: error: this line is 1100 bytes long", "(2 more lines lost)"}, "2 errors, 2 warnings"},
        // At the limit, after "$End", where no frame's width counts.
        {"a line of exactly 1023 bytes", Fine + ArtLines({"$End", std::string(1023, 'a'), "after", "it"}), L"", 0,
         {"notes:    3 lines in no section"}, "0 errors, 0 warnings"},
        {"a line of exactly 1024 bytes", Fine + ArtLines({"$End", std::string(1024, 'a'), "after", "it"}), L"", 1,
         {":8: error: this line is 1024 bytes long", "(2 more lines lost)", "notes:    1 line in no section"},
         "1 error, 0 warnings"},
        {"near misses of $Normal", ArtLines({"$normal", "$Normal ", "\x81\x90Normal", "$Hide", "h", "$Dance", "d"}),
         L"", 1,
         {":1: warning: this line looks like the section line \"$Normal\" but is not one (letters in another case)",
          ":2: warning: this line looks like", "(blanks around it)", ":3: warning: this line looks like",
          "(a full-width dollar sign)", ":1: error: there is no $Normal section"},
         "1 error, 3 warnings"},
        {"a byte-order mark", "\xEF\xBB\xBF" + Fine, L"", 1,
         {":1: error: the file starts with a UTF-8 byte-order mark", "(a byte-order mark before it)"},
         "2 errors, 1 warning"},
        // Nothing measured on characters the panel misreads: no size findings.
        {"a UTF-8 file", ArtLines({"$Normal", wideUtf8 + "&", "$Hide", "h", "$Dance", "d"}),
         L"", 1, {":2: error: the file is UTF-8", "note: the frames were not measured"}, "1 error, 0 warnings"},
        {"a UTF-16 file", Utf16(L"$Normal\r\n\x3053\r\n", false), L"", 1,
         {":1: error: the file is UTF-16 little-endian (what Notepad saves as \"Unicode\")"}, "1 error, 0 warnings"},
        {"a big-endian UTF-16 file", Utf16(L"$Normal\r\n\x3053\r\n", true), L"", 1,
         {":1: error: the file is UTF-16 big-endian"}, "1 error, 0 warnings"},
        {"bytes that are no code page 932",
         ArtLines({"$Normal", "ok \x82", "\x82\xa0\x85\x40", "$Hide", "$Dance", "d"}), L"", 1,
         {":2: error: character 4 (byte 0x82) begins a double-byte", ":3: error: character 2 (bytes 0x85 0x40)"},
         "2 errors, 0 warnings"},
        {"ampersands", ArtLines({"$Normal", "\x82\xa0R&D", "R&&D", "$Hide", "h", "$Dance", "d"}), L"", 0,
         {":2: warning: the \"&\" at character 3 underlines"}, "0 errors, 1 warning"},
        {"a Ctrl-Z", "$Normal\r\nn\r\n\x1a$Hide\r\nh\r\n", L"", 1,
         {":3: error: a Ctrl-Z (byte 0x1A) ends the panel's reading here: the 2 lines"}, "1 error, 2 warnings"},
        {"missing and empty sections", ArtLines({"$Normal", "n", "$Dance"}), L"", 0,
         {":1: warning: there is no $Hide section", ":3: warning: this $Dance 1 frame is empty"},
         "0 errors, 2 warnings"},
        {"no sections at all", ArtLines({"just art"}), L"", 1,
         {":1: error: there is no $Normal section", "there is no $Dance section", "notes:    1 line in no section"},
         "1 error, 2 warnings"},
        {"a NUL byte", ArtLines({"$Normal", std::string("\x82\xa0" "b\0cd", 6), "$Hide", "h", "$Dance", "d"}), L"", 0,
         {":2: warning: a NUL byte ends what the panel keeps of this line after 2 characters"}, "0 errors, 1 warning"},
        // Reported where it is cut: the first line past the bottom (the 14th of
        // lines 17 and 14 pixels tall), the widest line.
        {"a frame too tall for the panel at 12 points, for its window at 10",
         "$Normal\r\n" + fifteenLines + "$Hide\r\nh\r\n$Dance\r\nd\r\n", L"", 0,
         {":15: warning: the $Normal frame is ", " pixels tall at 12 points, more than the 232 the panel shows",
          "cut off at the bottom from this line on (at 12 points)",
          " pixels tall at 10 points, more than the 192 a 200 x 200 panel window shows",
          "there it is cut off at the bottom from this line on (at 10 points"},
         "0 errors, 2 warnings"},
        {"the same frame at --size 12", "$Normal\r\n" + fifteenLines + "$Hide\r\nh\r\n$Dance\r\nd\r\n",
         L"--size 12", 1, {":15: error: the $Normal frame is "}, "1 error, 0 warnings"},
        {"a frame too wide at every size",
         ArtLines({"$Normal", "W", std::string(400, 'W'), "WW", "$Hide", "h", "$Dance", "d"}), L"", 1,
         {":3: error: the $Normal frame is ", " pixels wide at 7 points, ", "at 10 points", "cut off at the right"},
         "1 error, 0 warnings"},
        {"a frame wider than the panel window only", ArtLines({"$Normal", "W", std::string(20, 'W'), "$Hide", "h",
                                                               "$Dance", "d"}),
         L"", 0, {":3: warning: the $Normal frame is ", "more than the 192 a 200 x 200 panel window shows"},
         "0 errors, 1 warning"},
        // Each side of the window against its own side of the frame.
        {"a frame taller than a wide, low window, and no wider", ArtLines({"$Normal", "l", "l", "l", "l", "l", "l",
                                                                           "l", "l", "$Hide", "h", "$Dance", "d"}),
         L"--window 300x60 --size 10", 0, {" pixels tall at 10 points, more than the 52 a 300 x 60 panel window"},
         "0 errors, 1 warning"},
        {"a frame wider than a narrow, tall window, and no taller",
         ArtLines({"$Normal", std::string(20, 'W'), "$Hide", "h", "$Dance", "d"}), L"--window 60x300 --size 10", 0,
         {" pixels wide at 10 points, more than the 52 a 60 x 300 panel window"}, "0 errors, 1 warning"},
        {"the same in a window that shows the whole picture",
         ArtLines({"$Normal", "W", std::string(20, 'W'), "$Hide", "h", "$Dance", "d"}), L"--window 320x240", 0, {},
         "0 errors, 0 warnings"},
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.name));
        TempDir dir;
        REQUIRE(WriteFileBytes(dir / L"art.txt", c.art));
        Run run = Art(L"check " + Quoted(dir / L"art.txt") + L" " + c.options);
        CAPTURE(run.Output);
        CHECK(run.ExitCode == c.exit);
        for (const std::string &text : c.says)
            CHECK_MESSAGE(run.Says(text), text);
        CHECK_MESSAGE(run.Says(std::string(": ") + c.counts + "\n"), c.counts);
    }
}

TEST_CASE("help and the version exit with 0; a file that cannot be read, and a wrong command line, with 2")
{
    for (const wchar_t *line : {L"--help", L"-h", L"help", L"/?"}) {
        Run help = Art(line);
        CHECK_MESSAGE(help.ExitCode == 0, Narrow(line));
        CHECK_MESSAGE(help.Says("usage:\n  TuftlingArt check FILE"), Narrow(line));
        CHECK_MESSAGE(help.Says("The panel reads its art from TuftlingAA.txt in the host's settings folder"),
                      Narrow(line));
    }
    // The version printed is the one in the program's version resource.
    VersionResource resource(ProgramFolder() + L"TuftlingArt.exe");
    REQUIRE(resource.Fixed());
    CHECK(resource.Text(L"ProductVersion") == Widen(TUFT_VERSION_TEXT));
    Run version = Art(L"--version");
    CHECK(version.ExitCode == 0);
    CHECK(version.Output == "TuftlingArt " TUFT_VERSION_SHORT "\n");

    CHECK(Art(L"check C:\\no\\such\\art.txt").ExitCode == 2);
    // Each failure in its own words, and a path in any script as UTF-8
    // through a pipe.
    TempDir dir;
    REQUIRE(WriteFileBytes(dir / L"art.txt", Fine));
    struct Said {
        std::wstring line;
        std::string says;
    } said[] = {
        {L"check " + Quoted(dir / L"\x30a2\x30fc\x30c8.txt"), "\xE3\x82\xA2\xE3\x83\xBC\xE3\x83\x88.txt: no such file\n"},
        {L"check " + Quoted(dir / L"none\\art.txt"), "art.txt: no such file (its folder does not exist either)"},
        {L"check " + Quoted(dir.Path().substr(0, dir.Path().size() - 1)), ": this is a folder; name the art file"},
        {L"frobnicate a.txt", "TuftlingArt: unknown command \"frobnicate\" (the commands are check, preview"},
        {L"export-builtin " + Quoted(dir / L"none\\out.txt"), "cannot write the file: the folder "},
    };
    for (const Said &s : said) {
        Run run = Art(s.line);
        CAPTURE(run.Output);
        CHECK(run.ExitCode == 2);
        CHECK_MESSAGE(run.Says(s.says), s.says);
    }
    CHECK(Art(L"export-builtin " + Quoted(dir / L"none\\out.txt")).Says(Narrow(dir / L"none\\") + " does not exist"));
    for (const wchar_t *line : {L"", L"check", L"check a.txt --size 0", L"preview a.txt", L"frobnicate a.txt",
                                L"check a.txt --colour red", L"export-builtin", L"check a.txt --window 200",
                                L"check a.txt --window 0x200", L"preview a.txt b.png --window 300x300"})
        CHECK_MESSAGE(Art(line).ExitCode == 2, Narrow(line));
}

TEST_CASE("export-builtin writes the panel's own four drawings, which the panel reads back unchanged")
{
    TempDir dir;
    Run run = Art(L"export-builtin " + Quoted(dir / L"TuftlingAA.txt"));
    REQUIRE(run.ExitCode == 0);
    std::string bytes;
    REQUIRE(ReadFileBytes(dir / L"TuftlingAA.txt", bytes));
    ArtBytes source(bytes);
    FrameStore frames;
    ReadArt(source, frames);
    REQUIRE(frames.size() == BUILTIN_FRAME_COUNT);
    for (size_t i = 0; i < frames.size(); ++i) {
        std::string builtin = BuiltinFrames[i], asRead;
        for (size_t at = 0; at < builtin.size(); ++at)
            if (builtin.compare(at, 2, "\r\n") != 0)
                asRead += builtin[at];
        CHECK(frames[i] == asRead + "\n");
    }
    // 215 pixels wide at 10 points, they fit the panel's picture but not the
    // 200 x 200 window hosts show it in.
    Run check = Art(L"check " + Quoted(dir / L"TuftlingAA.txt"));
    CAPTURE(check.Output);
    CHECK(check.Says("more than the 192 a 200 x 200 panel window shows"));
    CHECK(check.Says("0 errors, 2 warnings"));
}

TEST_CASE("convert: UTF-8 or UTF-16 in, code page 932 with CR LF out, and every missing character named")
{
    struct Case {
        const char *name;
        std::string in;
        const wchar_t *options;
        DWORD exit;
        const char *out; // null: nothing written
        const char *says;
    } cases[] = {
        {"with a byte-order mark and LF", "\xEF\xBB\xBF$Normal\n\xE3\x81\x93\xE3\x82\x93\n", L"", 0,
         "$Normal\r\n\x82\xb1\x82\xf1\r\n", "written as code page 932"},
        {"CR LF and no last line end", "$Dance\r\n\xEF\xBD\xB1x", L"", 0, "$Dance\r\n\xb1x", ""},
        {"a wave dash has no code page 932 form", "$Normal\n\xE3\x80\x9C\xE2\x9D\xA4\n", L"", 1, nullptr,
         ":2: error: character 1, U+301C (\xE3\x80\x9C), has no form"},
        {"--replace writes ? for it", "$Normal\n\xE3\x80\x9C\xE2\x9D\xA4\n", L"--replace", 0, "$Normal\r\n??\r\n",
         ":2: warning: character 2, U+2764 (\xE2\x9D\xA4), has no form"},
        // Beyond U+FFFF: two UTF-16 units, one character, one "?".
        {"--replace writes one ? for an emoji", "$Normal\n\xF0\x9F\x98\x80" "a\xE2\x99\xA1\n", L"--replace", 0,
         "$Normal\r\n?a?\r\n", "with 2 characters written as \"?\""},
        {"the emoji named as itself", "$Normal\n\xF0\x9F\x98\x80\n", L"", 1, nullptr,
         ":2: error: character 1, U+1F600 (\xF0\x9F\x98\x80), has no form in code page 932"},
        {"code page 932 is not UTF-8", "$Normal\r\n\x82\xb1\r\n", L"", 2, nullptr, ":2: error: this line is not"},
        {"UTF-16 as Notepad saves it", Utf16(L"$Normal\r\n\x3053\x3093\r\n", false), L"", 0,
         "$Normal\r\n\x82\xb1\x82\xf1\r\n", "written as code page 932"},
        {"big-endian UTF-16 without a last line end", Utf16(L"$Dance\r\n\xFF71x", true), L"", 0, "$Dance\r\n\xb1x",
         ""},
        {"UTF-16 cut half-way through a character", Utf16(L"$Normal", false) + "$", L"", 2, nullptr,
         "ends half-way through a character"},
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.name));
        TempDir dir;
        REQUIRE(WriteFileBytes(dir / L"in.txt", c.in));
        Run run = Art(L"convert " + Quoted(dir / L"in.txt") + L" " + Quoted(dir / L"out.txt") + L" " + c.options);
        CAPTURE(run.Output);
        CHECK(run.ExitCode == c.exit);
        CHECK(run.Says(c.says));
        std::string out;
        CHECK(ReadFileBytes(dir / L"out.txt", out) == (c.out != nullptr));
        if (c.out)
            CHECK(out == c.out);
    }
}

TEST_CASE("preview: the panel's own picture of each frame, on a sheet or one file each")
{
    TempDir dir;
    REQUIRE(Art(L"export-builtin " + Quoted(dir / L"TuftlingAA.txt")).ExitCode == 0);

    // The real plug-in showing the same file: its 200 x 200 window is the
    // sheet's first cell, cut to that size.
    Picture panel;
    {
        PanelHarness host;
        host.SetSettingsFolder(dir.Ansi());
        ParentWindow parent(420, 360);
        HWND window = host.Create(parent.get());
        REQUIRE(window);
        panel = CaptureWindow(window);
        host.Destroy();
    }
    REQUIRE(Art(L"preview " + Quoted(dir / L"TuftlingAA.txt") + L" " + Quoted(dir / L"sheet.png")).ExitCode == 0);
    Picture sheet;
    REQUIRE(LoadPng(dir / L"sheet.png", sheet));
    CHECK(sheet.Width == 8 + 4 * (320 + 8));
    CHECK(sheet.Height == 8 + 240 + 20 + 8);
    int differ = 0;
    for (int y = 0; y < panel.Height; ++y)
        for (int x = 0; x < panel.Width; ++x)
            differ += sheet.At(8 + x, 8 + y) != panel.At(x, y);
    CHECK(differ == 0);
    CHECK(panel.Count(0x808080) > 100); // the mascot is there, in grey

    REQUIRE(Art(L"preview " + Quoted(dir / L"TuftlingAA.txt") + L" --frames " + Quoted(dir / L"frames") +
                L" --rainbow 40")
                .ExitCode == 0);
    for (const wchar_t *name : {L"normal.png", L"hide.png", L"dance-001.png", L"dance-002.png"}) {
        CAPTURE(Narrow(name));
        Picture frame;
        REQUIRE(LoadPng(dir / L"frames\\" + name, frame));
        CHECK(frame.Width == 320);
        CHECK(frame.Height == 240);
        CHECK(frame.CommonestInk() == RainbowColour(40));
    }
}

TEST_CASE("convert and export-builtin replace a file only with --force, and convert never its own input")
{
    TempDir dir;
    const std::string mine = "$Normal\r\nmine\r\n", utf8 = "$Normal\n\xE3\x81\x93\n";
    struct Case {
        const char *name;
        std::wstring line;
        DWORD exit;
        const char *says;
        const wchar_t *file; // holds `mine` before, and is checked after
        bool replaced;
    } cases[] = {
        {"export-builtin over a file", L"export-builtin " + Quoted(dir / L"old.txt"), 2,
         "old.txt: the file exists already: nothing written (--force replaces it)", L"old.txt", false},
        {"export-builtin --force", L"export-builtin " + Quoted(dir / L"old.txt") + L" --force", 0,
         "the 4 built-in drawings", L"old.txt", true},
        {"convert over a file", L"convert " + Quoted(dir / L"in.txt") + L" " + Quoted(dir / L"old.txt"), 2,
         "the file exists already", L"old.txt", false},
        {"convert --force", L"convert " + Quoted(dir / L"in.txt") + L" " + Quoted(dir / L"old.txt") + L" --force", 0,
         "written as code page 932", L"old.txt", true},
        // The same file under another spelling of its path, --force or not.
        {"convert onto its input", L"convert " + Quoted(dir / L"in.txt") + L" " + Quoted(dir / L".\\IN.TXT") +
                                       L" --force",
         2, "this is the file being read; writing it would lose the original", nullptr, false},
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.name));
        REQUIRE(WriteFileBytes(dir / L"old.txt", mine));
        REQUIRE(WriteFileBytes(dir / L"in.txt", utf8));
        Run run = Art(c.line);
        CAPTURE(run.Output);
        CHECK(run.ExitCode == c.exit);
        CHECK_MESSAGE(run.Says(c.says), c.says);
        std::string after;
        REQUIRE(ReadFileBytes(dir / L"in.txt", after));
        CHECK(after == utf8);
        REQUIRE(ReadFileBytes(dir / L"old.txt", after));
        CHECK((after != mine) == c.replaced);
    }
}

TEST_CASE("preview refuses a file the panel cannot read, in check's words")
{
    TempDir dir;
    for (const std::string &art : {Utf16(L"$Normal\r\n\x3053\r\n", false), std::string("$Normal\n\xE3\x81\x93\n")}) {
        REQUIRE(WriteFileBytes(dir / L"art.txt", art));
        Run check = Art(L"check " + Quoted(dir / L"art.txt"));
        Run preview = Art(L"preview " + Quoted(dir / L"art.txt") + L" " + Quoted(dir / L"sheet.png"));
        CAPTURE(preview.Output);
        CHECK(preview.ExitCode == 1);
        const std::string said = ": error: the file is ";
        const size_t at = check.Output.find(said);
        REQUIRE(at != std::string::npos);
        const std::string message = check.Output.substr(at + said.size(), check.Output.find('\n', at) - at - said.size());
        CHECK_MESSAGE(preview.Says(said + message + ": no preview written"), message);
        std::string png;
        CHECK_FALSE(ReadFileBytes(dir / L"sheet.png", png));
    }
}
