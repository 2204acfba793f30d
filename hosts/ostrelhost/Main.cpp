/* ostrelhost: a stand-in of the newer host application, for demos and tests.
 *
 *   ostrelhost [--close-after MS] [PLUGIN.dll]
 *
 * Shows a window with the host's item list on the left and a side-panel area
 * on the right, loads one plug-in of the newer kind (the named one, or the
 * first DLL beside this program that exports OPI_CreateInstance), shows its
 * panel, its name in the title and its identifier and icon path in the
 * status line. Host folders sit under OSTREL_HOME, or beside this program.
 * Closing the window destroys the panel and releases the plug-in; the exit
 * code is 2 when no plug-in could be used and 3 when the plug-in kept an
 * interface reference or a block of host memory, gave back one it was never
 * handed, or gave the host library a null pointer. */
#include "OstrelStandIn.h"
#include "Paths.h"
#include "PanelSession.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

enum { REFRESH_TIMER = 1, CLOSE_TIMER = 2, REFRESH_PERIOD = 1000 };
enum { MARGIN = 8, LIST_WIDTH = 300, STATUS_HEIGHT = 20 };

HWND MainWindow, ItemListBox, PanelArea, StatusLine;
PanelSession Session;

/* The first DLL beside this program that is a plug-in of the newer kind. */
std::wstring FindPlugin()
{
    std::wstring folder = ProgramFolder();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*.dll").c_str(), &found);
    std::wstring result;
    if (search == INVALID_HANDLE_VALUE)
        return result;
    do {
        std::wstring path = folder + found.cFileName;
        if (lstrcmpiW(found.cFileName, L"OstrelLib.dll") != 0 && IsPanelModule(path)) {
            result = path;
            break;
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return result;
}

/* The host's own folders exist before any plug-in asks for them; the
 * settings folder inside kind 5 is the adaptor's to make. */
void PrepareFolders()
{
    for (int kind : {1, 2, 5, 17}) {
        wchar_t *text = nullptr;
        if (!OlxGetClient()->GetFolder(kind, &text) || !text)
            continue;
        std::wstring folder = text;
        OlxGetMemory()->Free(text);
        CreateDirectoryW(folder.c_str(), nullptr);
    }
}

void AddSampleItems()
{
    OstrelTestAddItem(3, L"readme.txt", L"C:\\ostrel\\docs\\readme.txt");
    OstrelTestAddItem(14, L"notes.txt", L"C:\\ostrel\\docs\\notes.txt");
    OstrelTestAddItem(15, L"todo.txt", L"C:\\ostrel\\docs\\todo.txt");
    OstrelTestAddItem(92, L"\u65E5\u8A18.txt", L"C:\\ostrel\\docs\\\u65E5\u8A18.txt"); // 日記
    OstrelTestSetCurrent(1);
}

void RefreshItems()
{
    int top = (int)SendMessageW(ItemListBox, LB_GETTOPINDEX, 0, 0);
    SendMessageW(ItemListBox, WM_SETREDRAW, FALSE, 0);
    SendMessageW(ItemListBox, LB_RESETCONTENT, 0, 0);
    int current = OstrelTestCurrent();
    for (int i = 0; i < OstrelTestItemCount(); ++i) {
        OstrelItemInfo info;
        if (!OstrelTestGetItem(i, &info))
            continue;
        wchar_t line[400];
        wsprintfW(line, L"%s %d  %s  (%lu)%s%s", i == current ? L"\u25B6" : L"  ", i, info.TextA,
                  (unsigned long)info.Value, info.TextsSet ? L"  \u2190 " : L"", info.LastSetText);
        SendMessageW(ItemListBox, LB_ADDSTRING, 0, (LPARAM)line);
    }
    SendMessageW(ItemListBox, LB_SETTOPINDEX, top, 0);
    SendMessageW(ItemListBox, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(ItemListBox, nullptr, TRUE);
}

void Layout(int width, int height)
{
    int bottom = height - MARGIN - STATUS_HEIGHT - MARGIN;
    MoveWindow(ItemListBox, MARGIN, MARGIN, LIST_WIDTH, bottom - MARGIN, TRUE);
    int areaWidth = width - LIST_WIDTH - 3 * MARGIN;
    MoveWindow(PanelArea, LIST_WIDTH + 2 * MARGIN, MARGIN, areaWidth, bottom - MARGIN, TRUE);
    MoveWindow(StatusLine, MARGIN, height - MARGIN - STATUS_HEIGHT, width - 2 * MARGIN, STATUS_HEIGHT, TRUE);
    // The panel fills the host's panel area; the plug-in never sizes itself.
    if (Session.Panel())
        MoveWindow(Session.Panel(), 0, 0, areaWidth, bottom - MARGIN, TRUE);
}

void OnCreate(HWND window)
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    ItemListBox = CreateWindowExW(WS_EX_CLIENTEDGE, L"LISTBOX", L"",
                                  WS_CHILD | WS_VISIBLE | WS_VSCROLL | LBS_NOINTEGRALHEIGHT, 0, 0, 0, 0,
                                  window, nullptr, instance, nullptr);
    PanelArea = CreateWindowExW(WS_EX_CLIENTEDGE, L"OstrelPanelArea", L"", WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN,
                                0, 0, 0, 0, window, nullptr, instance, nullptr);
    StatusLine = CreateWindowExW(0, L"STATIC", L"", WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP, 0, 0, 0, 0,
                                 window, nullptr, instance, nullptr);
    HFONT font = OstrelTestFont();
    SendMessageW(ItemListBox, WM_SETFONT, (WPARAM)font, FALSE);
    SendMessageW(StatusLine, WM_SETFONT, (WPARAM)font, FALSE);
}

void OnClose(HWND window)
{
    KillTimer(window, REFRESH_TIMER);
    Session.Close();
    DestroyWindow(window);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CREATE:
        OnCreate(window);
        return 0;
    case WM_SIZE:
        Layout(LOWORD(lParam), HIWORD(lParam));
        return 0;
    case WM_TIMER:
        if (wParam == REFRESH_TIMER)
            RefreshItems();
        else if (wParam == CLOSE_TIMER)
            PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        OnClose(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void RegisterClasses(HINSTANCE instance)
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = MainProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_BTNFACE + 1);
    wc.lpszClassName = L"OstrelHost";
    RegisterClassW(&wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = L"OstrelPanelArea";
    RegisterClassW(&wc);
}

int Usage()
{
    fprintf(stderr, "usage: ostrelhost [--close-after MS] [PLUGIN.dll]\n");
    return 2;
}

/* 0 when the plug-in gave back everything it was handed and gave the host
 * library nothing it need not take, else 3. */
int Accounting()
{
    OstrelCounters counters;
    OstrelTestGetCounters(&counters);
    if (counters.References == 0 && counters.Blocks == 0 && counters.BadFrees == 0 && counters.NullPointers == 0)
        return 0;
    fprintf(stderr,
            "ostrelhost: left over: %d interface references, %d host memory blocks, %d bad frees, "
            "%d null pointers\n",
            counters.References, counters.Blocks, counters.BadFrees, counters.NullPointers);
    return 3;
}

} // namespace

int main()
{
    std::vector<std::wstring> words;
    if (!ProgramArguments(words))
        return Usage();
    std::wstring plugin;
    UINT closeAfter = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring &arg = words[i];
        if (arg == L"--close-after" && i + 1 < words.size())
            closeAfter = (UINT)_wtoi(words[++i].c_str());
        else if (!arg.empty() && arg[0] != L'-' && plugin.empty())
            plugin = arg;
        else
            return Usage();
    }
    if (plugin.empty())
        plugin = FindPlugin();
    if (plugin.empty()) {
        fprintf(stderr, "ostrelhost: no plug-in beside the program; name one\n");
        return 2;
    }

    PrepareFolders();
    AddSampleItems();
    std::string error;
    if (!Session.Open(plugin, error)) {
        fprintf(stderr, "ostrelhost: %s: %s\n", Narrow(plugin).c_str(), error.c_str());
        return 2;
    }

    HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterClasses(instance);
    std::wstring title = L"Ostrel - " + Session.Name();
    MainWindow = CreateWindowExW(0, L"OstrelHost", title.c_str(), WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 640, 420, nullptr, nullptr, instance, nullptr);
    if (!MainWindow) {
        fprintf(stderr, "ostrelhost: cannot create the host window\n");
        Session.Close();
        return 1;
    }
    OstrelSetMainWindow(MainWindow);
    std::wstring status = Session.Id() + L"    " + Session.IconPath();
    SetWindowTextW(StatusLine, status.c_str());
    Session.CreatePanel(PanelArea);
    RECT client;
    GetClientRect(MainWindow, &client);
    Layout(client.right, client.bottom);
    RefreshItems();
    ShowWindow(MainWindow, SW_SHOWNORMAL);
    SetTimer(MainWindow, REFRESH_TIMER, REFRESH_PERIOD, nullptr);
    if (closeAfter)
        SetTimer(MainWindow, CLOSE_TIMER, closeAfter, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    OstrelSetMainWindow(nullptr);
    return Accounting();
}
