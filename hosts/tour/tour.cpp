/* tour: the scripted walk through the mascot that the demo records.
 *
 *   tour HOSTFOLDER OUTFOLDER
 *
 * Starts ostrelhost from HOSTFOLDER (a deployment with PanelBridge as
 * TuftlingPanel.dll and the plug-in in panel\wpn\), with short timers written
 * into the mascot's settings so that it hides quickly, and then plays the
 * mascot like a person would: it stands, is clicked and dances, hides, comes
 * back and cycles through the rainbow, shows its menu and its about box.
 * Each step leaves a screenshot (BMP) in OUTFOLDER and is checked on its
 * pixels; the exit code is 0 only when every step showed what it should.
 *
 *   tour --hello HOSTFOLDER OUTFOLDER
 *
 * Shows the sample HelloPanel instead (PanelBridge as HelloPanel.dll), an
 * ANSI plug-in of code page 932: one step, whose greeting line must look
 * exactly like the same line drawn here through the wide call, on whatever
 * system code page both programs run. */
#include "Paths.h"
#include "Picture.h"

#include <windows.h>

#include <algorithm>
#include <stdio.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

const char PanelClass[] = "Wendrake Plugin - TuftlingPanel";
const uint32_t GREY = 0x808080;

// Counts pixels of a rectangle that satisfy a test.
template <class Test> int CountIn(const Picture &shot, RECT r, Test test)
{
    int n = 0;
    for (int y = std::max<LONG>(r.top, 0); y < std::min<LONG>(r.bottom, shot.Height); ++y)
        for (int x = std::max<LONG>(r.left, 0); x < std::min<LONG>(r.right, shot.Width); ++x)
            n += test(shot.At(x, y)) ? 1 : 0;
    return n;
}

bool Saturated(uint32_t c)
{
    int r = (c >> 16) & 0xFF, g = (c >> 8) & 0xFF, b = c & 0xFF;
    return std::max({r, g, b}) - std::min({r, g, b}) > 120;
}

int Distinct(const Picture &shot, RECT r)
{
    std::vector<uint32_t> seen;
    CountIn(shot, r, [&](uint32_t c) {
        if (seen.size() < 16 && std::find(seen.begin(), seen.end(), c) == seen.end())
            seen.push_back(c);
        return false;
    });
    return (int)seen.size();
}

// Pumps this thread's messages while waiting.
void Wait(DWORD ms)
{
    DWORD start = GetTickCount();
    while (GetTickCount() - start < ms) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        Sleep(20);
    }
}

template <class Find> HWND WaitFor(Find find, DWORD ms)
{
    DWORD start = GetTickCount();
    for (;;) {
        if (HWND found = find())
            return found;
        if (GetTickCount() - start > ms)
            return nullptr;
        Wait(50);
    }
}

struct Search {
    DWORD pid;
    const char *cls;
    HWND found;
};

BOOL CALLBACK MatchTopLevel(HWND w, LPARAM data)
{
    Search *s = (Search *)data;
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    char cls[64] = {};
    GetClassNameA(w, cls, sizeof cls);
    if (pid == s->pid && IsWindowVisible(w) && (!s->cls || strcmp(cls, s->cls) == 0)) {
        s->found = w;
        return FALSE;
    }
    return TRUE;
}

HWND TopLevelOf(DWORD pid, const char *cls)
{
    Search s = {pid, cls, nullptr};
    EnumWindows(MatchTopLevel, (LPARAM)&s);
    return s.found;
}

HWND FindMenuWindow()
{
    // The popup menu may belong to the desktop's thread under Wine.
    HWND w = FindWindowA("#32768", nullptr);
    return w && IsWindowVisible(w) ? w : nullptr;
}

RECT RectOf(HWND w)
{
    RECT r;
    GetWindowRect(w, &r);
    return r;
}

struct Step {
    const char *name;
    bool ok;
    std::string detail;
};

std::vector<Step> Steps;
std::wstring OutFolder;

void Record(const char *name, const Picture &shot, bool ok, const std::string &detail)
{
    std::wstring path = OutFolder + std::wstring(name, name + strlen(name)) + L".bmp";
    bool saved = SaveBitmap(shot, path);
    Steps.push_back({name, ok && saved, detail + (saved ? "" : " (screenshot not saved)")});
    printf("%-8s %s  %s\n", name, ok && saved ? "ok  " : "FAIL", Steps.back().detail.c_str());
    fflush(stdout);
}

std::wstring WithSlash(std::wstring folder)
{
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/')
        folder += L'\\';
    return folder;
}

PROCESS_INFORMATION StartHost(const std::wstring &host)
{
    std::wstring command = L"\"" + host + L"ostrelhost.exe\" --close-after 120000";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, host.c_str(), &si, &pi))
        fprintf(stderr, "tour: cannot start ostrelhost in %ls\n", host.c_str());
    return pi;
}

/* Closes the host's window; its exit code, 1 when it would not end. */
DWORD CloseHost(PROCESS_INFORMATION &pi, HWND hostWindow)
{
    if (hostWindow)
        PostMessageW(hostWindow, WM_CLOSE, 0, 0);
    DWORD exitCode = 1;
    if (WaitForSingleObject(pi.hProcess, 20000) == WAIT_OBJECT_0)
        GetExitCodeProcess(pi.hProcess, &exitCode);
    else
        TerminateProcess(pi.hProcess, 1);
    CloseHandle(pi.hProcess);
    CloseHandle(pi.hThread);
    printf("ostrelhost exit code %lu\n", exitCode);
    return exitCode;
}

HWND ChildOfClass(HWND parent, const char *className)
{
    struct Find {
        const char *Class;
        HWND Found;
        static BOOL CALLBACK Match(HWND w, LPARAM data)
        {
            Find *find = (Find *)data;
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (strcmp(cls, find->Class) != 0)
                return TRUE;
            find->Found = w;
            return FALSE;
        }
    } find = {className, nullptr};
    EnumChildWindows(parent, Find::Match, (LPARAM)&find);
    return find.Found;
}

/* HelloPanel's first line, "Hello from a panel plug-in in C: こんにちは". */
const wchar_t Greeting[] = L"Hello from a panel plug-in in C: \u3053\u3093\u306B\u3061\u306F";
/* The same line with its Japanese in characters that no font draws: what a
 * system without a Japanese glyph for the GUI font would show (boxes). */
const wchar_t GreetingUndrawable[] = L"Hello from a panel plug-in in C: \uE000\uE001\uE002\uE003\uE004";

/* A line as HelloPanel paints it: 8 pixels in, the system's GUI font, on the
 * window colour. */
Picture GreetingLine(const wchar_t *text, int width, int *height)
{
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics;
    GetTextMetricsW(dc, &metrics);
    *height = metrics.tmHeight;
    HBITMAP bitmap = CreateCompatibleBitmap(screen, width, *height);
    ReleaseDC(nullptr, screen);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    RECT area = {0, 0, width, *height};
    FillRect(dc, &area, GetSysColorBrush(COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    DrawTextW(dc, text, -1, &area, DT_LEFT | DT_SINGLELINE | DT_NOPREFIX);
    Picture line = CaptureDC(dc, width, *height);
    SelectObject(dc, oldBitmap);
    SelectObject(dc, oldFont);
    DeleteObject(bitmap);
    DeleteDC(dc);
    return line;
}

int HelloTour(const std::wstring &host)
{
    PROCESS_INFORMATION pi = StartHost(host);
    if (!pi.hProcess)
        return 1;
    HWND hostWindow = WaitFor([&] { return TopLevelOf(pi.dwProcessId, nullptr); }, 20000);
    HWND panel = hostWindow ? WaitFor([&] { return ChildOfClass(hostWindow, "HelloPanel"); }, 20000) : nullptr;
    if (!panel) {
        fprintf(stderr, "tour: ostrelhost showed no HelloPanel\n");
        CloseHost(pi, hostWindow);
        return 1;
    }
    SetForegroundWindow(hostWindow);
    Wait(800);
    RECT area = RectOf(panel);
    Picture shot = CaptureScreen();
    int height = 0;
    Picture line = GreetingLine(Greeting, area.right - area.left - 16, &height);
    Picture boxes = GreetingLine(GreetingUndrawable, area.right - area.left - 16, &height);
    int differ = 0, unlikeBoxes = 0;
    for (int y = 0; y < line.Height; ++y)
        for (int x = 0; x < line.Width; ++x) {
            differ += shot.At(area.left + 8 + x, area.top + 8 + y) != line.At(x, y);
            unlikeBoxes += line.At(x, y) != boxes.At(x, y);
        }
    // Alike to the pixel and readable: the Japanese has glyphs of its own.
    Record("7-hello", shot, differ == 0 && unlikeBoxes > 0,
           "greeting pixels unlike the wide call's: " + std::to_string(differ) +
               (unlikeBoxes ? "" : "; but its Japanese shows as boxes: no font here draws it"));
    DWORD exitCode = CloseHost(pi, hostWindow);
    return exitCode == 0 && Steps.back().ok ? 0 : 1;
}

} // namespace

int main()
{
    std::vector<std::wstring> words;
    bool read = ProgramArguments(words);
    bool hello = read && words.size() == 3 && words[0] == L"--hello";
    if (!read || (words.size() != 2 && !hello)) {
        fprintf(stderr, "usage: tour [--hello] HOSTFOLDER OUTFOLDER\n");
        return 2;
    }
    std::wstring host = WithSlash(words[words.size() - 2]);
    OutFolder = WithSlash(words.back());
    CreateDirectoryW(OutFolder.c_str(), nullptr);
    if (hello)
        return HelloTour(host);

    // Short timers for the tour: each dance frame 350 ms, hiding after 2.5 s.
    std::wstring settings = host + L"user\\";
    CreateDirectoryW(settings.c_str(), nullptr);
    settings += L"setting\\";
    CreateDirectoryW(settings.c_str(), nullptr);
    std::wstring ini = settings + L"TuftlingPanel.ini";
    DeleteFileW(ini.c_str());
    WritePrivateProfileStringW(L"Tuftling", L"DanceTimer", L"350", ini.c_str());
    WritePrivateProfileStringW(L"Tuftling", L"HideTimer", L"2500", ini.c_str());

    std::wstring command = L"\"" + host + L"ostrelhost.exe\" --close-after 120000";
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi;
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, host.c_str(), &si, &pi)) {
        fprintf(stderr, "tour: cannot start ostrelhost in %ls\n", host.c_str());
        return 1;
    }
    DWORD pid = pi.dwProcessId;
    HWND hostWindow = WaitFor([&] { return TopLevelOf(pid, nullptr); }, 20000);
    HWND panel = nullptr;
    // The panel is a child somewhere inside the host's window.
    struct Child {
        static BOOL CALLBACK Match(HWND w, LPARAM data)
        {
            char cls[64] = {};
            GetClassNameA(w, cls, sizeof cls);
            if (strcmp(cls, PanelClass) == 0) {
                *(HWND *)data = w;
                return FALSE;
            }
            return TRUE;
        }
    };
    if (hostWindow)
        panel = WaitFor([&] {
            HWND found = nullptr;
            EnumChildWindows(hostWindow, Child::Match, (LPARAM)&found);
            return found;
        }, 20000);
    if (!hostWindow || !panel) {
        fprintf(stderr, "tour: ostrelhost showed no mascot panel\n");
        TerminateProcess(pi.hProcess, 1);
        return 1;
    }
    SetForegroundWindow(hostWindow);
    Wait(1200);

    RECT area = RectOf(panel);
    POINT centre = {(area.left + area.right) / 2, (area.top + area.bottom) / 2};
    SetCursorPos(centre.x, centre.y);

    Picture standing = CaptureScreen();
    int standingInk = CountIn(standing, area, [](uint32_t c) { return c == GREY; });
    Record("1-stand", standing, standingInk > 20, "grey text pixels in the panel: " + std::to_string(standingInk));

    PostMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20));
    PostMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    Wait(250);
    Picture dancing = CaptureScreen();
    int changed = 0;
    for (int y = area.top; y < area.bottom; ++y)
        for (int x = area.left; x < area.right; ++x)
            changed += dancing.At(x, y) != standing.At(x, y);
    int dancingInk = CountIn(dancing, area, [](uint32_t c) { return c == GREY; });
    Record("2-dance", dancing, changed > 50 && dancingInk > 20,
           "pixels changed from standing: " + std::to_string(changed));

    Wait(3600); // the dance ends after two frames, then 2.5 s of quiet
    Picture hidden = CaptureScreen();
    int hiddenInk = CountIn(hidden, area, [](uint32_t c) { return c == GREY; });
    Record("3-hide", hidden, hiddenInk > 0 && hiddenInk * 2 < standingInk,
           "grey pixels " + std::to_string(hiddenInk) + " (standing " + std::to_string(standingInk) + ")");

    PostMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(20, 20)); // back to standing
    PostMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(20, 20));
    PostMessageW(panel, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(20, 20));
    PostMessageW(panel, WM_MBUTTONUP, 0, MAKELPARAM(20, 20));
    Wait(700);
    Picture rainbow = CaptureScreen();
    int coloured = CountIn(rainbow, area, Saturated);
    Record("4-rainbow", rainbow, coloured > 20, "coloured text pixels: " + std::to_string(coloured));
    PostMessageW(panel, WM_MBUTTONDOWN, MK_MBUTTON, MAKELPARAM(20, 20)); // grey again
    Wait(300);

    PostMessageW(panel, WM_CONTEXTMENU, (WPARAM)panel, MAKELPARAM(centre.x, centre.y));
    HWND menu = WaitFor(FindMenuWindow, 5000);
    Wait(400);
    Picture menuPicture = CaptureScreen();
    int menuColours = menu ? Distinct(menuPicture, RectOf(menu)) : 0;
    Record("5-menu", menuPicture, menu && menuColours > 2,
           menu ? "menu visible, colours in it: " + std::to_string(menuColours) : "no menu appeared");
    if (menu) {
        PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
        WaitFor([] { return FindMenuWindow() ? nullptr : (HWND)1; }, 3000);
    }
    Wait(300);

    PostMessageW(panel, WM_COMMAND, 20001, 0);
    HWND about = WaitFor([&] { return TopLevelOf(pid, "#32770"); }, 5000);
    Wait(500);
    Picture aboutPicture = CaptureScreen();
    wchar_t caption[64] = {};
    if (about)
        GetWindowTextW(about, caption, 64);
    int aboutColours = about ? Distinct(aboutPicture, RectOf(about)) : 0;
    bool aboutOk = about && wcscmp(caption, L"\u30D0\u30FC\u30B8\u30E7\u30F3\u60C5\u5831") == 0 && aboutColours > 2;
    Record("6-about", aboutPicture, aboutOk, about ? "about box visible" : "no about box appeared");
    if (about)
        PostMessageW(about, WM_COMMAND, IDOK, 0);
    Wait(300);

    DWORD exitCode = CloseHost(pi, hostWindow);

    int failed = exitCode != 0;
    for (const Step &s : Steps)
        failed += !s.ok;
    printf("%d passed, %d failed\n", (int)Steps.size() + 1 - failed, failed);
    return failed ? 1 : 0;
}
