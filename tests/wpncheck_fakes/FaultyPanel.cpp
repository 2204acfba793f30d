/* Panel plug-ins with one fault each, for wpncheck's own tests: a plain,
 * well-behaved panel (a child window of a class whose procedure is
 * DefWindowProcA, so that it survives unloading), into which exactly one
 * FAULT_* definition brings one breach of the contract:
 *   FAULT_NONE         none; exported without the decorated names
 *   FAULT_STACK        PanelTick is caller-pops, leaving its arguments behind
 *   FAULT_SLOTS        WPN_Initialize writes into the reserved bytes
 *   FAULT_KEEP_TEXT    the settings folder text is never given back
 *   FAULT_FREE_TWICE   the settings folder text is given back twice
 *   FAULT_RECORD       PanelCreate writes into the host record
 *   FAULT_LEAK         each panel makes a brush and never deletes it
 *   FAULT_KEEP_WINDOW  PanelDestroy leaves the panel window alive
 *   FAULT_POPUP        the panel is a popup window, not a child
 *   FAULT_NULL_OUT     asks SVC_FOLDER with a null out
 *   FAULT_LATE_SLOT    PanelCreate writes the callbacks record, kept from WPN_Initialize
 *   FAULT_LATE=REQUEST, ALLOC, FREE or MESSAGE
 *                      PanelDestroy leaves a timer running that uses that
 *                      service through the host record after it returned
 *                      (FREE: the settings folder text, kept until then)
 *   FAULT_RELOAD       behaves on its first load; makes no panel on its second
 * Each panel, at PanelDestroy, adds a line to "ticks.txt" in its settings
 * folder: the number of PanelTick calls it received, so that a test can hold
 * the host to the count it reports. */
#include "WpnContract.h"

#include <stdlib.h>

#define REQUEST 1
#define ALLOC 2
#define FREE 3
#define MESSAGE 4

namespace {

const char ClassName[] = "wpncheck faulty panel";
const char TickFile[] = "ticks.txt";
HWND Panel;
char TickPath[MAX_PATH]; // empty when the host gave no folder, or too long a one
LONG Ticks;              // PanelTick calls since PanelCreate
#if defined(FAULT_LEAK)
HBRUSH Leaked;
#endif
#if defined(FAULT_LATE_SLOT)
PanelCallbacks *Callbacks;
#endif
#if defined(FAULT_LATE)
HostServices *KeptHost;
#if FAULT_LATE == FREE
char *KeptText;
#endif

// Once, after PanelDestroy returned: the host record it kept, used late.
void CALLBACK LateTimer(HWND, UINT, UINT_PTR id, DWORD)
{
    KillTimer(nullptr, id);
#if FAULT_LATE == REQUEST
    uint32_t version = 0;
    KeptHost->Request(SVC_VERSION, (uintptr_t)&version, 0);
#elif FAULT_LATE == ALLOC
    KeptHost->Free(KeptHost->Alloc(16)); // both late; the block still goes back
#elif FAULT_LATE == FREE
    KeptHost->Free(KeptText); // the settings folder, given back too late
#else
    KeptHost->ShowMessage("late", MB_OK);
#endif
}
#endif
#if defined(FAULT_RELOAD)
// The loads of this module in this process; an environment variable outlives the module.
int LoadNumber()
{
    char text[16] = "0";
    GetEnvironmentVariableA("FAULTY_PANEL_LOADS", text, sizeof text);
    return atoi(text);
}
#endif

HINSTANCE Self()
{
    HMODULE self = nullptr;
    GetModuleHandleExA(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                       (LPCSTR)&Panel, &self);
    return self;
}

void NoteTicks()
{
    if (!TickPath[0])
        return;
    HANDLE file = CreateFileA(TickPath, FILE_APPEND_DATA, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return;
    char line[16];
    DWORD written;
    WriteFile(file, line, (DWORD)wsprintfA(line, "%ld\r\n", Ticks), &written, nullptr);
    CloseHandle(file);
}

HWND WPN_CALL PanelCreate(HostServices *host, HWND parent)
{
    Ticks = 0;
    TickPath[0] = '\0';
    char *folder = nullptr;
    if (host->Request(SVC_FOLDER, SVC_FOLDER_SETTINGS, (uintptr_t)&folder) == SVC_OK) {
        if (lstrlenA(folder) + sizeof TickFile <= sizeof TickPath)
            wsprintfA(TickPath, "%s%s", folder, TickFile);
#if defined(FAULT_LATE) && FAULT_LATE == FREE
        KeptText = folder;
#elif !defined(FAULT_KEEP_TEXT)
        host->Free(folder);
#endif
#if defined(FAULT_FREE_TWICE)
        host->Free(folder);
#endif
    }
#if defined(FAULT_RECORD)
    host->Unused[10] = 1;
#endif
#if defined(FAULT_NULL_OUT)
    host->Request(SVC_FOLDER, SVC_FOLDER_SETTINGS, 0);
#endif
#if defined(FAULT_LATE_SLOT)
    Callbacks->PanelFilter = (PanelFilterFn)(void *)PanelCreate;
#endif
#if defined(FAULT_RELOAD)
    if (LoadNumber() > 1)
        return nullptr;
#endif
#if defined(FAULT_LEAK)
    Leaked = CreateSolidBrush(RGB(1, 2, 3));
#endif
    WNDCLASSA wc = {};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = Self();
    wc.lpszClassName = ClassName;
    RegisterClassA(&wc);
#if defined(FAULT_POPUP)
    const DWORD style = WS_POPUP | WS_VISIBLE;
#else
    const DWORD style = WS_CHILD | WS_VISIBLE;
#endif
    Panel = CreateWindowExA(0, ClassName, "", style, 0, 0, 100, 100, parent, nullptr, Self(), nullptr);
    return Panel;
}

int32_t WPN_CALL PanelDestroy(HostServices *host, HWND)
{
    NoteTicks();
#if !defined(FAULT_KEEP_WINDOW)
    if (Panel) {
        DestroyWindow(Panel);
        Panel = nullptr;
    }
#endif
    UnregisterClassA(ClassName, Self());
#if defined(FAULT_LATE)
    KeptHost = host;
    SetTimer(nullptr, 0, 50, LateTimer);
#endif
    return 0;
}

#if defined(FAULT_STACK)
int32_t __cdecl PanelTick(HostServices *, HWND)
#else
int32_t WPN_CALL PanelTick(HostServices *, HWND)
#endif
{
    ++Ticks;
    return 0;
}

} // namespace

extern "C" uint32_t WPN_CALL WPN_GetPluginInfo(void)
{
    return 0x0001;
}

extern "C" int32_t WPN_CALL WPN_Initialize(PanelCallbacks *callbacks)
{
    callbacks->PanelCreate = PanelCreate;
    callbacks->PanelDestroy = PanelDestroy;
    callbacks->PanelTick = (PanelTickFn)(void *)PanelTick;
#if defined(FAULT_LATE_SLOT)
    Callbacks = callbacks;
#endif
#if defined(FAULT_RELOAD)
    char loads[16];
    wsprintfA(loads, "%d", LoadNumber() + 1);
    SetEnvironmentVariableA("FAULTY_PANEL_LOADS", loads);
#endif
#if defined(FAULT_SLOTS)
    callbacks->Unused[0] = 1;
#endif
    return 0;
}
