/* The hook on the panel window: its record lives in a window property, so
 * that the hook finds its way on whichever window it stands, and comes out
 * either when the instance lets go of the window or when the window goes. */
#include "PanelHook.h"

#include "PluginCalls.h"

#include <new>

namespace {

const wchar_t HookProperty[] = L"PanelBridge.Hook";

/* Adaptor is null once the instance has let go of a window whose hook could
 * not be taken out. */
struct PanelHook {
    WpnAdaptor *Adaptor;
    WNDPROC Next;
    bool Wide;
};

LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

PanelHook *HookOf(HWND window)
{
    return (PanelHook *)GetPropW(window, HookProperty);
}

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
    bool first = current == (LONG_PTR)HookedWindowProc;
    if (first)
        SwapProcedure(window, hook->Wide, (LONG_PTR)hook->Next);
    if (first || windowGoing) {
        RemovePropW(window, HookProperty);
        delete hook;
    }
}

LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    PanelHook *hook = HookOf(window);
    if (!hook) // called through a copy of this procedure after it came out
        return DefWindowProcW(window, message, wParam, lParam);
    LRESULT result;
    {
        PluginCall call(hook->Adaptor);
        result = hook->Wide ? CallWindowProcW(hook->Next, window, message, wParam, lParam)
                            : CallWindowProcA(hook->Next, window, message, wParam, lParam);
    } // the call may have ended the hook, the instance and the plug-in
    if (message == WM_NCDESTROY && (hook = HookOf(window)) != nullptr)
        RemoveHook(window, hook, true);
    return result;
}

} // namespace

void HookWindow(HWND window, WpnAdaptor *adaptor)
{
    // Only a window of this thread: another's procedure cannot be replaced.
    if (!IsWindow(window) || GetWindowThreadProcessId(window, nullptr) != GetCurrentThreadId() || HookOf(window))
        return;
    PanelHook *hook = new (std::nothrow) PanelHook{adaptor, nullptr, IsWindowUnicode(window) != FALSE};
    if (!hook || !SetPropW(window, HookProperty, hook)) {
        delete hook;
        return;
    }
    hook->Next = (WNDPROC)SwapProcedure(window, hook->Wide, (LONG_PTR)HookedWindowProc);
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

WNDPROC HookedProcedure(HWND window)
{
    PanelHook *hook = HookOf(window);
    return hook ? hook->Next : nullptr;
}
