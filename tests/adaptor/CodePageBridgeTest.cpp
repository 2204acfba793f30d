/* Old plug-ins written for code page 932, hosted by PanelBridge on any system
 * code page. This program runs under 932, 1252 and 65001 (TUFT_EXPECT_ACP
 * says which). The oracle is the same old plug-in built with the wide calls
 * (FakeOldWide): on the same system the ANSI build (FakeOldAnsi) must draw the
 * same pixels and leave the same texts wherever they can be read back. Under
 * the system's own code page nothing of a plug-in is touched; elsewhere
 * exactly the imports of the redirect table point into the adaptor. */
#include "AdaptorHarness.h"
#include "doctest.h"
#include "ModalProbe.h"
#include "OldPanel.h"
#include "Picture.h"

#include <functional>
#include <memory>
#include <stdlib.h>
#include <string.h>
#include <vector>

namespace doctest {
/* Texts in failures as UTF-8, lists one to a line. */
template <> struct StringMaker<std::wstring> {
    static String convert(const std::wstring &text)
    {
        char utf8[1024] = {};
        WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, utf8, sizeof utf8 - 1, nullptr, nullptr);
        return String("\"") + utf8 + "\"";
    }
};
template <> struct StringMaker<std::vector<std::wstring>> {
    static String convert(const std::vector<std::wstring> &texts)
    {
        String all;
        for (const std::wstring &text : texts)
            all += String("\n  ") + StringMaker<std::wstring>::convert(text);
        return all;
    }
};
} // namespace doctest

namespace {

UINT ExpectedCodePage()
{
    const char *expected = getenv("TUFT_EXPECT_ACP");
    return expected ? (UINT)atoi(expected) : 932;
}

/* Every function the adaptor redirects, and the DLL the fake imports it from. */
const struct {
    const char *Dll, *Name;
} Redirected[] = {
    {"user32.dll", "CreateWindowExA"},  {"user32.dll", "SetWindowTextA"},    {"user32.dll", "GetWindowTextA"},
    {"user32.dll", "GetWindowTextLengthA"}, {"user32.dll", "SetDlgItemTextA"}, {"user32.dll", "GetDlgItemTextA"},
    {"user32.dll", "SendMessageA"},     {"user32.dll", "DefWindowProcA"},    {"user32.dll", "MessageBoxA"},
    {"user32.dll", "AppendMenuA"},      {"user32.dll", "InsertMenuA"},       {"user32.dll", "ModifyMenuA"},
    {"user32.dll", "InsertMenuItemA"},  {"user32.dll", "GetMenuStringA"},    {"gdi32.dll", "TextOutA"},
    {"gdi32.dll", "ExtTextOutA"},       {"user32.dll", "DrawTextA"},         {"user32.dll", "DrawTextExA"},
    {"gdi32.dll", "GetTextExtentPoint32A"}, {"user32.dll", "TabbedTextOutA"}, {"gdi32.dll", "CreateFontA"},
    {"gdi32.dll", "CreateFontIndirectA"}, {"user32.dll", "SetClipboardData"}, {"kernel32.dll", "CreateFileA"},
    {"kernel32.dll", "FindFirstFileA"}, {"kernel32.dll", "FindNextFileA"},   {"kernel32.dll", "GetPrivateProfileStringA"},
    {"kernel32.dll", "GetPrivateProfileIntA"}, {"kernel32.dll", "WritePrivateProfileStringA"},
    {"kernel32.dll", "GetModuleFileNameA"}, {"kernel32.dll", "GetACP"},      {"kernel32.dll", "GetCPInfo"},
    {"kernel32.dll", "IsDBCSLeadByte"}, {"user32.dll", "CharNextA"},         {"user32.dll", "CharPrevA"},
    {"kernel32.dll", "MultiByteToWideChar"}, {"kernel32.dll", "WideCharToMultiByte"},
    {"kernel32.dll", "GetProcAddress"},
};

struct ImportSlot {
    std::string Dll, Name;
    ULONG_PTR Address;
};

/* The loaded module's imports by name, with what each slot calls now. */
std::vector<ImportSlot> ImportsOf(HMODULE module)
{
    std::vector<ImportSlot> slots;
    BYTE *base = (BYTE *)module;
    auto *nt = (IMAGE_NT_HEADERS *)(base + ((IMAGE_DOS_HEADER *)base)->e_lfanew);
    DWORD rva = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto *entry = (IMAGE_IMPORT_DESCRIPTOR *)(base + rva); rva && entry->Name; ++entry) {
        auto *names = (IMAGE_THUNK_DATA *)(base + entry->OriginalFirstThunk);
        auto *calls = (IMAGE_THUNK_DATA *)(base + entry->FirstThunk);
        for (; names->u1.AddressOfData; ++names, ++calls)
            if (!IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                slots.push_back({(const char *)base + entry->Name,
                                 (const char *)((IMAGE_IMPORT_BY_NAME *)(base + names->u1.AddressOfData))->Name,
                                 (ULONG_PTR)calls->u1.Function});
    }
    return slots;
}

bool InModule(HMODULE module, ULONG_PTR address)
{
    HMODULE found = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              (LPCWSTR)address, &found) &&
           found == module;
}

bool IsRedirected(const std::string &dll, const std::string &name)
{
    for (const auto &row : Redirected)
        if (lstrcmpiA(row.Dll, dll.c_str()) == 0 && name == row.Name)
            return true;
    return false;
}

/* Checks every import of the plug-in: the table's point into the adaptor
 * when one is given, everything else calls the system. */
void CheckImports(HMODULE plugin, HMODULE adaptor)
{
    REQUIRE(plugin);
    bool redirect = adaptor != nullptr;
    int redirected = 0;
    for (const ImportSlot &slot : ImportsOf(plugin)) {
        CAPTURE(slot.Dll);
        CAPTURE(slot.Name);
        FARPROC system = GetProcAddress(GetModuleHandleA(slot.Dll.c_str()), slot.Name.c_str());
        if (redirect && IsRedirected(slot.Dll, slot.Name)) {
            CHECK(InModule(adaptor, slot.Address));
            ++redirected;
        } else {
            CHECK(slot.Address == (ULONG_PTR)system);
        }
    }
    CHECK(redirected == (redirect ? (int)(sizeof Redirected / sizeof *Redirected) : 0));
}

/* What the module's import of name calls now. */
FARPROC SlotOf(HMODULE module, const char *name)
{
    for (const ImportSlot &slot : ImportsOf(module))
        if (slot.Name == name)
            return (FARPROC)slot.Address;
    return nullptr;
}

/* The stored text of a window, not asked of its procedure. */
std::wstring Stored(HWND window)
{
    wchar_t text[256] = {};
    InternalGetWindowText(window, text, 256);
    return text;
}

std::vector<std::wstring> Labels(HMENU menu)
{
    std::vector<std::wstring> labels;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t label[64] = {};
        GetMenuStringW(menu, i, label, 64, MF_BYPOSITION);
        labels.push_back(label);
    }
    return labels;
}

/* All that one build of the old plug-in shows and leaves behind. */
struct Seen {
    Picture Pixels;
    std::vector<std::wstring> Texts, Menu;
    std::wstring SetText, Opened, ShownMessage, Box, BoxCaption, Clipboard;
    LCID Locale = 0;
    bool Files = false;
};

Seen Host(const wchar_t *plugin)
{
    Seen seen;
    ParentWindow parent(420, 240);
    // "表示": its first character's second byte in code page 932 is a backslash.
    Deployment deploy(L"\u8868\u793A.dll", plugin);
    OstrelTestAddItem(10, L"alpha", L"C:\\a.txt");
    OstrelTestAddItem(11, L"\u65E5\u672C\u8A9E\u30BD", L"C:\\b.txt"); // 日本語ソ
    AdaptorRefs refs(deploy);
    refs.Plugin->Initialize();
    HWND panel = refs.Panel->CreatePanel(parent.get());
    REQUIRE(panel);
    seen.Pixels = CaptureWindow(panel);
    seen.Texts.push_back(Stored(panel));
    for (int id : {OLD_ID_LABEL, OLD_ID_ECHO, OLD_ID_SENT, OLD_ID_FOUND, OLD_ID_CODEPAGE, OLD_ID_FILES,
                   OLD_ID_MODULE, OLD_ID_ITEM, OLD_ID_NOTE})
        seen.Texts.push_back(Stored(GetDlgItem(panel, id)));
    seen.Menu = Labels((HMENU)GetPropW(panel, L"OldMenu"));
    OstrelItemInfo item = {};
    OstrelTestGetItem(0, &item);
    seen.SetText = item.LastSetText;
    wchar_t text[128] = {};
    OstrelTestLastOpen(text, 128);
    seen.Opened = text;
    OstrelTestLastMessage(text, 128);
    seen.ShownMessage = text;
    seen.Files = FileExists(deploy.SettingsFolder() + L"\u65E5\u672C\u8A9E\u8868.txt") && // 日本語表.txt
                 FileExists(deploy.SettingsFolder() + L"\u8A2D\u5B9A.ini");               // 設定.ini

    ModalProbe box([&] {
        HWND found = FindThreadWindow("#32770");
        if (!found)
            return false;
        seen.BoxCaption = Stored(found);
        seen.Box = Stored(GetDlgItem(found, 0xFFFF));
        PostMessageW(found, WM_COMMAND, IDOK, 0);
        return true;
    });
    SendMessageW(panel, OLD_BOX, 0, 0);
    CHECK(box.Finished());

    SendMessageW(panel, OLD_COPY, 0, 0);
    CHECK(PumpUntil([&] {
        if (!OpenClipboard(nullptr))
            return false;
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
            seen.Clipboard = (const wchar_t *)GlobalLock(data), GlobalUnlock(data);
        if (HANDLE data = GetClipboardData(CF_LOCALE))
            seen.Locale = *(const LCID *)GlobalLock(data), GlobalUnlock(data);
        CloseClipboard();
        return true;
    }, 5000));
    refs.Panel->DestroyPanel();
    return seen;
}

} // namespace

TEST_CASE("the system code page is the one this run is for")
{
    CHECK(GetACP() == ExpectedCodePage());
}

TEST_CASE("only a plug-in of another code page than the system's has its imports redirected")
{
    const struct {
        const wchar_t *Plugin;
        UINT CodePage; // of its version resource
    } plugins[] = {{L"FakeOldAnsi.wpn", 932}, {L"FakeOldWestern.wpn", 1252}, {L"HelloPanel.wpn", 932}};
    for (const auto &p : plugins) {
        CAPTURE(Narrow(p.Plugin));
        ParentWindow parent;
        Deployment deploy(L"Old.dll", p.Plugin);
        AdaptorRefs refs(deploy);
        refs.Plugin->Initialize();
        REQUIRE(refs.Panel->CreatePanel(parent.get()));
        if (p.Plugin == std::wstring(L"HelloPanel.wpn")) {
            // Its greeting, drawn in the system's GUI font with DrawTextA, or not.
            const ImportSlot *draw = nullptr;
            std::vector<ImportSlot> slots = ImportsOf(GetModuleHandleW(deploy.PluginPath().c_str()));
            for (const ImportSlot &slot : slots)
                if (slot.Name == "DrawTextA")
                    draw = &slot;
            REQUIRE(draw);
            CHECK(InModule(deploy.Adaptor(), draw->Address) == (GetACP() != 932));
        } else {
            CheckImports(GetModuleHandleW(deploy.PluginPath().c_str()),
                         p.CodePage != GetACP() ? deploy.Adaptor() : nullptr);
        }
        refs.Panel->DestroyPanel();
    }
}

TEST_CASE("an adaptor that goes before a plug-in it redirected gives the plug-in's imports back")
{
    const wchar_t *file = GetACP() == 932 ? L"FakeOldWestern.wpn" : L"FakeOldAnsi.wpn";
    HMODULE held = nullptr;
    std::wstring home, path;
    {
        ParentWindow parent;
        auto deploy = std::make_unique<Deployment>(L"Held.dll", file);
        home = deploy->Home().Path();
        path = deploy->PluginPath();
        {
            AdaptorRefs refs(*deploy);
            refs.Plugin->Initialize();
            REQUIRE(refs.Panel->CreatePanel(parent.get()));
            held = LoadLibraryW(path.c_str()); // outlives the adaptor, as a second host's would
            CheckImports(held, deploy->Adaptor());
            refs.Panel->DestroyPanel();
        }
        deploy.reset(); // unloads the adaptor
    }
    CheckImports(held, nullptr);
    FreeLibrary(held);
    DeleteFileW(path.c_str());
    for (const wchar_t *folder : {L"panel\\wpn", L"panel", L""})
        RemoveDirectoryW((home + folder).c_str());
}

TEST_CASE("the old plug-in through the ANSI calls looks and reads as through the wide calls")
{
    Seen ansi = Host(L"FakeOldAnsi.wpn");
    Seen wide = Host(L"FakeOldWide.wpn");
    REQUIRE(ansi.Pixels.Width == wide.Pixels.Width);
    REQUIRE(ansi.Pixels.Height == wide.Pixels.Height);
    int differ = 0;
    for (size_t i = 0; i < ansi.Pixels.Pixels.size(); ++i)
        differ += ansi.Pixels.Pixels[i] != wide.Pixels.Pixels[i];
    CHECK(differ == 0);

    const std::vector<std::wstring> texts = {
        L"\u53E4\u3044\u30D1\u30CD\u30EB",                                  // 古いパネル
        L"\u8868\u793A\u30BD\u30D5\u30C8",                                  // 表示ソフト
        L"\u8868\u793A\u30BD\u30D5\u30C8", L"\u8868\u793A\u30BD\u30D5\u30C8",
        L"\u8868\u793A\u30BD\u30D5\u30C8",
        L"\u7B26\u53F7 5 OK",                                               // 符号 5 OK
        L"\u65E5\u672C\u8A9E\u8868.txt \u8A2D\u5B9A.ini Tuft 42",           // 日本語表.txt 設定.ini
        L"\u8868\u793A.wpn",                                                // 表示.wpn
        L"\u65E5\u672C\u8A9E\u30BD",                                        // 日本語ソ
        L"\u8868\u793A\u30BD\u30D5\u30C8",                                  // the note, through DefWindowProc
    };
    const std::vector<std::wstring> menu = {L"\u8868\u793A", L"\u30B3\u30D4\u30FC(&C)", L"\u5927\u304D\u3055",
                                            L"\u96A0\u308C\u306A\u3044", L"\u8868\u793A"};
    for (const Seen *s : {&ansi, &wide}) {
        CAPTURE(s == &ansi ? "ANSI" : "wide");
        CHECK(s->Texts == texts);
        CHECK(s->Menu == menu);
        CHECK(s->SetText == L"\u65B0\u3057\u3044\u540D\u524D");          // 新しい名前
        CHECK(s->Opened == L"C:\\\u958B\u304F\\\u8868.txt");             // C:\開く\表.txt
        CHECK(s->ShownMessage == L"\u304A\u77E5\u3089\u305B");           // お知らせ
        CHECK(s->Box == L"\u672C\u6587\u3067\u3059");                    // 本文です
        CHECK(s->BoxCaption == L"\u984C\u540D");                         // 題名
        CHECK(s->Clipboard == L"\u30AF\u30EA\u30C3\u30D7\u30DC\u30FC\u30C9"); // クリップボード
        CHECK(s->Files);
    }
    CHECK(ansi.Locale == 0x0411);
}

TEST_CASE("HelloPanel's greeting is drawn in the Japanese it was written as")
{
    ParentWindow parent(360, 160);
    Deployment deploy(L"Hello.dll", L"HelloPanel.wpn");
    AdaptorRefs refs(deploy);
    refs.Plugin->Initialize();
    HWND panel = refs.Panel->CreatePanel(parent.get());
    REQUIRE(panel);
    Picture shown = CaptureWindow(panel);

    // The same paint through the wide call: the greeting "こんにちは" and
    // what the host answered, in the system's GUI font.
    wchar_t text[512];
    wsprintfW(text, L"Hello from a panel plug-in in C: \u3053\u3093\u306B\u3061\u306F\r\n\r\nservice version: 200\r\n"
                    L"items: 0\r\nticks: 0\r\nsettings folder: %s",
              deploy.SettingsFolder().c_str());
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, shown.Width, shown.Height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    RECT area = {0, 0, shown.Width, shown.Height};
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    InflateRect(&area, -8, -8);
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text, -1, &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    Picture expected = CaptureDC(dc, shown.Width, shown.Height);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    CHECK(shown.Pixels == expected.Pixels);
    refs.Panel->DestroyPanel();
}

TEST_CASE("texts read back into the plug-in's buffer fit it, cut between characters")
{
    if (GetACP() == 932)
        return; // nothing is redirected for a plug-in of the system's code page
    ParentWindow parent;
    Deployment deploy(L"\u8868\u793A.dll", L"FakeOldAnsi.wpn"); // 表示
    AdaptorRefs refs(deploy);
    refs.Plugin->Initialize();
    HWND panel = refs.Panel->CreatePanel(parent.get());
    REQUIRE(panel);
    HMODULE plugin = GetModuleHandleW(deploy.PluginPath().c_str());
    HWND label = GetDlgItem(panel, OLD_ID_LABEL); // "表示ソフト"
    HMENU menu = (HMENU)GetPropW(panel, L"OldMenu"); // item 2: "表示"
    std::string ini = Narrow(deploy.SettingsFolder()) + "\x90\xDD\x92\xE8.ini"; // 設定.ini, ASCII folder
    char module[MAX_PATH * 2];

    // The plug-in's own calls, made here through its import slots.
    auto getText = (int(WINAPI *)(HWND, LPSTR, int))SlotOf(plugin, "GetWindowTextA");
    auto getItem = (UINT(WINAPI *)(HWND, int, LPSTR, int))SlotOf(plugin, "GetDlgItemTextA");
    auto send = (LRESULT(WINAPI *)(HWND, UINT, WPARAM, LPARAM))SlotOf(plugin, "SendMessageA");
    auto getMenu = (int(WINAPI *)(HMENU, UINT, LPSTR, int, UINT))SlotOf(plugin, "GetMenuStringA");
    auto getName = (DWORD(WINAPI *)(HMODULE, LPSTR, DWORD))SlotOf(plugin, "GetModuleFileNameA");
    auto getProfile = (DWORD(WINAPI *)(LPCSTR, LPCSTR, LPCSTR, LPSTR, DWORD, LPCSTR))SlotOf(
        plugin, "GetPrivateProfileStringA");
    auto getLength = (int(WINAPI *)(HWND))SlotOf(plugin, "GetWindowTextLengthA");
    REQUIRE((getText && getItem && send && getMenu && getName && getProfile && getLength));

    // The module's name in the plug-in's code page, up to the title 表示.wpn.
    DWORD full = getName(plugin, module, sizeof module);
    REQUIRE(full > 8);
    CHECK(std::string(module + full - 8) == "\x95\x5C\x8E\xA6.wpn");
    const int beforeTitle = (int)full - 8;

    const struct {
        const char *Name;
        int Capacity;
        std::function<long(char *, int)> Call;
        std::string Bytes; // what the buffer holds, with its NULs
        long Result;
    } reads[] = {
        {"GetWindowTextA", 4, [&](char *b, int n) { return (long)getText(label, b, n); }, std::string("\x95\x5C\0", 3), 2},
        {"GetWindowTextA none", 0, [&](char *b, int n) { return (long)getText(label, b, n); }, "", 0},
        {"GetDlgItemTextA", 4, [&](char *b, int n) { return (long)getItem(panel, OLD_ID_LABEL, b, n); },
         std::string("\x95\x5C\0", 3), 2},
        {"WM_GETTEXT", 5, [&](char *b, int n) { return (long)send(label, WM_GETTEXT, n, (LPARAM)b); },
         std::string("\x95\x5C\x8E\xA6\0", 5), 4},
        {"GetMenuStringA", 3, [&](char *b, int n) { return (long)getMenu(menu, 2, b, n, MF_BYCOMMAND); },
         std::string("\x95\x5C\0", 3), 2},
        {"GetModuleFileNameA", beforeTitle + 2, [&](char *b, int n) { return (long)getName(plugin, b, n); },
         std::string(module, beforeTitle) + std::string(1, '\0'), beforeTitle + 2},
        {"GetPrivateProfileStringA sections", 4,
         [&](char *b, int n) { return (long)getProfile(nullptr, nullptr, "", b, n, ini.c_str()); },
         std::string("Ol\0\0", 4), 2},
    };
    for (const auto &r : reads) {
        CAPTURE(std::string(r.Name));
        char buffer[MAX_PATH * 2];
        memset(buffer, '#', sizeof buffer);
        CHECK(r.Call(buffer, r.Capacity) == r.Result);
        CHECK(std::string(buffer, r.Bytes.size()) == r.Bytes);
        CHECK(buffer[r.Capacity] == '#'); // nothing written past the buffer
    }
    CHECK(getLength(label) == 10);
    CHECK(send(label, WM_GETTEXTLENGTH, 0, 0) == 10);
    refs.Panel->DestroyPanel();
}
