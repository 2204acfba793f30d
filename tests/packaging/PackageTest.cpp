/* The package a Windows user unpacks (build/package/Tuftling): every file is
 * there, the adaptor's identity comes from its file title, the plug-in loads,
 * the package's bridgecheck finds its adaptor compatible with the stand-in
 * host's library, the sample art file reads into the sections it promises
 * and checks clean with the package's own TuftlingArt, and the guides in
 * English and Japanese name this build's version and the same files. */
#include "doctest.h"
#include "TestSupport.h"

#include "ArtReader.h"
#include "OstrelInterfaces.h"
#include "OstrelLib.h"
#include "TuftlingVersion.h"
#include "PanelLoader.h"

#include <set>
#include <sstream>
#include <stdlib.h>

namespace {

std::wstring PackageFolder()
{
    return ProgramFolder() + L"..\\package\\Tuftling\\";
}

typedef OIBase *(WINAPI *CreateInstanceFn)(uint32_t);

} // namespace

TEST_CASE("the package holds the files a user and an art author need")
{
    for (const wchar_t *name : {L"TuftlingPanel.wpn", L"TuftlingPanel.dll", L"PanelBridge.dll", L"TuftlingPanel.ico",
                                L"TuftlingAA-sample.txt", L"INSTALL.txt", L"INSTALL-ja.txt", L"CHANGES.txt",
                                L"LICENSE.txt", L"TuftlingArt.exe", L"TuftlingAA-builtin.txt", L"bridgecheck.exe"}) {
        CAPTURE(Narrow(name));
        std::string bytes;
        CHECK(ReadFileBytes(PackageFolder() + name, bytes));
        CHECK(bytes.size() > 100);
    }
    std::string icon;
    ReadFileBytes(PackageFolder() + L"TuftlingPanel.ico", icon);
    CHECK(icon.substr(0, 4) == std::string("\0\0\1\0", 4)); // an icon resource file
    // The panel reads TuftlingAA.txt: the sample must not replace the
    // built-in drawings until the user copies it under that name.
    CHECK_FALSE(FileExists(PackageFolder() + L"TuftlingAA.txt"));
}

TEST_CASE("INSTALL.txt and INSTALL-ja.txt read in order: sections numbered 1, 2, ..., each naming only earlier ones")
{
    for (const wchar_t *guide : {L"INSTALL.txt", L"INSTALL-ja.txt"}) {
        CAPTURE(Narrow(guide));
        std::string text;
        REQUIRE(ReadFileBytes(PackageFolder() + guide, text));
        std::istringstream lines(text);
        std::string previous;
        int current = 0;
        for (std::string line; std::getline(lines, line); previous = line) {
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            // A heading is "N. Title" underlined with dashes.
            if (!line.empty() && line.find_first_not_of('-') == std::string::npos && atoi(previous.c_str()) > 0) {
                CAPTURE(previous);
                CHECK(atoi(previous.c_str()) == current + 1);
                current = atoi(previous.c_str());
            }
            CAPTURE(line);
            for (size_t at = line.find("section "); at != std::string::npos; at = line.find("section ", at + 1)) {
                int named = atoi(line.c_str() + at + 8);
                CHECK((named == 0 || named < current));
            }
            // INSTALL-ja.txt names a section as "N 章".
            const char chapter[] = " \xE7\xAB\xA0";
            for (size_t at = line.find(chapter); at != std::string::npos; at = line.find(chapter, at + 1)) {
                const size_t digits = line.find_last_not_of("0123456789", at - 1) + 1;
                CHECK(digits < at);
                CHECK(atoi(line.c_str() + digits) < current);
            }
        }
        CHECK(current >= 13);
    }
}

TEST_CASE("the plug-in stays small: the newer host loads it again for every panel")
{
    std::string bytes;
    REQUIRE(ReadFileBytes(PackageFolder() + L"TuftlingPanel.wpn", bytes));
    CHECK(bytes.size() < 200 * 1024);
}

TEST_CASE("the adaptor in the package names itself after the mascot")
{
    HMODULE bridge = LoadLibraryW((PackageFolder() + L"TuftlingPanel.dll").c_str());
    REQUIRE(bridge);
    auto create = (CreateInstanceFn)(void *)GetProcAddress(bridge, "OPI_CreateInstance");
    REQUIRE((create != nullptr));
    OIBase *base = create(0);
    OIPlugin *plugin = nullptr;
    REQUIRE(base->QueryInterface(OID_PLUGIN, (void **)&plugin));
    CHECK(plugin->Initialize());
    wchar_t *id = nullptr;
    plugin->GetId(&id);
    REQUIRE(id);
    CHECK(std::wstring(id) == L"{C46E8446-BD99-4ef6-BE49-6D3751BF28DD-TuftlingPanel}");
    OlxGetMemory()->Free(id);
    plugin->Release();
    CHECK(base->Release() == 0);
    FreeLibrary(bridge);
}

TEST_CASE("the plug-in in the package passes the contract's loading steps")
{
    PanelCallbacks callbacks;
    LoadedPlugin plugin;
    CHECK(LoadPanelPlugin((PackageFolder() + L"TuftlingPanel.wpn").c_str(), &callbacks, &plugin) .Step == LoadStep::None);
    CHECK(plugin.InfoValue == 0x6701);
    UnloadPanelPlugin(&plugin);
}

TEST_CASE("the package's bridgecheck, run before installing, finds the package's adaptor compatible")
{
    // A newer host's folder with only its library: with --package, the
    // adaptor checked is the one beside bridgecheck.exe, about to be installed.
    TempDir host;
    REQUIRE(CopyFileW((ProgramFolder() + L"OstrelLib.dll").c_str(), (host / L"OstrelLib.dll").c_str(), FALSE));
    ChildProcess check(PackageFolder() + L"bridgecheck.exe", L"\"" + host.Path() + L".\" --package");
    REQUIRE(check.Started());
    check.Finish();
    CAPTURE(check.Output);
    CHECK(check.ExitCode == 0);
    CHECK(check.Output.find("package\\Tuftling\\TuftlingPanel.dll\r\n") != std::string::npos);
}

TEST_CASE("the sample art file shows every section and checks clean")
{
    ChildProcess check(PackageFolder() + L"TuftlingArt.exe",
                       L"check \"" + PackageFolder() + L"TuftlingAA-sample.txt\"");
    REQUIRE(check.Started());
    check.Finish();
    CAPTURE(check.Output);
    CHECK(check.ExitCode == 0);
    CHECK(check.Output.find(": 0 errors, 0 warnings") != std::string::npos);

    std::string bytes;
    REQUIRE(ReadFileBytes(PackageFolder() + L"TuftlingAA-sample.txt", bytes));
    ArtBytes in(bytes);
    FrameStore store;
    ReadArt(in, store);
    const std::vector<std::string> frames = store.Texts();
    REQUIRE(frames.size() == 5); // normal, hide and three dance frames
    for (const std::string &frame : frames) {
        CHECK_FALSE(frame.empty());
        CHECK(frame.find('\r') == std::string::npos); // CR LF read as LF
    }
    CHECK(frames[2].find("Tuftling") != std::string::npos);
    // The notes around the sections are in no frame.
    for (const std::string &frame : frames)
        CHECK(frame.find("ignored") == std::string::npos);
}

namespace {

std::string PackageText(const wchar_t *name)
{
    std::string text;
    REQUIRE(ReadFileBytes(PackageFolder() + name, text));
    return text;
}

// The file names a guide mentions: a name of letters, digits, '_' and '-'
// with one of the package's extensions.
std::set<std::string> FilesNamed(const std::string &text)
{
    std::set<std::string> names;
    auto namePart = [](char c) { return isalnum((unsigned char)c) || c == '_' || c == '-'; };
    for (const char *ext : {".wpn", ".dll", ".ico", ".exe", ".txt", ".ini"})
        for (size_t at = text.find(ext); at != std::string::npos; at = text.find(ext, at + 1)) {
            size_t start = at;
            while (start > 0 && namePart(text[start - 1]))
                --start;
            if (start < at && (at + 4 == text.size() || !isalnum((unsigned char)text[at + 4])))
                names.insert(text.substr(start, at + 4 - start));
        }
    return names;
}

} // namespace

TEST_CASE("the guides are UTF-8 with a byte order mark and name this build's version")
{
    const std::string bom = "\xEF\xBB\xBF";
    const std::string titles[][2] = {{"INSTALL.txt", bom + "Tuftling " TUFT_VERSION_SHORT " - the mascot panel\r\n"},
                                     {"INSTALL-ja.txt", bom + "Tuftling " TUFT_VERSION_SHORT " - "},
                                     {"CHANGES.txt", bom + "Tuftling: what each version brought\r\n"}};
    for (const auto &title : titles) {
        CAPTURE(title[0]);
        const std::string text = PackageText(std::wstring(title[0].begin(), title[0].end()).c_str());
        CHECK(text.compare(0, title[1].size(), title[1]) == 0);
        CHECK(MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), (int)text.size(), nullptr, 0) > 0);
        CHECK(text.find("@VERSION@") == std::string::npos);
    }
    CHECK(PackageText(L"INSTALL.txt").find("This is Tuftling " TUFT_VERSION_SHORT ";") != std::string::npos);
    // The newest version CHANGES.txt describes is this one.
    std::istringstream changes(PackageText(L"CHANGES.txt"));
    std::string line;
    while (std::getline(changes, line) && !(isdigit((unsigned char)line[0]) && line.find('.') != std::string::npos)) {
    }
    CHECK(line.compare(0, sizeof TUFT_VERSION_SHORT, TUFT_VERSION_SHORT " ") == 0);
}

TEST_CASE("INSTALL.txt and INSTALL-ja.txt describe the same files")
{
    const std::set<std::string> english = FilesNamed(PackageText(L"INSTALL.txt"));
    const std::set<std::string> japanese = FilesNamed(PackageText(L"INSTALL-ja.txt"));
    for (const std::string &name : english)
        CHECK_MESSAGE(japanese.count(name), (name + " is in INSTALL.txt only"));
    for (const std::string &name : japanese)
        CHECK_MESSAGE(english.count(name), (name + " is in INSTALL-ja.txt only"));
    // Among them every file of the package.
    for (const char *name : {"TuftlingPanel.wpn", "TuftlingPanel.dll", "PanelBridge.dll", "TuftlingPanel.ico",
                             "bridgecheck.exe", "TuftlingArt.exe", "TuftlingAA-sample.txt", "TuftlingAA-builtin.txt",
                             "INSTALL.txt", "INSTALL-ja.txt", "CHANGES.txt", "LICENSE.txt"})
        CHECK_MESSAGE(english.count(name), name);
}

TEST_CASE("the package's PanelBridge.dll is the adaptor its TuftlingPanel.dll is")
{
    CHECK(PackageText(L"PanelBridge.dll") == PackageText(L"TuftlingPanel.dll"));
}
