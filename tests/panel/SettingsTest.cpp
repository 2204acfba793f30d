/* The settings file as a user and a host see it: what a panel reads at
 * creation and writes back at destruction, through the real plug-in. */
#include "doctest.h"
#include "PanelHarness.h"
#include "TestSupport.h"

namespace {

// The six keys in the order a new file holds them, with the values a first
// run writes.
const struct {
    const char *key, *value;
} Defaults[] = {{"Count", "0"},         {"Hide", "1"},          {"Always", "0"},
                {"DanceTimer", "1200"}, {"HideTimer", "180000"}, {"Size", "10"}};

// Creates and destroys one panel with the folder as the settings folder.
void RunPanelOnce(const std::string &folder)
{
    PanelHarness host;
    REQUIRE(host.Error().Step == LoadStep::None);
    host.SetSettingsFolder(folder);
    ParentWindow parent;
    REQUIRE(host.Create(parent.get()));
    host.Destroy();
}

// The names in the folder, each followed by a blank, in the order listed.
std::string Names(const TempDir &dir)
{
    std::string names;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((dir / L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return names;
    do {
        std::wstring name = found.cFileName;
        if (name != L"." && name != L"..")
            names += Narrow(name) + " ";
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

std::string Value(const TempDir &dir, const char *key)
{
    return IniValue(dir / L"TuftlingPanel.ini", "Tuftling", key);
}

} // namespace

TEST_CASE("a first run writes all six keys with their defaults, in their order")
{
    TempDir dir;
    RunPanelOnce(dir.Ansi());
    // Compared whole, as a person comparing two settings files sees them.
    std::string expected = "[Tuftling]\r\n", written;
    for (const auto &d : Defaults)
        expected += std::string(d.key) + "=" + d.value + "\r\n";
    REQUIRE(ReadFileBytes(dir / L"TuftlingPanel.ini", written));
    CHECK(written == expected);
}

TEST_CASE("stored values come back as read, except a Size of 0")
{
    struct Case {
        const char *key, *stored, *written;
    } cases[] = {
        {"Size", "0", "10"},     {"Size", "12", "12"},         {"Hide", "5", "5"},
        {"DanceTimer", "0", "0"}, {"HideTimer", "-1", "-1"},    {"Count", "2147483647", "2147483647"},
        {"Always", "7", "7"},    {"Count", "12abc", "12"},     {"Size", "-3", "-3"},
    };
    for (const Case &c : cases) {
        std::string key = c.key, stored = c.stored;
        CAPTURE(key);
        CAPTURE(stored);
        TempDir dir;
        std::string ini = std::string("[Tuftling]\r\n") + c.key + "=" + c.stored + "\r\n";
        REQUIRE(WriteFileBytes(dir / L"TuftlingPanel.ini", ini));
        RunPanelOnce(dir.Ansi());
        CHECK(Value(dir, c.key) == c.written);
    }
}

TEST_CASE("other sections and keys in the file are left alone")
{
    TempDir dir;
    REQUIRE(WriteFileBytes(dir / L"TuftlingPanel.ini",
                           "[Other]\r\nName=kept\r\n[Tuftling]\r\nCount=3\r\nColour=blue\r\n"));
    RunPanelOnce(dir.Ansi());
    CHECK(IniValue(dir / L"TuftlingPanel.ini", "Other", "Name") == "kept");
    CHECK(Value(dir, "Colour") == "blue");
    CHECK(Value(dir, "Count") == "3");
}

TEST_CASE("a folder ending in a backslash is used as composed")
{
    TempDir dir; // its path already ends in a backslash: the paths get two
    RunPanelOnce(dir.Ansi());
    CHECK(FileExists(dir / L"TuftlingPanel.ini"));
    std::string noSlash = dir.Ansi().substr(0, dir.Ansi().size() - 1);
    DeleteFileW((dir / L"TuftlingPanel.ini").c_str());
    RunPanelOnce(noSlash);
    CHECK(FileExists(dir / L"TuftlingPanel.ini"));
}

TEST_CASE("a second panel in the same module reads the file again")
{
    TempDir dir;
    PanelHarness host;
    host.SetSettingsFolder(dir.Ansi());
    ParentWindow parent;
    REQUIRE(host.Create(parent.get()));
    host.Destroy();
    CHECK(Value(dir, "Count") == "0");

    // Edited between panels: the second panel starts from the edit.
    WritePrivateProfileStringA("Tuftling", "Count", "42", Narrow(dir / L"TuftlingPanel.ini").c_str());
    WritePrivateProfileStringA("Tuftling", "Hide", "0", Narrow(dir / L"TuftlingPanel.ini").c_str());
    REQUIRE(host.Create(parent.get()));
    host.Destroy();
    CHECK(Value(dir, "Count") == "42");
    CHECK(Value(dir, "Hide") == "0");
    CHECK(host.Log().Requests == 2);
    CHECK(host.Log().Frees == 2);
}

TEST_CASE("a settings folder of 281 characters is read and written, a longer one neither")
{
    // 281 characters is the longest folder whose settings path fits the
    // panel's 300-byte paths. A longer one must not overflow them: the panel
    // runs on its defaults and neither reads nor writes. Every text names the
    // same real folder, padded with "x\..\" steps, which hold the same
    // settings file: the two sides of the boundary differ only in length.
    TempDir dir;
    REQUIRE(CreateDirectoryW((dir / L"x").c_str(), nullptr));
    const std::string stored = "[Tuftling]\r\nCount=77\r\n";
    for (size_t length : {281u, 282u, 1000u}) {
        CAPTURE(length);
        std::string folder = dir.Ansi();
        while (folder.size() + 5 <= length)
            folder += "x\\..\\";
        folder.append(length - folder.size(), '\\'); // doubled separators are harmless
        REQUIRE(WriteFileBytes(dir / L"TuftlingPanel.ini", stored));

        PanelHarness host;
        host.SetSettingsFolder(folder);
        ParentWindow parent;
        HWND panel = host.Create(parent.get());
        CHECK(panel);
        CHECK(host.Log().Frees == 1);
        host.Destroy();
        CHECK_FALSE(IsWindow(panel));

        std::string written;
        REQUIRE(ReadFileBytes(dir / L"TuftlingPanel.ini", written));
        if (length == 281) { // Count read, all six keys written back
            CHECK(Value(dir, "Count") == "77");
            CHECK(Value(dir, "Size") == "10");
        } else {
            CHECK(written == stored);
            CHECK(Names(dir) == "TuftlingPanel.ini x "); // nothing written beside it either
        }
    }
}

TEST_CASE("an unwritable settings folder loses the settings silently")
{
    PanelHarness host;
    host.SetSettingsFolder("C:\\no\\such\\folder\\anywhere\\");
    ParentWindow parent;
    HWND panel = host.Create(parent.get());
    CHECK(panel);
    host.Destroy();
    CHECK_FALSE(FileExists(L"C:\\no\\such\\folder\\anywhere\\TuftlingPanel.ini"));
    for (const auto &d : Defaults)
        CHECK(IniValue(L"C:\\no\\such\\folder\\anywhere\\TuftlingPanel.ini", "Tuftling", d.key).empty());
}
