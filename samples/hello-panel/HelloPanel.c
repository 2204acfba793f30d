/* HelloPanel: the smallest complete panel plug-in, in plain C.
 *
 * It keeps the whole contract: the two exports (named in HelloPanel.def),
 * the four callbacks, a child window of the host's parent, a context menu of
 * one item, and every text the host hands out given back through Free. The
 * window shows a greeting in Japanese, the host's service version, the number
 * of items in the host's list (read again on every tick), how many ticks
 * came, and the settings folder the host names.
 *
 * One loaded module serves one panel, so its state is a few module-wide
 * variables. Every window, class and menu it makes is released on every
 * path, and nothing it holds outlives PanelDestroy. */
#include "WpnContract.h"

#define IDM_RESET 1

static const char ClassName[] = "HelloPanel";

/* This file is UTF-8, but the host draws narrow text in its ANSI code page,
 * 932 on a Japanese system, so the compiler must store every literal in code
 * page 932: -fexec-charset=CP932 with gcc, /source-charset:utf-8
 * /execution-charset:.932 with MSVC (README.txt, "Japanese text in a
 * plug-in"). The check measures one character, not the greeting: "あ" is two
 * bytes in code page 932 and three in UTF-8, so a build that stores UTF-8
 * stops here, at an array of negative size named after the cure, instead of
 * showing garbage. Change the greeting at will. */
static const char Greeting[] = "こんにちは"; /* "hello" */
typedef char LiteralsMustBeCodePage932_UseFexecCharsetCP932[sizeof "あ" == 3 ? 1 : -1];

static HINSTANCE ModuleInstance;
static HWND PanelWindow;      /* null when there is no panel */
static BOOL ClassRegistered;
static char Version[16], Items[16]; /* the host's answers, as text */
static unsigned long Ticks;
static char SettingsFolder[MAX_PATH];

/* A number the host wrote, or what the host said instead. */
static void AskNumber(struct HostServices *host, uint32_t code, char *text)
{
    uint32_t number = 0;
    if (host->Request(code, (uintptr_t)&number, 0) == SVC_OK)
        wsprintfA(text, "%lu", (unsigned long)number);
    else
        lstrcpyA(text, "not served");
}

static void Paint(HWND window, HDC dc)
{
    char text[256 + MAX_PATH];
    RECT area;
    HGDIOBJ oldFont = SelectObject(dc, GetStockObject(DEFAULT_GUI_FONT));
    wsprintfA(text, "Hello from a panel plug-in in C: %s\r\n\r\nservice version: %s\r\nitems: %s\r\n"
                    "ticks: %lu\r\nsettings folder: %s",
              Greeting, Version, Items, Ticks, SettingsFolder);
    GetClientRect(window, &area);
    InflateRect(&area, -8, -8);
    SetBkMode(dc, TRANSPARENT);
    DrawTextA(dc, text, -1, &area, DT_LEFT | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(dc, oldFont);
}

/* Shows the one-item menu at a screen point and runs its command. */
static void ShowMenu(HWND window, POINT at)
{
    HMENU menu = CreatePopupMenu();
    if (!menu)
        return;
    AppendMenuA(menu, MF_STRING, IDM_RESET, "&Reset the tick count");
    if (TrackPopupMenu(menu, TPM_RIGHTBUTTON | TPM_RETURNCMD, at.x, at.y, 0, window, NULL) == IDM_RESET) {
        Ticks = 0;
        InvalidateRect(window, NULL, TRUE);
    }
    DestroyMenu(menu);
}

static LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PAINTSTRUCT ps;
    POINT at;
    switch (message) {
    case WM_PAINT:
        Paint(window, BeginPaint(window, &ps));
        EndPaint(window, &ps);
        return 0;
    case WM_CONTEXTMENU:
        at.x = (short)LOWORD(lParam);
        at.y = (short)HIWORD(lParam);
        if (lParam == -1) { /* from the keyboard: at the panel's corner */
            at.x = at.y = 0;
            ClientToScreen(window, &at);
        }
        ShowMenu(window, at);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

/* Destroys the window before retiring its class: a class outlives the DLL
 * that registered it and would name a procedure that is gone. */
static void ReleasePanel(void)
{
    if (PanelWindow) {
        DestroyWindow(PanelWindow);
        PanelWindow = NULL;
    }
    if (ClassRegistered) {
        UnregisterClassA(ClassName, ModuleInstance);
        ClassRegistered = FALSE;
    }
}

static HWND WPN_CALL PanelCreate(struct HostServices *host, HWND parent)
{
    WNDCLASSA wc = {0};
    RECT area;
    char *folder = NULL;

    ReleasePanel(); /* a second call replaces the first panel */
    AskNumber(host, SVC_VERSION, Version);
    AskNumber(host, SVC_ITEM_COUNT, Items);
    Ticks = 0;
    /* The folder text is the host's: copy it, then give it back at once. */
    SettingsFolder[0] = '\0';
    if (host->Request(SVC_FOLDER, SVC_FOLDER_SETTINGS, (uintptr_t)&folder) == SVC_OK) {
        lstrcpynA(SettingsFolder, folder, sizeof SettingsFolder);
        host->Free(folder);
    }

    wc.lpfnWndProc = PanelProc;
    wc.hInstance = ModuleInstance;
    wc.hCursor = LoadCursor(NULL, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = ClassName;
    ClassRegistered = RegisterClassA(&wc) != 0;
    if (!ClassRegistered)
        return NULL;
    GetClientRect(parent, &area);
    PanelWindow = CreateWindowExA(0, ClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, area.right, area.bottom, parent,
                                  NULL, ModuleInstance, NULL);
    if (!PanelWindow)
        ReleasePanel();
    return PanelWindow;
}

static int32_t WPN_CALL PanelDestroy(struct HostServices *host, HWND panel)
{
    (void)host;
    (void)panel; /* the window PanelCreate returned: ours already */
    ReleasePanel();
    return 0;
}

static int32_t WPN_CALL PanelTick(struct HostServices *host, HWND panel)
{
    (void)panel; /* PanelWindow */
    ++Ticks;
    AskNumber(host, SVC_ITEM_COUNT, Items);
    if (PanelWindow) /* a null window would repaint the whole screen */
        InvalidateRect(PanelWindow, NULL, TRUE);
    return 0;
}

static int32_t WPN_CALL PanelContextMenu(struct HostServices *host, HWND panel, uint32_t arg3, uint32_t arg4)
{
    POINT at;
    (void)host;
    (void)arg3;
    (void)arg4;
    (void)panel; /* PanelWindow */
    if (PanelWindow && GetCursorPos(&at))
        ShowMenu(PanelWindow, at);
    return 0;
}

/* Exports (see HelloPanel.def): the host accepts the module when the low
 * byte of this answer is 1, then hands over the record to fill. */
uint32_t WPN_CALL WPN_GetPluginInfo(void)
{
    return 1;
}

int32_t WPN_CALL WPN_Initialize(struct PanelCallbacks *callbacks)
{
    callbacks->PanelCreate = PanelCreate;
    callbacks->PanelDestroy = PanelDestroy;
    callbacks->PanelTick = PanelTick;
    callbacks->PanelContextMenu = PanelContextMenu;
    return 0; /* PanelFilter stays zero: not offered */
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved)
{
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH)
        ModuleInstance = instance;
    return TRUE;
}
