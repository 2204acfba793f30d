/* The hook on the panel window: its record lives in a window property, so
 * that the hook finds its way on whichever window it stands, and comes out
 * either when the instance lets go of the window or when the window goes. */
#include "PanelHook.h"

#include <new>

namespace {

const wchar_t HookProperty[] = L"PanelBridge.Hook";

LONG_PTR SwapProcedure(HWND window, bool wide, LONG_PTR procedure)
{
    return wide ? SetWindowLongPtrW(window, GWLP_WNDPROC, procedure)
                : SetWindowLongPtrA(window, GWLP_WNDPROC, procedure);
}

/* Takes the hook out when it is the window's procedure; frees its record
 * then, or when the window goes whatever stands before it. */
void RemoveHook(HWND window, PanelHook *hook, bool windowGoing)
{
    hook->Adaptor = nullptr;
    LONG_PTR current = hook->Wide ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
    bool first = current == (LONG_PTR)hook->Procedure;
    if (first)
        SwapProcedure(window, hook->Wide, (LONG_PTR)hook->Next);
    if (first || windowGoing) {
        RemovePropW(window, HookProperty);
        delete hook;
    }
}

} // namespace

PanelHook *HookOf(HWND window)
{
    return (PanelHook *)GetPropW(window, HookProperty);
}

void HookWindow(HWND window, WpnAdaptor *adaptor, WNDPROC procedure)
{
    // Only a window of this thread: another's procedure cannot be replaced.
    if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() || HookOf(window))
        return;
    PanelHook *hook = new (std::nothrow) PanelHook{adaptor, nullptr, procedure, IsWindowUnicode(window) != FALSE};
    if (!hook || !SetPropW(window, HookProperty, hook)) {
        delete hook;
        return;
    }
    hook->Next = (WNDPROC)SwapProcedure(window, hook->Wide, (LONG_PTR)procedure);
    if (!hook->Next) {
        RemovePropW(window, HookProperty);
        delete hook;
    }
}

void UnhookWindow(HWND window, WpnAdaptor *adaptor)
{
    PanelHook *hook = window ? HookOf(window) : nullptr;
    if (hook && hook->Adaptor == adaptor)
        RemoveHook(window, hook, false);
}

void HookWindowGoing(HWND window)
{
    if (PanelHook *hook = HookOf(window))
        RemoveHook(window, hook, true);
}

WNDPROC HookedProcedure(HWND window)
{
    PanelHook *hook = HookOf(window);
    return hook ? hook->Next : nullptr;
}
