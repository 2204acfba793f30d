/* TuftlingPanel against hostile inputs from its files and its host: settings
 * values that are not plain numbers, settings files it cannot read or write,
 * art files of noise, NULs, CRs or great size, a folder in the art file's
 * place, folder texts that are long or not ASCII, and a frame too large for
 * the memory left. In every case the panel is made, works and goes again
 * without a crash; what it reads and writes is checked on disk, on the
 * clipboard and in its pixels. */
#include "doctest.h"
#include "PanelHarness.h"
#include "Picture.h"
#include "TestSupport.h"

#include <stdint.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

// The six settings, in the order a file holds them, with their defaults.
enum { COUNT, HIDE, ALWAYS, DANCE_TIMER, HIDE_TIMER, FONT_SIZE, SETTINGS };
const struct {
    const char *Key;
    int32_t Default;
} Settings[SETTINGS] = {{"Count", 0},           {"Hide", 1},           {"Always", 0},
                        {"DanceTimer", 1200},   {"HideTimer", 180000}, {"Size", 10}};

// The current frame as the copy command puts it on the clipboard.
std::string CopyFrame(HWND panel)
{
    SendMessageW(panel, WM_COMMAND, 20004, 0);
    std::string text;
    bool read = PumpUntil([&] {
        if (!OpenClipboard(nullptr))
            return false;
        if (HANDLE data = GetClipboardData(CF_TEXT)) {
            if (const char *p = (const char *)GlobalLock(data)) {
                text = p;
                GlobalUnlock(data);
            }
        }
        CloseClipboard();
        return true;
    }, 5000);
    REQUIRE(read);
    return text;
}

// One panel over the folder: made, painted, copied from, destroyed.
struct PanelRun {
    bool Made = false;
    std::string Frame;      // the normal frame, copied
    std::string DanceFrame; // after a click, when the click started a dance
};

PanelRun RunPanel(const std::string &folder, bool dance = false)
{
    PanelRun run;
    PanelHarness host;
    REQUIRE(host.Error().Step == LoadStep::None);
    host.SetSettingsFolder(folder);
    ParentWindow parent;
    HWND panel = host.Create(parent.get());
    run.Made = panel != nullptr;
    if (panel) {
        UpdateWindow(panel);
        run.Frame = CopyFrame(panel);
        if (dance) {
            SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
            run.DanceFrame = CopyFrame(panel);
        }
        PumpFor(20);
        CHECK(IsWindow(panel));
    }
    host.Destroy();
    CHECK_FALSE(IsWindow(panel));
    CHECK(host.Log().Freed.size() == host.Log().HandedOut.size());
    return run;
}

std::string BuiltinNormalFrame()
{
    TempDir empty;
    return RunPanel(empty.Ansi()).Frame;
}

std::string Ini(const TempDir &dir, const char *key)
{
    return IniValue(dir / L"TuftlingPanel.ini", "Tuftling", key);
}

} // namespace

TEST_CASE("settings values that are not plain numbers are used and written back as the platform reads them")
{
    // Each text stored under every key, and the number the platform's profile
    // reader makes of it (32-bit wrap-around, leading blanks and signs, hex,
    // digits up to the first other character); an empty value reads as the
    // key's default. The panel uses that number and writes it back, a Size
    // of 0 as 10.
    const int DEFAULT = -999; // read: the key's own default
    const struct {
        const char *text;
        int32_t read;
    } stored[] = {
        {"abc", 0},         {"12abc", 12},           {"-5", -5},          {" 42", 42},
        {"+7", 7},          {"0x10", 16},            {"", DEFAULT},       {"2147483647", 2147483647},
        {"2147483648", INT32_MIN}, {"4294967295", -1}, {"4294967296", 0},  {"99999999999", 1215752191},
        {"-2147483649", 2147483647},
    };
    for (const auto &s : stored) {
        std::string text = s.text;
        CAPTURE(text);
        TempDir dir;
        std::string ini = "[Tuftling]\r\n";
        for (const auto &setting : Settings)
            ini += std::string(setting.Key) + "=" + text + "\r\n";
        REQUIRE(WriteFileBytes(dir / L"TuftlingPanel.ini", ini));
        int32_t used[SETTINGS];
        for (int k = 0; k < SETTINGS; ++k)
            used[k] = s.read == DEFAULT ? Settings[k].Default : s.read;
        if (used[FONT_SIZE] == 0)
            used[FONT_SIZE] = 10;

        PanelRun run = RunPanel(dir.Ansi());
        // A Size the font cannot be made in gives no panel, by design; no other value may.
        if (used[FONT_SIZE] >= 1 && used[FONT_SIZE] <= 1000)
            CHECK(run.Made);
        // Always on with a DanceTimer this short: the panel dances, and may
        // count a few dances within the run, as many as the clock allows.
        const bool dancing = used[ALWAYS] != 0 && used[DANCE_TIMER] >= 0 && used[DANCE_TIMER] < 1000;
        for (int k = 0; k < SETTINGS; ++k) {
            std::string key = Settings[k].Key, written = Ini(dir, Settings[k].Key);
            CAPTURE(key);
            if (k == COUNT && dancing) {
                long long grown = std::stoll(written) - used[COUNT];
                CHECK(grown >= 0);
                CHECK(grown <= 20);
            } else
                CHECK(written == std::to_string(used[k]));
        }
    }
}

TEST_CASE("a settings file held open exclusively reads as defaults and is left as it was")
{
    TempDir dir;
    const std::string ini = "[Tuftling]\r\nCount=77\r\nSize=12\r\nAlways=1\r\n";
    REQUIRE(WriteFileBytes(dir / L"TuftlingPanel.ini", ini));
    {
        HANDLE lock = CreateFileW((dir / L"TuftlingPanel.ini").c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                  OPEN_EXISTING, 0, nullptr);
        REQUIRE(lock != INVALID_HANDLE_VALUE);
        PanelRun run = RunPanel(dir.Ansi());
        CHECK(run.Made);
        CloseHandle(lock);
    }
    std::string after;
    REQUIRE(ReadFileBytes(dir / L"TuftlingPanel.ini", after));
    CHECK(after == ini);
}

TEST_CASE("a settings file that can be read but not written is read, left unchanged, and the panel works")
{
    // Held open by another program that lets others read but not write. (The
    // read-only attribute cannot serve here: under Wine run by root the write
    // goes through it.)
    TempDir dir;
    const std::string ini = "[Tuftling]\r\nCount=5\r\nHide=0\r\nSize=12\r\n";
    std::wstring path = dir / L"TuftlingPanel.ini";
    REQUIRE(WriteFileBytes(path, ini));
    HANDLE lock = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    REQUIRE(lock != INVALID_HANDLE_VALUE);
    {
        PanelHarness host;
        host.SetSettingsFolder(dir.Ansi());
        ParentWindow parent;
        HWND panel = host.Create(parent.get());
        REQUIRE(panel);
        SendMessageW(panel, WM_COMMAND, 20002, 0); // Always on: a change that a write would record
        SendMessageW(panel, WM_COMMAND, 20005, 0); // small
        UpdateWindow(panel);
        CHECK(!CopyFrame(panel).empty());
        host.Destroy();
        CHECK_FALSE(IsWindow(panel));
    }
    CloseHandle(lock);
    std::string after;
    REQUIRE(ReadFileBytes(path, after));
    CHECK(after == ini);
    // And it was read: the next panel over the now writable file keeps Count 5 and Size 12.
    RunPanel(dir.Ansi());
    CHECK(Ini(dir, "Count") == "5");
    CHECK(Ini(dir, "Size") == "12");
}

TEST_CASE("a settings folder that does not exist gives defaults and built-in frames, and is not created")
{
    TempDir dir;
    std::wstring missing = dir / L"absent\\";
    PanelRun run = RunPanel(Narrow(missing));
    CHECK(run.Made);
    CHECK(run.Frame == BuiltinNormalFrame());
    CHECK_FALSE(FileExists(missing));
}

TEST_CASE("hostile art files: the panel reads what the format allows and never fails")
{
    std::string noise;
    srand(1234);
    for (int i = 0; i < 256 * 1024; ++i)
        noise.push_back((char)(rand() >> 3));
    struct Case {
        const char *name;
        std::string bytes;
        const char *frame; // the normal frame expected, or null: anything
    } cases[] = {
        {"binary noise", noise, nullptr},
        {"noise after a section line", "$Normal\n" + noise, nullptr},
        {"only NUL bytes", std::string(4096, '\0'), ""},
        {"NUL inside a line", std::string("$Normal\nab\0cd\nef\n", 17), "ab\nef\n"},
        {"only CRs", std::string(10000, '\r'), ""},
        {"CRs in a section", "$Normal\n" + std::string(5000, '\r'), nullptr},
        {"a Ctrl-Z ends the data", "$Normal\nab\n\x1A" "cd\n", "ab\n"},
    };
    for (const Case &c : cases) {
        std::string name = c.name;
        CAPTURE(name);
        TempDir dir;
        REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", c.bytes));
        PanelRun run = RunPanel(dir.Ansi(), true);
        CHECK(run.Made);
        CHECK(run.Frame.size() <= 1023);
        if (c.frame)
            CHECK(run.Frame == c.frame);
        CHECK(FileExists(dir / L"TuftlingPanel.ini"));
    }
    SUBCASE("the first 1023 CRs of an over-long line become the frame")
    {
        TempDir dir;
        REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", "$Normal\n" + std::string(5000, '\r')));
        CHECK(RunPanel(dir.Ansi()).Frame == std::string(1023, '\r'));
    }
}

TEST_CASE("a large art file is read to its end")
{
    // The soak run sets TUFT_ART_MB to 100; the regular suite keeps it small.
    size_t bytes = (size_t)EnvCount("TUFT_ART_MB", 20) * 1024 * 1024;
    std::string art = "$Normal\nfirst\n$End\n";
    std::string filler(1000, 'x');
    filler.back() = '\n';
    while (art.size() < bytes)
        art += filler; // dropped: no section is open
    art += "$Dance\nlast\n";
    TempDir dir;
    REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", art));
    MESSAGE("art file of " << art.size() / (1024 * 1024) << " MB");
    PanelRun run = RunPanel(dir.Ansi(), true);
    CHECK(run.Made);
    CHECK(run.Frame == "first\n");
    CHECK(run.DanceFrame == "last\n"); // the one dance frame, from the file's very end
}

namespace {

// The address space left, reserved while the object lives, so that an
// allocation too large for the heaps' spare room (a large block gets address
// space of its own) fails. Taken through the allocator's own choice of place,
// the largest ranges first: the system may keep ranges for itself that it
// reports as reserved yet hands out.
class AddressSpaceTaken {
public:
    AddressSpaceTaken()
    {
        taken_.reserve(64 * 1024); // no allocation while taking
        for (SIZE_T size = (SIZE_T)1 << 30; size >= 64 * 1024; size /= 2) {
            while (taken_.size() < taken_.capacity()) {
                void *range = VirtualAlloc(nullptr, size, MEM_RESERVE, PAGE_NOACCESS);
                if (!range)
                    break;
                taken_.push_back(range);
            }
        }
    }
    ~AddressSpaceTaken()
    {
        for (void *range : taken_)
            VirtualFree(range, 0, MEM_RELEASE);
    }
    AddressSpaceTaken(const AddressSpaceTaken &) = delete;
    AddressSpaceTaken &operator=(const AddressSpaceTaken &) = delete;

private:
    std::vector<void *> taken_;
};

} // namespace

TEST_CASE("a frame too large for the memory left draws nothing, the panel stands and draws it later")
{
    // A dance frame of 2 MB: its copy and its UTF-16 form are large blocks.
    std::string line(999, 'x');
    std::string dance;
    while (dance.size() < 2 * 1024 * 1024)
        dance += line + "\n";
    TempDir dir;
    REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", "$Normal\nstand\n$Dance\n" + dance));
    PanelHarness host;
    host.SetSettingsFolder(dir.Ansi());
    ParentWindow parent;
    HWND panel = host.Create(parent.get());
    REQUIRE(panel);
    Picture standing = CaptureWindow(panel);
    SendMessageW(panel, WM_LBUTTONDOWN, 0, 0); // the dance frame is on show at the next paint
    {
        AddressSpaceTaken taken;
        UpdateWindow(panel);
    }
    CHECK(IsWindow(panel));
    CHECK(CaptureWindow(panel).Pixels == standing.Pixels); // nothing drawn, nothing left to paint
    InvalidateRect(panel, nullptr, FALSE);
    Picture dancing = CaptureWindow(panel);
    CHECK(dancing.Pixels != standing.Pixels);
    CHECK(dancing.InkBox().bottom >= dancing.Height - 20); // lines of x to the bottom edge
    host.Destroy();
}

TEST_CASE("art files that cannot be read as files give the built-in frames")
{
    std::string builtin = BuiltinNormalFrame();
    REQUIRE(!builtin.empty());
    SUBCASE("a folder named TuftlingAA.txt")
    {
        TempDir dir;
        REQUIRE(CreateDirectoryW((dir / L"TuftlingAA.txt").c_str(), nullptr));
        PanelRun run = RunPanel(dir.Ansi());
        CHECK(run.Made);
        CHECK(run.Frame == builtin);
    }
    SUBCASE("an art file held open exclusively")
    {
        TempDir dir;
        REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", "$Normal\nmine\n"));
        HANDLE lock = CreateFileW((dir / L"TuftlingAA.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0,
                                  nullptr);
        REQUIRE(lock != INVALID_HANDLE_VALUE);
        PanelRun run = RunPanel(dir.Ansi());
        CloseHandle(lock);
        CHECK(run.Frame == builtin);
    }
}

TEST_CASE("folder texts up to 281 characters are used; longer ones run on defaults and write nothing")
{
    // A real folder behind texts of any length: "x\..\" steps pad the text.
    TempDir dir;
    REQUIRE(CreateDirectoryW((dir / L"x").c_str(), nullptr));
    REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", "$Normal\nfrom the file\n"));
    auto padded = [&](size_t length) {
        std::string text = dir.Ansi();
        while (text.size() + 5 <= length)
            text += "x\\..\\";
        while (text.size() < length)
            text += "\\"; // doubled separators are harmless in a path
        return text;
    };
    struct Case {
        size_t length;
        bool used;
    } cases[] = {{200, true}, {281, true}, {282, false}, {1000, false}};
    for (const Case &c : cases) {
        CAPTURE(c.length);
        std::string folder = padded(c.length);
        REQUIRE(folder.size() == c.length);
        DeleteFileW((dir / L"TuftlingPanel.ini").c_str());
        PanelRun run = RunPanel(folder);
        CHECK(run.Made);
        CHECK(FileExists(dir / L"TuftlingPanel.ini") == c.used);
        CHECK((run.Frame == "from the file\n") == c.used);
    }
}

TEST_CASE("a folder with a Japanese name works end to end")
{
    TempDir dir;
    // "表示ソフト設定" : two of its characters end in the byte 0x5C in cp932.
    std::wstring folder = dir / L"\u8868\u793A\u30BD\u30D5\u30C8\u8A2D\u5B9A\\";
    REQUIRE(CreateDirectoryW(folder.c_str(), nullptr));
    std::string ansi = Narrow(folder);
    REQUIRE(ansi.find("\x95\x5C") != std::string::npos); // 表
    REQUIRE(WriteFileBytes(folder + L"TuftlingAA.txt", "$Normal\n\x83\x5C\x83\x74\x83\x67\n"));
    REQUIRE(WriteFileBytes(folder + L"TuftlingPanel.ini", "[Tuftling]\r\nCount=9\r\n"));
    PanelRun run = RunPanel(ansi);
    CHECK(run.Made);
    CHECK(run.Frame == "\x83\x5C\x83\x74\x83\x67\n"); // ソフト, read from that folder
    CHECK(IniValue(folder + L"TuftlingPanel.ini", "Tuftling", "Count") == "9");
    CHECK(IniValue(folder + L"TuftlingPanel.ini", "Tuftling", "HideTimer") == "180000");
}
