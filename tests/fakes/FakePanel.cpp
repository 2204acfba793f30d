/* Fake panel plug-ins for the adaptor's tests, one source built several
 * times: FAKE_GOOD records every call and exercises every service from
 * inside PanelCreate; FAKE_BAD_INFO answers its info call with 0x0100;
 * FAKE_INIT_FAILS returns 1 from WPN_Initialize; FAKE_NULL_PANEL makes no
 * window; FAKE_NO_INIT lacks WPN_Initialize (see FakeNoInit.def);
 * FAKE_MODAL_TICK shows a message box through ShowMessage from its first
 * tick, or from its window's procedure on WM_CONTEXTMENU, whose modal loop
 * goes on delivering the host's timers.
 *
 * The re-entrant ones give the host a modal loop in which to come back:
 *   FAKE_MODAL_DESTROY   PanelDestroy destroys the window, then shows a box;
 *   FAKE_MODAL_CREATE    PanelCreate makes the window, then shows a box (a
 *                        first-run notice) before it returns the window;
 *   FAKE_CHILD_BOX       the panel holds a control whose own procedure, in
 *                        this module, shows a box on WM_CONTEXTMENU;
 *   FAKE_FAULT_TICK      the first PanelTick writes through a null pointer;
 *   FAKE_LEAVES_WINDOW   PanelDestroy leaves the window standing.
 * Each panel but the last one's sends its messages through a procedure of
 * this module, so a window left behind would run code that is gone.
 *
 * The hostile ones follow the contract's shape but answer with odd values:
 *   FAKE_INFO_HIGH_BITS  WPN_GetPluginInfo answers 0xFFFFFF01: only the low
 *                        byte counts, so this one is used like any other;
 *   FAKE_INIT_GARBAGE    WPN_Initialize answers 0xDEADBEEF: refused;
 *   FAKE_STRAY_WINDOW    PanelCreate answers a handle that is no child of
 *                        the parent, chosen by TUFT_FAKE_STRAY in the
 *                        environment: "random" (no window at all), "parent"
 *                        (the parent itself) or "popup" (a top-level window
 *                        of its own, destroyed again in PanelDestroy). */
#include "FakeLog.h"
#include "WpnContract.h"

#include <string.h>

namespace {

FakeLogMapping Log;

#if defined(FAKE_GOOD)
void CopyAndFree(HostServices *host, char *text, char *copy, size_t capacity, uint32_t *freeResult)
{
    lstrcpynA(copy, text, (int)capacity);
    *freeResult = host->Free(text);
}

void ExerciseServices(HostServices *host)
{
    FakeServiceTrace &t = Log.Get()->Services;
    t.VersionResult = host->Request(SVC_VERSION, (uintptr_t)&t.Version, 0);
    t.CountResult = host->Request(SVC_ITEM_COUNT, (uintptr_t)&t.Count, 0);
    t.ValueResult = host->Request(SVC_ITEM_VALUE, 0, (uintptr_t)&t.Value);
    t.ValueBResult = host->Request(SVC_ITEM_VALUE_B, 1, (uintptr_t)&t.ValueB);
    t.SetTextResult = host->Request(SVC_ITEM_SET_TEXT, 0, (uintptr_t)FAKE_SET_TEXT);
    t.OpenResult = host->Request(SVC_OPEN, 7, (uintptr_t)FAKE_OPEN_TEXT);
    t.OpAResult = host->Request(SVC_ITEM_OP_A, 0, 0);
    t.OpBResult = host->Request(SVC_ITEM_OP_B, 1, 0);
    char *text = nullptr;
    t.TextAResult = host->Request(SVC_ITEM_TEXT_A, 0, (uintptr_t)&text);
    if (t.TextAResult == SVC_OK)
        CopyAndFree(host, text, t.TextA, sizeof t.TextA, &t.TextAFree);
    t.TextBResult = host->Request(SVC_ITEM_TEXT_B, 1, (uintptr_t)&text);
    if (t.TextBResult == SVC_OK)
        CopyAndFree(host, text, t.TextB, sizeof t.TextB, &t.TextBFree);
    t.CurrentResult = host->Request(SVC_CURRENT_INDEX, (uintptr_t)&t.Current, 0);
    t.OpenIndexResult = host->Request(SVC_OPEN_INDEX, (uintptr_t)&t.OpenIndex, (uintptr_t)FAKE_OPEN_TEXT);
    for (int which = 0; which < 3; ++which) {
        t.FolderResult[which] = host->Request(SVC_FOLDER, which, (uintptr_t)&text);
        if (t.FolderResult[which] == SVC_OK)
            CopyAndFree(host, text, t.Folder[which], sizeof t.Folder[which], &t.FolderFree[which]);
    }
    t.UnknownResult = host->Request(12, 0, 0);
    t.ReservedResult = host->Reserved(1, 2, 3);
    void *block = host->Alloc(64);
    t.AllocOk = block != nullptr;
    if (block) {
        memset(block, 0xA5, 64);
        t.AllocFree = host->Free(block);
    }
    t.MessageResult = host->ShowMessage(FAKE_MESSAGE, MB_YESNO | MB_ICONQUESTION);
}
#endif

#if defined(FAKE_MODAL_TICK) || defined(FAKE_MODAL_DESTROY) || defined(FAKE_MODAL_CREATE) || \
    defined(FAKE_CHILD_BOX)
#define FAKE_SHOWS_BOXES 1
#endif
#if defined(FAKE_SHOWS_BOXES) || defined(FAKE_FAULT_TICK)
#define FAKE_OWN_PROCEDURE 1
#endif

#if defined(FAKE_SHOWS_BOXES)
HostServices *BoxHost; // PanelCreate's host record

void ShowBox(HostServices *host)
{
    FakeLog *log = Log.Get();
    ++log->BoxesShown;
    host->ShowMessage(FAKE_MESSAGE, MB_OK);
    ++log->BoxesReturned; // back in this module's code
}
#endif

#if defined(FAKE_OWN_PROCEDURE)
WNDPROC StaticProc;

LRESULT CALLBACK PanelProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
#if defined(FAKE_MODAL_TICK)
    if (message == WM_CONTEXTMENU) {
        ShowBox(BoxHost);
        return 0;
    }
#endif
    return CallWindowProcA(StaticProc, window, message, wParam, lParam);
}
#endif

#if defined(FAKE_CHILD_BOX)
WNDPROC ChildStaticProc;

LRESULT CALLBACK ChildProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CONTEXTMENU) {
        ShowBox(BoxHost);
        return 0;
    }
    return CallWindowProcA(ChildStaticProc, window, message, wParam, lParam);
}

void MakeChild(HWND panel)
{
    HWND child = CreateWindowExA(0, "STATIC", "fake control", WS_CHILD | WS_VISIBLE, 4, 4, 40, 20, panel, nullptr,
                                 nullptr, nullptr);
    ChildStaticProc = (WNDPROC)SetWindowLongPtrA(child, GWLP_WNDPROC, (LONG_PTR)ChildProc);
    Log.Get()->Child = child;
}
#endif

HWND MakePanel(HWND parent)
{
#if defined(FAKE_NULL_PANEL)
    (void)parent;
    return nullptr;
#elif defined(FAKE_STRAY_WINDOW)
    // A handle value no window has: Wine and Windows never hand out index 3.
    const uintptr_t NoSuchWindow = 0x7FFF0003;
    char mode[16] = {};
    GetEnvironmentVariableA("TUFT_FAKE_STRAY", mode, sizeof mode);
    if (lstrcmpA(mode, "parent") == 0)
        return parent;
    if (lstrcmpA(mode, "popup") == 0)
        return CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "stray popup", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40,
                               nullptr, nullptr, nullptr, nullptr);
    return (HWND)NoSuchWindow;
#else
    HWND panel = CreateWindowExA(0, "STATIC", "fake panel", WS_CHILD | WS_VISIBLE, 0, 0, 120, 80, parent, nullptr,
                                 nullptr, nullptr);
#if defined(FAKE_OWN_PROCEDURE)
    StaticProc = (WNDPROC)SetWindowLongPtrA(panel, GWLP_WNDPROC, (LONG_PTR)PanelProc);
#endif
#if defined(FAKE_CHILD_BOX)
    MakeChild(panel);
#endif
    return panel;
#endif
}

HWND WPN_CALL PanelCreate(HostServices *host, HWND parent)
{
    FakeLog *log = Log.Get();
    ++log->CreateCalls;
    log->CreateHost = (uintptr_t)host;
    log->CreateParent = parent;
    log->HostSizeSeen = host->StructSize;
    log->HostReservedNonZero = 0;
    for (uint8_t byte : host->Unused)
        log->HostReservedNonZero += byte != 0;
#if defined(FAKE_GOOD)
    ExerciseServices(host);
#elif defined(FAKE_SHOWS_BOXES)
    BoxHost = host;
#endif
    HWND panel = MakePanel(parent);
    log->Panel = panel;
#if defined(FAKE_MODAL_CREATE)
    ShowBox(host);
#endif
    return panel;
}

int32_t WPN_CALL PanelDestroy(HostServices *host, HWND panel)
{
    FakeLog *log = Log.Get();
    ++log->DestroyCalls;
    log->DestroyHost = (uintptr_t)host;
    log->DestroyWindowArg = panel;
#if !defined(FAKE_LEAVES_WINDOW)
    // Only a window this plug-in made is its to destroy; never the parent.
    if (panel && panel == log->Panel && panel != log->CreateParent && IsWindow(panel))
        DestroyWindow(panel);
#endif
#if defined(FAKE_MODAL_DESTROY)
    ShowBox(host);
#endif
    return 0;
}

int32_t WPN_CALL PanelTick(HostServices *host, HWND panel)
{
    FakeLog *log = Log.Get();
    ++log->TickCalls;
    log->TickHost = (uintptr_t)host;
    log->TickWindow = panel;
#if defined(FAKE_FAULT_TICK)
    if (log->TickCalls == 1) {
        volatile int *volatile nowhere = nullptr; // read at run time: the compiler cannot drop the write
        *nowhere = 1;
    }
#endif
    if (++log->TickDepth > log->MaxTickDepth)
        log->MaxTickDepth = log->TickDepth;
#if defined(FAKE_MODAL_TICK)
    if (log->TickCalls == 1 && log->BoxesShown == 0)
        ShowBox(host);
#endif
    --log->TickDepth;
    return 0;
}

#if defined(FAKE_GOOD)
int32_t WPN_CALL PanelFilter(uint32_t value)
{
    FakeLog *log = Log.Get();
    ++log->FilterCalls;
    log->LastFilterValue = value;
    return value == FAKE_FILTER_CONSUMED;
}
#endif

} // namespace

extern "C" uint32_t WPN_CALL WPN_GetPluginInfo(void)
{
    ++Log.Get()->InfoCalls;
#if defined(FAKE_BAD_INFO)
    return 0x0100;
#elif defined(FAKE_INFO_HIGH_BITS)
    return 0xFFFFFF01u;
#else
    return 0x0001;
#endif
}

extern "C" int32_t WPN_CALL WPN_Initialize(PanelCallbacks *callbacks)
{
    FakeLog *log = Log.Get();
    ++log->InitCalls;
    log->CallbacksAddress = (uintptr_t)callbacks;
    log->CallbacksSizeSeen = callbacks->StructSize;
    callbacks->PanelCreate = PanelCreate;
    callbacks->PanelDestroy = PanelDestroy;
    callbacks->PanelTick = PanelTick;
#if defined(FAKE_GOOD)
    callbacks->PanelFilter = PanelFilter;
#endif
#if defined(FAKE_INIT_FAILS)
    return 1;
#elif defined(FAKE_INIT_GARBAGE)
    return (int32_t)0xDEADBEEFu;
#else
    return 0;
#endif
}
