/* The mascot on any system code page. This program runs three times: under
 * code page 932 (a Japanese system), 1252 (a Western one) and 65001 (a copy
 * of it whose manifest asks for UTF-8), TUFT_EXPECT_ACP saying which. The
 * 932 run leaves its pictures of the panel in pictures\codepage\; the others
 * must draw the same pixels, and every run must show the Japanese menu and
 * about box and put the frame's characters on the clipboard. */
#include "doctest.h"
#include "ModalProbe.h"
#include "PanelHarness.h"
#include "Png.h"
#include "TestSupport.h"
#include "TuftlingVersion.h"

#include <stdlib.h>
#include <vector>

namespace {

// Full-width and half-width katakana, a kanji and ASCII: "ソフト ｿﾌﾄ Tuft" and
// "表示" (ソ and 表 end in the byte 0x5C), as the art file stores them.
const char KatakanaArt[] = "$Normal\r\n\x83\x5C\x83\x74\x83\x67 \xBF\xCC\xC4 Tuft\r\n\x95\x5C\x8E\xA6\r\n";
const char KatakanaFrame[] = "\x83\x5C\x83\x74\x83\x67 \xBF\xCC\xC4 Tuft\n\x95\x5C\x8E\xA6\n";
const wchar_t KatakanaWide[] = L"\u30BD\u30D5\u30C8 \uFF7F\uFF8C\uFF84 Tuft\n\u8868\u793A\n";

UINT ExpectedCodePage()
{
    const char *expected = getenv("TUFT_EXPECT_ACP");
    return expected ? (UINT)atoi(expected) : 932;
}

std::wstring PictureFile(UINT codePage, const char *name)
{
    std::wstring folder = ProgramFolder() + L"..\\pictures\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    folder += L"codepage\\";
    CreateDirectoryW(folder.c_str(), nullptr);
    wchar_t file[64];
    wsprintfW(file, L"cp%u-%hs.png", codePage, name);
    return folder + file;
}

// A live panel of the real plug-in; with art, its art file.
struct LivePanel {
    TempDir dir;
    PanelHarness host;
    ParentWindow parent{420, 360};
    HWND panel = nullptr;

    explicit LivePanel(const char *art)
    {
        if (art)
            REQUIRE(WriteFileBytes(dir / L"TuftlingAA.txt", art));
        host.SetSettingsFolder(dir.Ansi());
        panel = host.Create(parent.get());
        REQUIRE(panel);
        SetWindowPos(panel, nullptr, 0, 0, 320, 240, SWP_NOZORDER | SWP_NOMOVE);
    }
};

// What Copy puts on the clipboard, in each of its three formats.
struct Copied {
    std::string Text;
    std::wstring Unicode;
    LCID Locale = 0;
};

Copied Copy(HWND panel)
{
    SendMessageW(panel, WM_COMMAND, 20004, 0);
    Copied copied;
    REQUIRE(PumpUntil([&] {
        if (!OpenClipboard(nullptr))
            return false;
        if (HANDLE data = GetClipboardData(CF_TEXT))
            copied.Text = (const char *)GlobalLock(data), GlobalUnlock(data);
        if (HANDLE data = GetClipboardData(CF_UNICODETEXT))
            copied.Unicode = (const wchar_t *)GlobalLock(data), GlobalUnlock(data);
        if (HANDLE data = GetClipboardData(CF_LOCALE))
            copied.Locale = *(const LCID *)GlobalLock(data), GlobalUnlock(data);
        CloseClipboard();
        return true;
    }, 5000));
    return copied;
}

std::vector<std::wstring> Labels(HMENU menu)
{
    std::vector<std::wstring> labels;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t label[128] = {};
        GetMenuStringW(menu, i, label, 128, MF_BYPOSITION);
        labels.push_back(label);
        if (HMENU sub = GetSubMenu(menu, i))
            for (const std::wstring &child : Labels(sub))
                labels.push_back(L"  " + child);
    }
    return labels;
}

std::wstring Text(HWND window)
{
    wchar_t text[128] = {};
    GetWindowTextW(window, text, 128);
    return text;
}

} // namespace

TEST_CASE("the system code page is the one this run is for")
{
    CHECK(GetACP() == ExpectedCodePage());
}

TEST_CASE("the panel draws the same pixels and copies the same characters as on a Japanese system")
{
    const struct {
        const char *name, *art;
        bool dance;
    } pictures[] = {
        {"builtin-normal", nullptr, false},
        {"builtin-dance", nullptr, true},
        {"katakana", KatakanaArt, false},
    };
    for (const auto &p : pictures) {
        CAPTURE(std::string(p.name));
        LivePanel live(p.art);
        if (p.dance)
            SendMessageW(live.panel, WM_LBUTTONDOWN, 0, 0);
        Picture shot = CaptureWindow(live.panel);
        REQUIRE(SavePng(shot, PictureFile(GetACP(), p.name)));
        if (GetACP() != 932) {
            Picture japanese;
            REQUIRE_MESSAGE(LoadPng(PictureFile(932, p.name), japanese), "the code page 932 run leaves it");
            REQUIRE(shot.Width == japanese.Width);
            REQUIRE(shot.Height == japanese.Height);
            CHECK(shot.Pixels == japanese.Pixels);
        }

        Copied copied = Copy(live.panel);
        CHECK(copied.Locale == 0x0411);
        if (p.art) {
            CHECK(copied.Text == KatakanaFrame); // the art's own bytes, on any system
            CHECK(copied.Unicode == KatakanaWide);
        } else if (!p.dance) { // the built-in normal frame: six ideographic spaces lead each line
            CHECK(copied.Unicode.compare(0, 6, L"\u3000\u3000\u3000\u3000\u3000\u3000") == 0);
            CHECK(copied.Unicode.size() < copied.Text.size());
        }
    }
}

TEST_CASE("the menu and the about box read in Japanese")
{
    LivePanel live(nullptr);
    std::vector<std::wstring> labels;
    ModalProbe menu([&] {
        HWND popup = FindThreadWindow("#32768");
        if (!popup)
            return false;
        labels = Labels((HMENU)SendMessageW(popup, MN_GETHMENU, 0, 0));
        EndMenu();
        return true;
    });
    SendMessageW(live.panel, WM_CONTEXTMENU, (WPARAM)live.panel, MAKELPARAM(10, 10));
    REQUIRE(menu.Finished());
    const std::vector<std::wstring> expected = {
        L"\u30B3\u30D4\u30FC(&C)",                         // コピー(&C)
        L"",                                               // separator
        L"\u30B5\u30A4\u30BA(&S)",                         // サイズ(&S)
        L"  \u5927(&L)",                                   //   大(&L)
        L"  \u4E2D(&M)",                                   //   中(&M)
        L"  \u5C0F(&S)",                                   //   小(&S)
        L"\u5E38\u306BTuftling(&L)",                       // 常にTuftling(&L)
        L"\u96A0\u308C\u306A\u3044(&N)",                   // 隠れない(&N)
        L"",                                               // separator
        L"\u30D0\u30FC\u30B8\u30E7\u30F3\u60C5\u5831(&A)...", // バージョン情報(&A)...
    };
    CHECK(labels == expected);

    std::wstring caption, art, version;
    ModalProbe about([&] {
        HWND box = FindThreadWindow("#32770");
        if (!box)
            return false;
        caption = Text(box);
        art = Text(GetDlgItem(box, 1001));
        version = Text(GetDlgItem(box, 1003));
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    });
    SendMessageW(live.panel, WM_COMMAND, 20001, 0);
    REQUIRE(about.Finished());
    CHECK(caption == L"\u30D0\u30FC\u30B8\u30E7\u30F3\u60C5\u5831"); // バージョン情報
    CHECK(art == L"   (\u30FB\uFF9B\u30FB)   ");                    // (・ﾛ・) with its half-width ﾛ
    CHECK(version == Widen("TuftlingPanel  " TUFT_VERSION_SHORT));
}
