/* The context menu as the user meets it, read from inside its modal loop, and
 * the commands it sends: switches, sizes and the copy to the clipboard. */
#include "doctest.h"
#include "ModalProbe.h"
#include "PanelHarness.h"
#include "Picture.h"
#include "TestSupport.h"

#include <vector>

namespace {

struct Item {
    UINT id;
    std::string label;
    bool separator, checked, popup;
    std::vector<Item> children;
    bool operator==(const Item &o) const
    {
        return id == o.id && label == o.label && separator == o.separator && checked == o.checked &&
               popup == o.popup && children == o.children;
    }
};

std::vector<Item> ReadMenu(HMENU menu)
{
    std::vector<Item> items;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        char label[128] = {};
        MENUITEMINFOA info = {};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_FTYPE | MIIM_STATE | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = label;
        info.cch = sizeof label;
        GetMenuItemInfoA(menu, i, TRUE, &info);
        Item item{info.hSubMenu ? 0u : info.wID, label, (info.fType & MFT_SEPARATOR) != 0,
                  (info.fState & MFS_CHECKED) != 0, info.hSubMenu != nullptr, {}};
        if (info.hSubMenu)
            item.children = ReadMenu(info.hSubMenu);
        items.push_back(item);
    }
    return items;
}

std::vector<Item> ExpectedMenu(bool alwaysChecked, bool noHideChecked)
{
    return {
        {20004, "\x83R\x83s\x81[(&C)", false, false, false, {}},
        {0, "", true, false, false, {}},
        {0, "\x83T\x83" "C\x83Y(&S)", false, false, true,
         {{20007, "\x91\xe5(&L)", false, false, false, {}},
          {20006, "\x92\x86(&M)", false, false, false, {}},
          {20005, "\x8f\xac(&S)", false, false, false, {}}}},
        {20002, "\x8f\xed\x82\xc9Tuftling(&L)", false, alwaysChecked, false, {}},
        {20003, "\x89" "B\x82\xea\x82\xc8\x82\xa2(&N)", false, noHideChecked, false, {}},
        {0, "", true, false, false, {}},
        {20001, "\x83o\x81[\x83W\x83\x87\x83\x93\x8f\xee\x95\xf1(&A)...", false, false, false, {}},
    };
}

// A live panel of the real plug-in with the given settings and art.
struct LivePanel {
    TempDir dir;
    PanelHarness host;
    ParentWindow parent;
    HWND panel = nullptr;

    explicit LivePanel(const std::string &ini = "", const std::string &art = "")
    {
        if (!ini.empty())
            REQUIRE(WriteFileBytes(dir / L"TuftlingPanel.ini", "[Tuftling]\r\n" + ini));
        if (!art.empty())
            REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", art));
        host.SetSettingsFolder(dir.Ansi());
        panel = host.Create(parent.get());
        REQUIRE(panel);
    }
    void Command(UINT id) { SendMessageW(panel, WM_COMMAND, id, 0); }
    // Destroys the panel and reads back what it saved.
    std::string Saved(const char *key)
    {
        host.Destroy();
        return IniValue(dir / L"TuftlingPanel.ini", "Tuftling", key);
    }
};

// Shows the menu through `open` and returns its items as read while it was open.
std::vector<Item> MenuWhileOpen(const std::function<void()> &open)
{
    std::vector<Item> seen;
    ModalProbe probe([&] {
        HWND popup = FindThreadWindow("#32768");
        if (!popup)
            return false;
        seen = ReadMenu((HMENU)SendMessageW(popup, MN_GETHMENU, 0, 0));
        EndMenu();
        return true;
    });
    open();
    return seen;
}

std::string ClipboardText()
{
    std::string text;
    PumpUntil([] { return OpenClipboard(nullptr) != 0; }, 3000);
    if (HANDLE data = GetClipboardData(CF_TEXT)) {
        text = (const char *)GlobalLock(data);
        GlobalUnlock(data);
    }
    CloseClipboard();
    return text;
}

// Every byte of the clipboard's block in `format`, up to the block's size.
std::string ClipboardBlock(UINT format)
{
    std::string bytes;
    PumpUntil([] { return OpenClipboard(nullptr) != 0; }, 3000);
    if (HANDLE data = GetClipboardData(format)) {
        if (const char *p = (const char *)GlobalLock(data)) {
            bytes.assign(p, GlobalSize(data));
            GlobalUnlock(data);
        }
    }
    CloseClipboard();
    return bytes;
}

void SetClipboardText(const std::string &text)
{
    REQUIRE(PumpUntil([] { return OpenClipboard(nullptr) != 0; }, 3000));
    EmptyClipboard();
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    memcpy(GlobalLock(block), text.c_str(), text.size() + 1);
    GlobalUnlock(block);
    SetClipboardData(CF_TEXT, block);
    CloseClipboard();
}

struct HoldArgs {
    HANDLE opened, release;
};

DWORD WINAPI HoldClipboard(LPVOID data)
{
    HoldArgs *a = (HoldArgs *)data;
    HWND owner = CreateWindowExW(0, L"STATIC", L"holder", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    BOOL ok = OpenClipboard(owner);
    SetEvent(a->opened);
    WaitForSingleObject(a->release, 10000);
    if (ok)
        CloseClipboard();
    DestroyWindow(owner);
    return ok ? 0 : 1;
}

} // namespace

TEST_CASE("the menu: items, labels, separators, submenu and check marks")
{
    struct Case {
        const char *ini;
        bool always, noHide;
    } cases[] = {
        {"", false, false},
        {"Hide=0\r\n", false, true},
        {"Always=1\r\n", true, false},
        {"Always=3\r\nHide=0\r\n", true, true},
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.ini));
        LivePanel p(c.ini);
        std::vector<Item> seen = MenuWhileOpen([&] { SendMessageW(p.panel, WM_CONTEXTMENU, (WPARAM)p.panel, -1); });
        CHECK(seen == ExpectedMenu(c.always, c.noHide));
        // The contract's callback shows the same menu.
        std::vector<Item> viaCallback = MenuWhileOpen([&] {
            CHECK(p.host.Callbacks().PanelContextMenu(p.host.Host(), p.panel, 0, 0) == 0);
        });
        CHECK(viaCallback == seen);
    }
}

TEST_CASE("before the first panel the menu shows the switches at their defaults")
{
    PanelHarness host; // a module loaded afresh
    ParentWindow parent;
    std::vector<Item> seen =
        MenuWhileOpen([&] { host.Callbacks().PanelContextMenu(host.Host(), parent.get(), 0, 0); });
    CHECK(seen == ExpectedMenu(false, false));
}

TEST_CASE("the menu is built afresh: a flipped switch shows at the next opening")
{
    LivePanel p("Hide=0\r\n");
    p.Command(20003);
    std::vector<Item> seen = MenuWhileOpen([&] { SendMessageW(p.panel, WM_CONTEXTMENU, (WPARAM)p.panel, -1); });
    CHECK(seen == ExpectedMenu(false, false));
}

TEST_CASE("a choice in the menu reaches the panel as a command")
{
    LivePanel p;
    ModalProbe probe([&] {
        HWND popup = FindThreadWindow("#32768");
        if (!popup)
            return false;
        // Down to "常にTuftling(&L)" (copy, size, always) and pick it.
        for (int i = 0; i < 3; ++i)
            PostMessageW(popup, WM_KEYDOWN, VK_DOWN, 0);
        PostMessageW(popup, WM_KEYDOWN, VK_RETURN, 0);
        return true;
    });
    SendMessageW(p.panel, WM_CONTEXTMENU, (WPARAM)p.panel, -1);
    PumpFor(100);
    CHECK(p.Saved("Always") == "1");
}

TEST_CASE("switches flip between 0 and 1; a stored 5 becomes 0")
{
    struct Case {
        const char *ini, *key;
        UINT command;
        int flips;
        const char *saved;
    } cases[] = {
        {"", "Always", 20002, 1, "1"},        {"", "Always", 20002, 2, "0"},
        {"Always=5\r\n", "Always", 20002, 1, "0"}, {"", "Hide", 20003, 1, "0"},
        {"Hide=5\r\n", "Hide", 20003, 1, "0"},  {"Hide=5\r\n", "Hide", 20003, 2, "1"},
        {"Hide=5\r\n", "Hide", 20003, 0, "5"},
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.ini));
        CAPTURE(std::string(c.key));
        CAPTURE(c.flips);
        LivePanel p(c.ini);
        for (int i = 0; i < c.flips; ++i)
            p.Command(c.command);
        CHECK(p.Saved(c.key) == c.saved);
    }
}

TEST_CASE("sizes store 7, 10 and 12 points; other ids change nothing")
{
    struct Case {
        UINT command;
        const char *saved;
    } cases[] = {{20005, "7"}, {20006, "10"}, {20007, "12"}, {20000, "11"}, {20008, "11"}, {1, "11"}};
    for (const Case &c : cases) {
        CAPTURE(c.command);
        LivePanel p("Size=11\r\nCount=4\r\n");
        p.Command(c.command);
        CHECK(p.Saved("Size") == c.saved);
        CHECK(IniValue(p.dir / L"TuftlingPanel.ini", "Tuftling", "Count") == "4");
    }
}

TEST_CASE("copy puts the frame on show on the clipboard, byte for byte")
{
    SUBCASE("built-in normal frame")
    {
        LivePanel p;
        p.Command(20004);
        std::string text = ClipboardText();
        CHECK(text.size() > 100);
        CHECK(text.find("\r\n") != std::string::npos);
        CHECK(text.substr(0, 6) == "\x81\x40\x81\x40\x81\x40");
    }
    SUBCASE("art file frames, the dance frame while dancing")
    {
        LivePanel p("DanceTimer=600000\r\n",
                    "$Normal\r\nstand \x83^\x83t\r\n$Hide\r\nedge\r\n$Dance\r\nstep one\r\n$Dance\r\nstep two\r\n");
        p.Command(20004);
        CHECK(ClipboardText() == "stand \x83^\x83t\n");
        SendMessageW(p.panel, WM_LBUTTONDOWN, 0, 0);
        p.Command(20004);
        CHECK(ClipboardText() == "step one\n");
        SendMessageW(p.panel, WM_TIMER, 10002, 0);
        p.Command(20004);
        CHECK(ClipboardText() == "step two\n");
    }
    SUBCASE("a frame over 1023 bytes gives its first 1023")
    {
        std::string line(600, 'x');
        LivePanel p("", "$Normal\n" + line + "\n" + line + "\n");
        p.Command(20004);
        std::string text = ClipboardText();
        CHECK(text.size() == 1023);
        CHECK(text == (line + "\n" + line + "\n").substr(0, 1023));
    }
    SUBCASE("a frame of 1024 bytes or more: 1023 of them and the NUL inside the block, in both forms")
    {
        for (size_t half : {512, 600}) {
            std::string line(half - 1, 'x');
            std::string frame = line + "\n" + line + "\n";
            CAPTURE(frame.size());
            LivePanel p("", "$Normal\n" + frame);
            p.Command(20004);
            std::string text = ClipboardBlock(CF_TEXT);
            CHECK(text.size() <= 1024);
            CHECK(text.find('\0') == 1023);
            CHECK(text.substr(0, 1023) == frame.substr(0, 1023));
            // Wine mends a CF_TEXT block that lacks its NUL (its last byte
            // becomes one); the wide form, converted from the bytes copied,
            // shows a 1024th byte all the same.
            std::string block = ClipboardBlock(CF_UNICODETEXT);
            std::wstring wide(block.size() / 2, L'?');
            memcpy(&wide[0], block.data(), wide.size() * 2);
            CHECK(wide.find(L'\0') == 1023);
            CHECK(Narrow(wide.substr(0, 1023)) == frame.substr(0, 1023));
        }
    }
}

TEST_CASE("copy while another window holds the clipboard copies nothing")
{
    LivePanel p("", "$Normal\nnew\n");
    SetClipboardText("kept");
    // Another thread's window holds the clipboard open.
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HoldArgs args{opened, release};
    HANDLE holder = CreateThread(nullptr, 0, HoldClipboard, &args, 0, nullptr);
    REQUIRE(WaitForSingleObject(opened, 10000) == WAIT_OBJECT_0);
    p.Command(20004);
    SetEvent(release);
    WaitForSingleObject(holder, 10000);
    DWORD held = 1;
    GetExitCodeThread(holder, &held);
    CHECK(held == 0);
    CloseHandle(holder);
    CloseHandle(opened);
    CloseHandle(release);
    CHECK(ClipboardText() == "kept");
    p.Command(20004); // and once it is free again, the copy goes through
    CHECK(ClipboardText() == "new\n");
}
