/* bridgecheck run as a process in a newer host's folder made for each case:
 * PanelBridge deployed as TuftlingPanel.dll beside the stand-in OstrelLib
 * (compatible), beside a library exporting MSVC's names (not), beside none or
 * a damaged one; the plug-ins in the panel folder paired with the adaptor
 * copies by name, and each pair's plug-in taken through the load steps.
 * Each finding's first line is checked in the language of the user: ctest
 * runs this program once under a Japanese and once under an English locale
 * (Wine takes the interface language from LANG), and TUFT_EXPECT_UI says
 * which. The file is UTF-8 (MSVC: /utf-8). */
#include "doctest.h"
#include "TestSupport.h"

#include "PeImage.h"
#include "TuftlingVersion.h"

#include <stdlib.h>
#include <string.h>
#include <vector>

namespace {

// One finding's first line in both languages.
struct Line {
    const char *English, *Japanese;
};

bool Japanese()
{
    return PRIMARYLANGID(GetUserDefaultUILanguage()) == LANG_JAPANESE;
}

std::string InUserLanguage(const Line &line)
{
    return Japanese() ? line.Japanese : line.English;
}

struct Run {
    DWORD ExitCode;
    std::string Output; // UTF-8: bridgecheck's output into a pipe
    bool Says(const std::string &text) const { return Output.find(text) != std::string::npos; }
    std::string FirstLine() const { return Output.substr(0, Output.find("\r\n")); }
};

Run BridgeCheck(const std::wstring &program, const std::wstring &arguments)
{
    ChildProcess check(program, arguments);
    REQUIRE(check.Started());
    check.Finish();
    return Run{check.ExitCode, check.Output};
}

Run BridgeCheck(const std::wstring &arguments)
{
    return BridgeCheck(ProgramFolder() + L"bridgecheck.exe", arguments);
}

bool CopyFromBuild(const wchar_t *name, const std::wstring &to)
{
    return CopyFileW((ProgramFolder() + name).c_str(), to.c_str(), FALSE) != 0;
}

// A host folder with its panel folder panel\wpn\; no trailing backslash in
// Quoted(), since before a closing quote it would escape it.
struct HostFolder {
    TempDir Dir;
    HostFolder()
    {
        REQUIRE(CreateDirectoryW((Dir / L"panel").c_str(), nullptr));
        REQUIRE(CreateDirectoryW((Dir / L"panel\\wpn").c_str(), nullptr));
    }
    std::wstring Path() const { return Dir.Path().substr(0, Dir.Path().size() - 1); }
    std::wstring Quoted(const wchar_t *under = L"") const { return L"\"" + Path() + under + L"\""; }
};

// The names of the same class member as GCC and as MSVC spell them, for
// every member the adaptor imports and the other compiler's library exports.
const char *const SameMember[][2] = {
    {"_ZN5OMisc11IsFileExistEPKw", "?IsFileExist@OMisc@@SA_NPB_W@Z"},
    {"_ZN7OObjectC2Ev", "??0OObject@@QAE@XZ"},
    {"_ZN7OStringC1EPKw", "??0OString@@QAE@PB_W@Z"},
    {"_ZN7OStringC1Ev", "??0OString@@QAE@XZ"},
    {"_ZN7OStringD1Ev", "??1OString@@QAE@XZ"},
    {"_ZN7OStringpLERKS_", "??YOString@@QAEAAV0@ABV0@@Z"},
    {"_ZN9OCharConv3a2tEPKc", "?a2t@OCharConv@@QAEPB_WPBD@Z"},
    {"_ZN9OCharConvC1Ev", "??0OCharConv@@QAE@XZ"},
};

// The two example names bridgecheck shows, each on a line of its own after
// four blanks, are one member's.
void CheckSameMember(const std::string &output)
{
    std::vector<std::string> names;
    for (size_t at = output.find("\n    "); at != std::string::npos; at = output.find("\n    ", at + 1))
        names.push_back(output.substr(at + 5, output.find('\r', at) - at - 5));
    REQUIRE(names.size() == 2);
    CAPTURE(names[0]);
    CAPTURE(names[1]);
    bool paired = false;
    for (const auto &pair : SameMember)
        paired = paired || (names[0] == pair[0] && names[1] == pair[1]);
    CHECK(paired);
}

} // namespace

TEST_CASE("bridgecheck speaks the language the locale under test asks for")
{
    const char *expect = getenv("TUFT_EXPECT_UI");
    REQUIRE(expect);
    CHECK(Japanese() == (strcmp(expect, "ja") == 0));
}

TEST_CASE("bridgecheck: the host library, and the plug-in each adaptor copy looks for")
{
    std::string standIn;
    REQUIRE(ReadFileBytes(ProgramFolder() + L"OstrelLib.dll", standIn));
    const Line compatible = {
        "TuftlingPanel.dll fits this host: its OstrelLib.dll has all 14 names the adaptor needs.",
        u8"TuftlingPanel.dll はこのホストで使えます。ホストの OstrelLib.dll に、アダプタが使う 14 個の名前が"
        u8"すべてあります。"};
    const Line ready = {"TuftlingPanel.wpn is ready: TuftlingPanel.dll will show it in the host.",
                        u8"TuftlingPanel.wpn は使えます。TuftlingPanel.dll がホストに表示します。"};
    const Line unreadable = {"The host's OstrelLib.dll cannot be used: it is damaged, or not a DLL.",
                             u8"ホストの OstrelLib.dll は使えません。壊れているか、DLL ではありません。"};
    struct Case {
        const char *name;
        const wchar_t *library;   // from the build, copied as OstrelLib.dll; or null:
        std::string libraryBytes; // these bytes as OstrelLib.dll, when not empty
        const wchar_t *plugin;    // from the build, as panel\wpn\TuftlingPanel.wpn; null: none
        bool panels;              // --panels HOST\panel, else the same by default
        DWORD exit;
        Line first;
        std::vector<std::string> says;
        Line also = {nullptr, nullptr}; // a line after the first, when given
    } cases[] = {
        {"the stand-in", L"OstrelLib.dll", "", L"TuftlingPanel.wpn", false, 0, compatible,
         {"\\TuftlingPanel.dll\r\n", "\\OstrelLib.dll\r\n"}},
        {"a library built by another compiler", L"OtherOstrelLib.dll", "", L"TuftlingPanel.wpn", false, 1,
         {"TuftlingPanel.dll cannot be used by this host: its OstrelLib.dll was built by another compiler, so the "
          "adaptor must be built again for this host.",
          u8"TuftlingPanel.dll はこのホストでは使えません。ホストの OstrelLib.dll は別のコンパイラーで作られている"
          u8"ため、アダプタをこのホスト用に作り直す必要があります。"},
         {"GCC (mingw-w64)", "MSVC", "\n    _ZN", "\n    ?", "README", "PanelBridge and the newer host's library"}},
        {"no host library", nullptr, "", nullptr, false, 1,
         {"This is not the newer host's folder: there is no OstrelLib.dll in it.",
          u8"ここは新しいホストのフォルダーではありません。OstrelLib.dll がありません。"},
         {"TuftlingPanel.wpn"}},
        {"a text file as the host library", nullptr, "not a DLL\r\n", nullptr, false, 1, unreadable,
         {"\\OstrelLib.dll: "}},
        {"the host library cut short", nullptr, standIn.substr(0, 1024), nullptr, false, 1, unreadable,
         {"\\OstrelLib.dll: "}},
        {"the plug-in in the panel folder", L"OstrelLib.dll", "", L"TuftlingPanel.wpn", true, 0, compatible,
         {"\\panel\\wpn\\TuftlingPanel.wpn"}, ready},
        {"no plug-in there", L"OstrelLib.dll", "", nullptr, true, 1,
         {"TuftlingPanel.dll has no plug-in to show: there is no TuftlingPanel.wpn in the panel folder. Copy the "
          "plug-in there, or delete TuftlingPanel.dll if you do not use it.",
          u8"TuftlingPanel.dll が表示するプラグインがありません。パネルフォルダーに TuftlingPanel.wpn がありません。"
          u8"プラグインをそこへコピーするか、使わないなら TuftlingPanel.dll を削除してください。"},
         {"\\panel\\wpn\\TuftlingPanel.wpn", u8"WpnAdaptor プラグインの使い方"}},
        {"a plug-in without WPN_Initialize", L"OstrelLib.dll", "", L"FakeNoInit.wpn", false, 1,
         {"TuftlingPanel.wpn cannot be used: it is not a panel plug-in of the older kind. Check that it is the "
          "right file, or ask its author.",
          u8"TuftlingPanel.wpn は使えません。古い種類のパネルプラグインではありません。正しいファイルか確かめるか、"
          u8"作者に尋ねてください。"},
         {"\\panel\\wpn\\TuftlingPanel.wpn: ", " WPN_Initialize"}},
        {"a plug-in with the wrong information byte", L"OstrelLib.dll", "", L"FakeBadInfo.wpn", true, 1,
         {"TuftlingPanel.wpn cannot be used: it says it is not a plug-in this adaptor can show. Ask its author for "
          "a panel plug-in of the older kind.",
          u8"TuftlingPanel.wpn は使えません。このアダプタが表示できるプラグインではない、とプラグイン自身が答えて"
          u8"います。作者に古い種類のパネルプラグインを頼んでください。"},
         {"WPN_GetPluginInfo", " 0x0100", "0x01"}},
#if TUFT_HAVE_FAKE64
        {"a 64-bit plug-in", L"OstrelLib.dll", "", L"Fake64.wpn", true, 1,
         {"TuftlingPanel.wpn cannot be used: it was built for 64-bit hosts; ask its author for a 32-bit build.",
          u8"TuftlingPanel.wpn は使えません。64 ビットのホスト用に作られています。作者に 32 ビット版を頼んで"
          u8"ください。"},
         {"\\panel\\wpn\\TuftlingPanel.wpn: ", "64-bit x86-64"}},
        {"a 64-bit host library", L"Fake64.wpn", "", nullptr, false, 1,
         {"This host cannot use the adaptor or any old panel plug-in: they are 32-bit, and this host is not.",
          u8"このホストではアダプタも古いパネルプラグインも使えません。これらは 32 ビット用で、このホストは "
          u8"32 ビットではありません。"},
         {"\\OstrelLib.dll: ", "64-bit x86-64"}},
#endif
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.name));
        HostFolder host;
        REQUIRE(CopyFromBuild(L"PanelBridge.dll", host.Dir / L"TuftlingPanel.dll"));
        if (c.library)
            REQUIRE(CopyFromBuild(c.library, host.Dir / L"OstrelLib.dll"));
        else if (!c.libraryBytes.empty())
            REQUIRE(WriteFileBytes(host.Dir / L"OstrelLib.dll", c.libraryBytes));
        if (c.plugin)
            REQUIRE(CopyFromBuild(c.plugin, host.Dir / L"panel\\wpn\\TuftlingPanel.wpn"));
        Run run = BridgeCheck(host.Quoted() + (c.panels ? L" --panels " + host.Quoted(L"\\panel") : L""));
        CAPTURE(run.Output);
        CHECK(run.ExitCode == c.exit);
        CHECK(run.FirstLine() == InUserLanguage(c.first));
        for (const std::string &text : c.says)
            CHECK_MESSAGE(run.Says(text), text);
        if (c.also.English)
            CHECK_MESSAGE(run.Says("\n" + InUserLanguage(c.also) + "\r\n"), InUserLanguage(c.also));
        // A plug-in is never ready when its adaptor cannot be used.
        if (c.exit)
            CHECK_FALSE(run.Says(InUserLanguage(ready)));
        if (c.library && wcscmp(c.library, L"OtherOstrelLib.dll") == 0)
            CheckSameMember(run.Output);
    }
}

TEST_CASE("bridgecheck pairs the adaptor copies in the host's folder with the plug-ins in its panel folder")
{
    struct Case {
        const char *name;
        std::vector<const wchar_t *> copies;     // PanelBridge.dll copied under these names
        std::vector<const wchar_t *> plugins;    // panel\wpn\NAME, each a copy of the build's NAME
        DWORD exit;
        Line first;
        std::vector<std::string> says;
    } cases[] = {
        {"every plug-in with its copy", {L"TuftlingPanel.dll", L"HelloPanel.dll"},
         {L"TuftlingPanel.wpn", L"HelloPanel.wpn"}, 0,
         {"HelloPanel.dll fits this host: its OstrelLib.dll has all 14 names the adaptor needs.",
          u8"HelloPanel.dll はこのホストで使えます。ホストの OstrelLib.dll に、アダプタが使う 14 個の名前が"
          u8"すべてあります。"},
         {"\\TuftlingPanel.dll\r\n", "\\panel\\wpn\\HelloPanel.wpn", "\\panel\\wpn\\TuftlingPanel.wpn"}},
        {"a plug-in without a copy of its name", {L"TuftlingPanel.dll"}, {L"TuftlingPanel.wpn", L"HelloPanel.wpn"}, 1,
         {"HelloPanel.wpn will not show in the host: it has no adaptor. Copy PanelBridge.dll from the package into "
          "the host's folder and name the copy HelloPanel.dll.",
          u8"HelloPanel.wpn はホストに表示されません。このプラグイン用のアダプタがありません。パッケージの "
          u8"PanelBridge.dll をホストのフォルダーにコピーし、名前を HelloPanel.dll にしてください。"},
         {"\\panel\\wpn\\HelloPanel.wpn\r\n", "\\HelloPanel.dll\r\n"}},
        {"a copy without its plug-in", {L"TuftlingPanel.dll", L"HelloPanel.dll"}, {L"TuftlingPanel.wpn"}, 1,
         {"HelloPanel.dll has no plug-in to show: there is no HelloPanel.wpn in the panel folder. Copy the plug-in "
          "there, or delete HelloPanel.dll if you do not use it.",
          u8"HelloPanel.dll が表示するプラグインがありません。パネルフォルダーに HelloPanel.wpn がありません。"
          u8"プラグインをそこへコピーするか、使わないなら HelloPanel.dll を削除してください。"},
         {"\\panel\\wpn\\HelloPanel.wpn"}},
        {"no copy at all", {}, {L"TuftlingPanel.wpn"}, 1,
         {"There is no adaptor in this host's folder: copy PanelBridge.dll from the package into it, once for each "
          "plug-in, named after the plug-in.",
          u8"このホストのフォルダーにアダプタがありません。パッケージの PanelBridge.dll をプラグインごとに 1 つ、"
          u8"プラグインと同じ名前でコピーしてください。"},
         {"--package", "TuftlingPanel.dll"}},
        {"the adaptor under its own name", {L"PanelBridge.dll"}, {L"TuftlingPanel.wpn"}, 1,
         {"PanelBridge.dll shows no plug-in under this name: rename it after the plug-in it is for, as "
          "TuftlingPanel.dll for TuftlingPanel.wpn.",
          u8"PanelBridge.dll は、この名前のままではどのプラグインも表示しません。表示するプラグインと同じ名前に"
          u8"してください (TuftlingPanel.wpn なら TuftlingPanel.dll)。"},
         {"\\panel\\wpn\\PanelBridge.wpn"}},
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.name));
        HostFolder host;
        REQUIRE(CopyFromBuild(L"OstrelLib.dll", host.Dir / L"OstrelLib.dll"));
        for (const wchar_t *copy : c.copies)
            REQUIRE(CopyFromBuild(L"PanelBridge.dll", host.Dir / copy));
        for (const wchar_t *plugin : c.plugins)
            REQUIRE(CopyFromBuild(plugin, host.Dir / L"panel\\wpn\\" + plugin));
        Run run = BridgeCheck(host.Quoted());
        CAPTURE(run.Output);
        CHECK(run.ExitCode == c.exit);
        CHECK(run.FirstLine() == InUserLanguage(c.first));
        for (const std::string &text : c.says)
            CHECK_MESSAGE(run.Says(text), text);
        // The adaptor beside bridgecheck.exe is checked only when asked for.
        CHECK_FALSE(run.Says(Narrow(ProgramFolder())));
    }
}

TEST_CASE("bridgecheck --package checks the adaptor beside it against a host that has none yet")
{
    HostFolder host;
    REQUIRE(CopyFromBuild(L"OstrelLib.dll", host.Dir / L"OstrelLib.dll"));
    Run run = BridgeCheck(host.Quoted() + L" --package");
    CAPTURE(run.Output);
    CHECK(run.ExitCode == 0);
    CHECK(run.FirstLine() ==
          InUserLanguage({"PanelBridge.dll fits this host: its OstrelLib.dll has all 14 names the adaptor needs.",
                          u8"PanelBridge.dll はこのホストで使えます。ホストの OstrelLib.dll に、アダプタが使う 14 "
                          u8"個の名前がすべてあります。"}));
    CHECK(run.Says(Narrow(ProgramFolder()) + "PanelBridge.dll\r\n"));
}

TEST_CASE("bridgecheck: a wrong command line names what it did not understand and exits with 2")
{
    HostFolder host;
    const Line noSuchFolder = {"There is no folder C:\\no\\such\\folder.",
                               u8"フォルダー C:\\no\\such\\folder がありません。"};
    const Line needsFolder = {"The option --panels needs a folder after it.",
                              u8"オプション --panels の後にフォルダーを指定してください。"};
    const char *const version = "bridgecheck " TUFT_VERSION_SHORT " (Tuftling)";
    struct Case {
        std::wstring line;
        DWORD exit;
        Line first;
    } cases[] = {
        {L"--frobnicate", 2,
         {"bridgecheck does not know the option --frobnicate.",
          u8"bridgecheck に --frobnicate というオプションはありません。"}},
        {L". other", 2,
         {"bridgecheck takes one host folder, and other is a second one. A folder name with blanks needs quotes "
          "around it.",
          u8"ホストのフォルダーは 1 つだけです。other は 2 つ目です。空白を含むフォルダー名は \"\" で"
          u8"囲んでください。"}},
        {L"C:\\no\\such\\folder", 2, noSuchFolder},
        {L". --panels", 2, needsFolder},
        {L". --panels --package", 2, needsFolder},
        {L". --panels C:\\no\\such\\folder", 2, noSuchFolder},
        {host.Quoted() + L" --panels " + host.Quoted(L"\\panel\\wpn"), 2,
         {"--panels was given the wpn folder itself: give it the folder above, which holds wpn.",
          u8"--panels に wpn フォルダーそのものが指定されました。その 1 つ上の、wpn を含むフォルダーを指定して"
          u8"ください。"}},
        {L"--version", 0, {version, version}},
        {L"--help", 0,
         {"usage: bridgecheck [HOST_FOLDER] [--panels PANEL_FOLDER] [--package]",
          u8"使い方: bridgecheck [ホストのフォルダー] [--panels パネルのフォルダー] [--package]"}},
    };
    for (const Case &c : cases) {
        Run run = BridgeCheck(c.line);
        CAPTURE(Narrow(c.line));
        CAPTURE(run.Output);
        CHECK(run.ExitCode == c.exit);
        CHECK(run.FirstLine() == InUserLanguage(c.first));
        if (c.exit == 2)
            CHECK(run.Says("--help"));
    }
    Run wpn = BridgeCheck(host.Quoted() + L" --panels " + host.Quoted(L"\\panel\\wpn"));
    CHECK(wpn.Says(Narrow(host.Dir.Path()) + "panel\\\r\n")); // the folder it meant
}

// A PE image made from bytes: one section holding an import directory for
// OstrelLib.dll whose lookup table takes #7 by ordinal, "Named" by name and
// #300 by ordinal, as MSVC-built programs import from MSVC-built libraries.
std::string ImageImportingByOrdinal(bool wide)
{
    std::string image(0x400, '\0');
    auto put16 = [&](size_t at, uint32_t v) { image[at] = (char)v, image[at + 1] = (char)(v >> 8); };
    auto put32 = [&](size_t at, uint32_t v) { put16(at, v & 0xFFFF), put16(at + 2, v >> 16); };
    const size_t pe = 0x40, optional = pe + 24, optionalSize = wide ? 240 : 224;
    const size_t directories = optional + (wide ? 112 : 96), table = optional + optionalSize;
    const uint32_t section = 0x1000, raw = 0x200, thunks = section + 0x40, dll = section + 0x100;
    put16(0, 0x5A4D);
    put32(0x3C, pe);
    put32(pe, 0x4550);
    put16(pe + 4, wide ? 0x8664 : 0x014C);
    put16(pe + 6, 1);
    put16(pe + 20, optionalSize);
    put16(optional, wide ? 0x20B : 0x10B);
    put32(directories - 4, 16);
    put32(directories + 8, section); // the import directory
    put32(directories + 12, 40);
    memcpy(&image[table], ".idata", 6);
    put32(table + 8, 0x200);
    put32(table + 12, section);
    put32(table + 16, 0x200);
    put32(table + 20, raw);
    put32(raw, thunks); // the descriptor's lookup table, name and address table
    put32(raw + 12, dll);
    put32(raw + 16, thunks);
    const size_t step = wide ? 8 : 4, flag = wide ? 7 : 3; // the ordinal flag: the top bit of the entry
    const struct {
        uint32_t Value;
        bool ByOrdinal;
    } entries[] = {{7, true}, {section + 0x120, false}, {300, true}};
    for (size_t i = 0; i < 3; ++i) {
        put32(raw + 0x40 + i * step, entries[i].Value);
        if (entries[i].ByOrdinal)
            image[raw + 0x40 + i * step + flag] = (char)0x80;
    }
    memcpy(&image[raw + 0x100], "OstrelLib.dll", 13);
    memcpy(&image[raw + 0x122], "Named", 5); // after a two-byte hint
    return image;
}

TEST_CASE("the PE reader names imports by ordinal as #N in 32-bit and 64-bit images")
{
    for (bool wide : {false, true}) {
        CAPTURE(wide);
        const PeImage image = ReadPeImage(ImageImportingByOrdinal(wide));
        REQUIRE(image.Valid);
        CHECK(image.Machine == (wide ? 0x8664 : PE_MACHINE_I386));
        const PeImport *imports = FindImport(image, "ostrellib.DLL");
        REQUIRE(imports);
        CHECK(imports->Names == std::vector<std::string>{"#7", "Named", "#300"});
    }
}
