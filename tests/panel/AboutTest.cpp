/* The about box: its template and the version resource as stored in the
 * plug-in module, and the live box (in-process, with the same template linked
 * into this program) following the dance count and closing every way a user
 * can close it. */
#include "doctest.h"
#include "ModalProbe.h"
#include "TestSupport.h"

#include "Anim.h"
#include "Commands.h"
#include "Frames.h"
#include "PanelWindow.h"
#include "Settings.h"
#include "Surface.h"
#include "TuftlingVersion.h"
#include "resources/resource.h"

#include <string>
#include <vector>

namespace {

// Reads the pieces of an extended dialog template in order.
struct TemplateReader {
    const uint8_t *p;
    uint16_t Word() { uint16_t v; memcpy(&v, p, 2); p += 2; return v; }
    uint32_t Dword() { uint32_t v; memcpy(&v, p, 4); p += 4; return v; }
    std::wstring SzOrOrd()
    {
        uint16_t first = Word();
        if (first == 0xFFFF)
            return L"#" + std::to_wstring(Word());
        std::wstring s;
        for (uint16_t c = first; c; c = Word())
            s += (wchar_t)c;
        return s;
    }
    void AlignDword(const uint8_t *base) { p += (4 - ((p - base) & 3)) & 3; }
};

struct Control {
    uint32_t exStyle, style;
    int16_t x, y, cx, cy;
    uint32_t id;
    std::wstring cls, text;
};

struct PanelFixture {
    ParentWindow parent;
    PanelFixture()
    {
        Module.Instance = GetModuleHandleW(nullptr);
        Frames.List = {"n", "h", "d1", "d2"};
        Settings.Count = 7;
        Settings.Always = 0;
        Settings.Hide = 1;
        Settings.DanceTimer = 30;
        Settings.HideTimer = 600000;
        REQUIRE(CreateSurface());
        REQUIRE(CreatePanelFont(10));
        REQUIRE(CreatePanelWindow(parent.get()));
        AnimStart();
    }
    ~PanelFixture()
    {
        AnimStop();
        ReleaseSurface();
        DestroyPanelWindow();
    }
};

std::string ItemText(HWND dialog, int id)
{
    char text[128] = {};
    GetDlgItemTextA(dialog, id, text, sizeof text);
    return text;
}

} // namespace

TEST_CASE("the about box template in the module")
{
    HMODULE module = LoadLibraryExW((ProgramFolder() + L"TuftlingPanel.wpn").c_str(), nullptr,
                                    LOAD_LIBRARY_AS_DATAFILE);
    REQUIRE(module);
    HRSRC found = FindResourceExW(module, (LPCWSTR)RT_DIALOG, MAKEINTRESOURCEW(IDD_ABOUT),
                                  MAKELANGID(LANG_JAPANESE, SUBLANG_DEFAULT));
    REQUIRE(found);
    const uint8_t *base = (const uint8_t *)LockResource(LoadResource(module, found));
    TemplateReader r{base};
    CHECK(r.Word() == 1);      // version
    CHECK(r.Word() == 0xFFFF); // extended template
    CHECK(r.Dword() == 0);     // help id
    CHECK(r.Dword() == 0);     // extended style
    CHECK(r.Dword() == (WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT));
    CHECK(r.Word() == 4);
    CHECK(r.Word() == 0);
    CHECK(r.Word() == 0);
    CHECK(r.Word() == 223);
    CHECK(r.Word() == 59);
    CHECK(r.SzOrOrd() == L"");                     // no menu
    CHECK(r.SzOrOrd() == L"");                     // the system's dialog class
    CHECK(r.SzOrOrd() == L"\u30D0\u30FC\u30B8\u30E7\u30F3\u60C5\u5831"); // バージョン情報
    CHECK(r.Word() == 9);                          // points
    CHECK(r.Word() == 400);                        // weight
    CHECK(*r.p++ == 0);                            // not italic
    CHECK(*r.p++ == 128);                          // SHIFTJIS_CHARSET
    CHECK(r.SzOrOrd() == L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF"); // ＭＳ Ｐゴシック

    std::vector<Control> controls;
    for (int i = 0; i < 4; ++i) {
        r.AlignDword(base);
        Control c;
        CHECK(r.Dword() == 0); // help id
        c.exStyle = r.Dword();
        c.style = r.Dword();
        c.x = (int16_t)r.Word();
        c.y = (int16_t)r.Word();
        c.cx = (int16_t)r.Word();
        c.cy = (int16_t)r.Word();
        c.id = r.Dword();
        c.cls = r.SzOrOrd();
        c.text = r.SzOrOrd();
        r.p += r.Word(); // creation data
        controls.push_back(c);
    }
    const DWORD child = WS_CHILD | WS_VISIBLE;
    struct Want {
        uint32_t id;
        const wchar_t *cls;
        uint32_t style, exStyle;
        int16_t x, y, cx, cy;
    } wants[] = {
        {IDOK, L"#128", child | WS_TABSTOP | BS_DEFPUSHBUTTON, 0, 166, 7, 50, 14},
        {IDC_VERSION, L"#130", child | WS_GROUP | SS_LEFT, 0, 85, 11, 66, 8},
        {IDC_COUNT, L"#130", child | WS_GROUP | SS_LEFT | SS_NOPREFIX, 0, 85, 31, 87, 8},
        {IDC_ART, L"#128", child | WS_DISABLED | BS_PUSHBUTTON | BS_VCENTER, WS_EX_STATICEDGE, 7, 7, 59, 45},
    };
    for (int i = 0; i < 4; ++i) {
        CAPTURE(i);
        CHECK(controls[i].id == wants[i].id);
        CHECK(controls[i].cls == wants[i].cls);
        CHECK(controls[i].style == wants[i].style);
        CHECK(controls[i].exStyle == wants[i].exStyle);
        CHECK(controls[i].x == wants[i].x);
        CHECK(controls[i].y == wants[i].y);
        CHECK(controls[i].cx == wants[i].cx);
        CHECK(controls[i].cy == wants[i].cy);
    }
    CHECK(controls[0].text == L"OK");
    CHECK(controls[1].text == L"TuftlingPanel  x.x");
    CHECK(controls[2].text == L"Count: xxxxxxxx");
    // The face: eleven characters, six blanks, five symbols, one of them a
    // half-width katakana letter.
    const std::wstring &face = controls[3].text;
    CHECK(face.size() == 11);
    int blanks = 0, katakana = 0;
    for (wchar_t c : face) {
        blanks += c == L' ';
        katakana += c >= 0xFF66 && c <= 0xFF9D;
    }
    CHECK(blanks == 6);
    CHECK(katakana >= 1);
    FreeLibrary(module);
}

TEST_CASE("the version resource")
{
    VersionResource version(ProgramFolder() + L"TuftlingPanel.wpn");
    const VS_FIXEDFILEINFO *fixed = version.Fixed();
    REQUIRE(fixed);
    CHECK(fixed->dwFileVersionMS == MAKELONG(TUFT_VERSION_MINOR, TUFT_VERSION_MAJOR));
    CHECK(fixed->dwFileVersionLS == 0);
    CHECK(fixed->dwProductVersionMS == MAKELONG(TUFT_VERSION_MINOR, TUFT_VERSION_MAJOR));
    const std::wstring description = L"TuftlingPanel \u30C0\u30A4\u30CA\u30DF\u30C3\u30AF \u30EA\u30F3\u30AF "
                                     L"\u30E9\u30A4\u30D6\u30E9\u30EA";
    CHECK(version.Text(L"FileVersion") == Widen(TUFT_VERSION_TEXT));
    CHECK(version.Text(L"ProductVersion") == Widen(TUFT_VERSION_TEXT));
    CHECK(version.Text(L"FileDescription") == description);
    CHECK(version.Text(L"ProductName") == L" " + description);
    CHECK(version.Text(L"InternalName") == L"TuftlingPanel");
    CHECK(version.Text(L"OriginalFilename") == L"TuftlingPanel.wpn");
}

TEST_CASE("the about box shows the version and follows the count while the mascot dances")
{
    PanelFixture f;
    Settings.Always = 1;
    AnimEvent(ANIM_ALWAYS_SWITCHED); // dancing without end behind the box
    std::string version, first, later;
    HWND seenAbout = nullptr;
    ModalProbe probe([&] {
        HWND dialog = FindThreadWindow("#32770");
        if (!dialog)
            return false;
        if (first.empty()) {
            seenAbout = About.Window;
            version = ItemText(dialog, IDC_VERSION);
            first = ItemText(dialog, IDC_COUNT);
            CHECK(first == "Count: " + std::to_string(Settings.Count));
            return false;
        }
        later = ItemText(dialog, IDC_COUNT);
        if (later == first)
            return false;
        PostMessageW(dialog, WM_COMMAND, IDOK, 0);
        return true;
    });
    PanelCommand(IDM_ABOUT, Panel.Window);
    CHECK(probe.Finished());
    CHECK(version == "TuftlingPanel  " TUFT_VERSION_SHORT);
    CHECK(seenAbout != nullptr);
    CHECK(later != first);
    CHECK(About.Window == nullptr);
}

TEST_CASE("OK, Enter, Esc and the close box all close the box and forget it")
{
    struct Way {
        const char *name;
        void (*close)(HWND dialog);
    } ways[] = {
        {"OK button", [](HWND d) { SendMessageW(GetDlgItem(d, IDOK), BM_CLICK, 0, 0); }},
        {"Enter", [](HWND d) { PostMessageW(GetFocus() ? GetFocus() : d, WM_KEYDOWN, VK_RETURN, 0); }},
        {"Esc", [](HWND d) { PostMessageW(GetFocus() ? GetFocus() : d, WM_KEYDOWN, VK_ESCAPE, 0); }},
        {"close box", [](HWND d) { PostMessageW(d, WM_SYSCOMMAND, SC_CLOSE, 0); }},
    };
    for (const Way &way : ways) {
        CAPTURE(std::string(way.name));
        PanelFixture f;
        HWND dialog = nullptr;
        ModalProbe probe([&] {
            dialog = FindThreadWindow("#32770");
            if (!dialog)
                return false;
            CHECK(About.Window == dialog);
            way.close(dialog);
            return true;
        });
        PanelCommand(IDM_ABOUT, Panel.Window);
        CHECK(probe.Finished());
        CHECK_FALSE(IsWindow(dialog));
        CHECK(About.Window == nullptr);
    }
}

TEST_CASE("a box destroyed with its owner is forgotten too")
{
    PanelFixture f;
    HWND dialog = nullptr;
    ModalProbe probe([&] {
        dialog = FindThreadWindow("#32770");
        if (!dialog)
            return false;
        DestroyWindow(dialog); // gone without IDOK or IDCANCEL
        return true;
    });
    PanelCommand(IDM_ABOUT, Panel.Window);
    CHECK_FALSE(IsWindow(dialog));
    CHECK(About.Window == nullptr);
    // A later dance posts to nobody.
    AnimClick();
    AnimEvent(ANIM_DANCE_TICK);
    CHECK(Settings.Count == 8);
}
