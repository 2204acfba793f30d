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
    REQUIRE(host.Error() == LoadError::None);
    host.SetSettingsFolder(folder);
    ParentWindow parent;
    REQUIRE(host.Create(parent.get()));
    host.Destroy();
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

TEST_CASE("folder texts too long for the paths are refused safely")
{
    // 281 characters is the longest folder whose settings path fits; longer
    // ones must not overflow the fixed paths: the panel runs on defaults and
    // nothing is written.
    for (size_t length : {281u, 282u, 1000u}) {
        CAPTURE(length);
        TempDir dir;
        std::string folder = dir.Ansi();
        folder.append(length - folder.size(), 'a');
        PanelHarness host;
        host.SetSettingsFolder(folder);
        ParentWindow parent;
        HWND panel = host.Create(parent.get());
        CHECK(panel);
        CHECK(host.Log().Frees == 1);
        host.Destroy();
        CHECK_FALSE(IsWindow(panel));
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
