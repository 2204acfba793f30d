/* An old-style panel plug-in written for code page 932, for the code page
 * tests of the adaptor. One source built twice: without UNICODE its Japanese
 * texts are code page 932 bytes (-fexec-charset=CP932) through the ANSI
 * calls; with UNICODE the same texts go through the wide calls. A correct
 * adaptor makes both look and read the same on any system.
 *
 * PanelCreate uses every ANSI function the adaptor redirects, and shows each
 * outcome: as a control's text (OLD_ID_FIRST onward), a window's name, a menu
 * label, or text drawn on WM_PAINT. Texts from and to the host go through
 * the services in code page 932 in both builds (the contract's texts are
 * narrow). Wide literals are written as escapes, so that the ANSI builds can
 * also compile a code page 932 copy of this file (clang's way). Messages from the test: OLD_COPY puts a text on the clipboard,
 * OLD_BOX shows a message box. */
#include "WpnContract.h"
#include <tchar.h>

#include "OldPanel.h"

#ifdef UNICODE
#define CF_TTEXT CF_UNICODETEXT
#define SET_TEXT_NAME "SetWindowTextW"
#else
#define CF_TTEXT CF_TEXT
#define SET_TEXT_NAME "SetWindowTextA"
#endif

static HINSTANCE ModuleInstance;
static HWND PanelWindow;
static HMENU PanelMenu;
static TCHAR Folder[MAX_PATH];
static TCHAR Shortened[64] = TEXT("省略される長い日本語のテキストです");

/* The contract's narrow texts, in code page 932 whichever build. */
static void ToHost(const TCHAR *text, char *narrow, int capacity)
{
#ifdef UNICODE
    WideCharToMultiByte(932, 0, text, -1, narrow, capacity, NULL, NULL);
#else
    lstrcpynA(narrow, text, capacity);
#endif
}

static void FromHost(const char *narrow, TCHAR *text, int capacity)
{
#ifdef UNICODE
    MultiByteToWideChar(932, 0, narrow, -1, text, capacity);
#else
    lstrcpynA(text, narrow, capacity);
#endif
}

static HWND Label(int id, const TCHAR *text, int row)
{
    return CreateWindowEx(0, TEXT("STATIC"), text, WS_CHILD | WS_VISIBLE, 200, row * 20, 200, 18, PanelWindow,
                          (HMENU)(INT_PTR)id, ModuleInstance, NULL);
}

/* Window texts: set, read back and passed on, each way once. */
static void WindowTexts(void)
{
    TCHAR text[64], again[64], third[64];
    typedef BOOL(WINAPI * SetTextFn)(HWND, LPCTSTR);
    SetTextFn setText = (SetTextFn)(void *)GetProcAddress(GetModuleHandle(TEXT("user32.dll")), SET_TEXT_NAME);
    HWND label = Label(OLD_ID_LABEL, TEXT("ラベル"), 0);
    HWND note = CreateWindowEx(0, OLD_NOTE_CLASS, TEXT("覚え書き"), WS_CHILD, 0, 0, 1, 1, PanelWindow,
                               (HMENU)(INT_PTR)OLD_ID_NOTE, ModuleInstance, NULL);
    SetWindowText(label, TEXT("表示ソフト"));
    GetWindowText(label, text, GetWindowTextLength(label) + 1);
    Label(OLD_ID_ECHO, TEXT(""), 1);
    SetDlgItemText(PanelWindow, OLD_ID_ECHO, text);
    GetDlgItemText(PanelWindow, OLD_ID_ECHO, again, 64);
    SendMessage(Label(OLD_ID_SENT, TEXT(""), 2), WM_SETTEXT, 0, (LPARAM)again);
    SendMessage(GetDlgItem(PanelWindow, OLD_ID_SENT), WM_GETTEXT, 64, (LPARAM)third);
    /* the note's procedure is this module's: its texts pass through DefWindowProc */
    SendMessage(note, WM_SETTEXT, 0, (LPARAM)third);
    SendMessage(note, WM_GETTEXT, 64, (LPARAM)text);
    if (setText)
        setText(Label(OLD_ID_FOUND, TEXT(""), 3), text);
}

static void Menu(void)
{
    MENUITEMINFO item = {0};
    TCHAR label[32] = TEXT("");
    PanelMenu = CreatePopupMenu();
    AppendMenu(PanelMenu, MF_STRING, 1, TEXT("コピー(&C)"));
    InsertMenu(PanelMenu, 0, MF_BYPOSITION | MF_STRING, 2, TEXT("表示"));
    AppendMenu(PanelMenu, MF_STRING, 3, TEXT("x"));
    ModifyMenu(PanelMenu, 3, MF_BYCOMMAND | MF_STRING, 3, TEXT("大きさ"));
    item.cbSize = sizeof item;
    item.fMask = MIIM_STRING | MIIM_ID;
    item.wID = 4;
    item.dwTypeData = (LPTSTR)TEXT("隠れない");
    InsertMenuItem(PanelMenu, 3, TRUE, &item);
    GetMenuString(PanelMenu, 2, label, 32, MF_BYCOMMAND);
    AppendMenu(PanelMenu, MF_STRING, 5, label);
    SetProp(PanelWindow, TEXT("OldMenu"), PanelMenu);
}

/* The code page as the plug-in sees it: 932, its lead bytes, its characters. */
static void CodePage(void)
{
#ifdef UNICODE
    Label(OLD_ID_CODEPAGE, TEXT("符号 5 OK"), 4);
#else
    static const char Hello[] = "こんにちは";
    wchar_t wide[16] = L"";
    char back[16] = "", text[32];
    CPINFO info = {0};
    const char *at = Hello, *last;
    int count = 0, bad = 0;
    for (; *at; at = CharNext(at))
        ++count;
    last = CharPrev(Hello, at);
    bad |= GetACP() != 932;
    bad |= (!GetCPInfo(CP_ACP, &info) || info.MaxCharSize != 2) << 1;
    bad |= !IsDBCSLeadByte((BYTE)Hello[0]) << 2;
    bad |= (last != Hello + 8) << 3;
    MultiByteToWideChar(CP_ACP, 0, Hello, -1, wide, 16);
    bad |= (lstrcmpW(wide, L"\u3053\u3093\u306B\u3061\u306F") != 0) << 4; /* こんにちは */
    WideCharToMultiByte(CP_THREAD_ACP, 0, wide, -1, back, 16, NULL, NULL);
    bad |= (lstrcmpA(back, Hello) != 0) << 5;
    if (bad)
        wsprintfA(text, "NG %d", bad);
    else
        wsprintfA(text, "符号 %d OK", count);
    Label(OLD_ID_CODEPAGE, text, 4);
#endif
}

/* A file and a settings file with Japanese names in the host's folder, found
 * again and read back; and the module's own file title. */
static void Files(void)
{
    TCHAR path[MAX_PATH], ini[MAX_PATH], value[32], text[128];
    const TCHAR *title;
    WIN32_FIND_DATA found;
    HANDLE file, search;
    DWORD written;
    int number;
    wsprintf(path, TEXT("%s日本語表.txt"), Folder);
    file = CreateFile(path, GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file != INVALID_HANDLE_VALUE) {
        WriteFile(file, "old", 3, &written, NULL);
        CloseHandle(file);
    }
    wsprintf(ini, TEXT("%s設定.ini"), Folder);
    WritePrivateProfileString(TEXT("Old"), TEXT("Name"), TEXT("Tuft"), ini);
    WritePrivateProfileString(TEXT("Old"), TEXT("Count"), TEXT("42"), ini);
    GetPrivateProfileString(TEXT("Old"), TEXT("Name"), TEXT("none"), value, 32, ini);
    number = GetPrivateProfileInt(TEXT("Old"), TEXT("Count"), 7, ini);
    wsprintf(path, TEXT("%s*.*"), Folder);
    text[0] = 0;
    search = FindFirstFile(path, &found);
    if (search != INVALID_HANDLE_VALUE) {
        do
            if (found.cFileName[0] != '.' && lstrlen(found.cFileName) < 16)
                wsprintf(text + lstrlen(text), TEXT("%s "), found.cFileName);
        while (FindNextFile(search, &found));
        FindClose(search);
    }
    wsprintf(text + lstrlen(text), TEXT("%s %d"), value, number);
    Label(OLD_ID_FILES, text, 5);

    GetModuleFileName(ModuleInstance, path, MAX_PATH);
    title = path; /* after the last backslash, walking whole characters */
    for (const TCHAR *at = path; *at; at = CharNext(at))
        if (*at == '\\')
            title = at + 1;
    Label(OLD_ID_MODULE, title, 6);
}

static void Services(struct HostServices *host)
{
    char *text = NULL, narrow[64];
    TCHAR item[64] = TEXT("none");
    uint32_t index;
    if (host->Request(SVC_FOLDER, SVC_FOLDER_SETTINGS, (uintptr_t)&text) == SVC_OK) {
        FromHost(text, Folder, MAX_PATH);
        host->Free(text);
    }
    if (host->Request(SVC_ITEM_TEXT_A, 1, (uintptr_t)&text) == SVC_OK) {
        FromHost(text, item, 64);
        host->Free(text);
    }
    Label(OLD_ID_ITEM, item, 7);
    ToHost(TEXT("新しい名前"), narrow, 64);
    host->Request(SVC_ITEM_SET_TEXT, 0, (uintptr_t)narrow);
    ToHost(TEXT("C:\\開く\\表.txt"), narrow, 64);
    host->Request(SVC_OPEN_INDEX, (uintptr_t)&index, (uintptr_t)narrow);
    ToHost(TEXT("お知らせ"), narrow, 64);
    host->ShowMessage(narrow, MB_OK);
}

static HFONT Font(int charset, const TCHAR *face)
{
    return CreateFont(16, 0, 0, 0, FW_NORMAL, 0, 0, 0, charset, 0, 0, NONANTIALIASED_QUALITY, 0, face);
}

static void Paint(HDC dc)
{
    static const TCHAR Spaced[] = TEXT("間隔つき");
    RECT area = {0, 0, 200, 20}, small = {0, 160, 90, 180};
    LOGFONT logical = {0};
    HFONT gothic = Font(DEFAULT_CHARSET, TEXT("ＭＳ ゴシック")), japanese = Font(SHIFTJIS_CHARSET, TEXT("ＭＳ ゴシック"));
    HFONT proportional;
    HGDIOBJ old = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    SIZE size;
    INT advances[16];
    int i;
    SetBkMode(dc, TRANSPARENT);
    DrawText(dc, TEXT("既定のフォント"), -1, &area, DT_LEFT | DT_SINGLELINE);
    DrawTextEx(dc, Shortened, -1, &small, DT_SINGLELINE | DT_END_ELLIPSIS | DT_MODIFYSTRING, NULL);
    TextOut(dc, 100, 160, Shortened, lstrlen(Shortened));

    SelectObject(dc, gothic);
    TextOut(dc, 0, 20, TEXT("ゴシック"), lstrlen(TEXT("ゴシック")));
    GetTextExtentPoint32(dc, TEXT("ゴシック"), lstrlen(TEXT("ゴシック")), &size);
    TextOut(dc, size.cx, 20, TEXT("の続き"), lstrlen(TEXT("の続き")));
    /* 14 pixels a character: given per byte, the trail byte's 0 */
    for (i = 0; i < lstrlen(Spaced); ++i)
        advances[i] = 14;
#ifndef UNICODE
    for (i = 0; Spaced[i]; ++i)
        if (IsDBCSLeadByte((BYTE)Spaced[i]))
            advances[++i] = 0;
#endif
    ExtTextOut(dc, 0, 40, 0, NULL, Spaced, lstrlen(Spaced), advances);
    {
        INT tab = 80;
        TabbedTextOut(dc, 0, 60, TEXT("名前\t値"), lstrlen(TEXT("名前\t値")), 1, &tab, 0);
    }
    logical.lfHeight = 18;
    logical.lfCharSet = DEFAULT_CHARSET;
    logical.lfQuality = NONANTIALIASED_QUALITY;
    lstrcpy(logical.lfFaceName, TEXT("ＭＳ Ｐゴシック"));
    proportional = CreateFontIndirect(&logical);
    SelectObject(dc, proportional);
    area.top = 80;
    area.bottom = 100;
    DrawText(dc, TEXT("プロポーショナル"), -1, &area, DT_LEFT | DT_SINGLELINE);
    SelectObject(dc, japanese); /* GDI's own conversion, by the font's character set */
    TextOut(dc, 0, 100, TEXT("シフトJIS"), lstrlen(TEXT("シフトJIS")));
    SelectObject(dc, old);
    DeleteObject(gothic);
    DeleteObject(japanese);
    DeleteObject(proportional);
}

static void Copy(void)
{
    static const TCHAR Text[] = TEXT("クリップボード");
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof Text);
    if (!block)
        return;
    lstrcpy((TCHAR *)GlobalLock(block), Text);
    GlobalUnlock(block);
    if (!OpenClipboard(PanelWindow)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TTEXT, block))
        GlobalFree(block);
    CloseClipboard();
}

static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PAINTSTRUCT ps;
    switch (message) {
    case WM_PAINT:
        Paint(BeginPaint(window, &ps));
        EndPaint(window, &ps);
        return 0;
    case OLD_COPY:
        Copy();
        return 0;
    case OLD_BOX:
        return MessageBox(window, TEXT("本文です"), TEXT("題名"), MB_OK);
    }
    return DefWindowProc(window, message, wParam, lParam);
}

static LRESULT CALLBACK NoteProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProc(window, message, wParam, lParam);
}

static void Release(void)
{
    if (PanelWindow) {
        RemoveProp(PanelWindow, TEXT("OldMenu"));
        DestroyWindow(PanelWindow);
        PanelWindow = NULL;
    }
    if (PanelMenu) {
        DestroyMenu(PanelMenu);
        PanelMenu = NULL;
    }
    UnregisterClass(OLD_PANEL_CLASS, ModuleInstance);
    UnregisterClass(OLD_NOTE_CLASS, ModuleInstance);
}

static HWND WPN_CALL PanelCreate(struct HostServices *host, HWND parent)
{
    WNDCLASS wc = {0};
    Release();
    wc.lpfnWndProc = PanelProc;
    wc.hInstance = ModuleInstance;
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = OLD_PANEL_CLASS;
    RegisterClass(&wc);
    wc.lpfnWndProc = NoteProc;
    wc.lpszClassName = OLD_NOTE_CLASS;
    RegisterClass(&wc);
    PanelWindow = CreateWindowEx(0, OLD_PANEL_CLASS, TEXT("古いパネル"), WS_CHILD | WS_VISIBLE, 0, 0, 400, 200,
                                 parent, NULL, ModuleInstance, NULL);
    if (!PanelWindow)
        return NULL;
    Services(host);
    WindowTexts();
    Menu();
    CodePage();
    Files();
    return PanelWindow;
}

static int32_t WPN_CALL PanelDestroy(struct HostServices *host, HWND panel)
{
    (void)host;
    (void)panel;
    Release();
    return 0;
}

uint32_t WPN_CALL WPN_GetPluginInfo(void)
{
    return 1;
}

int32_t WPN_CALL WPN_Initialize(struct PanelCallbacks *callbacks)
{
    callbacks->PanelCreate = PanelCreate;
    callbacks->PanelDestroy = PanelDestroy;
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        ModuleInstance = instance;
    return TRUE;
}
