/* Calls into the hosted plug-in, counted so that its module is never unloaded
 * under code of its own that is still running. A host may destroy the panel
 * from inside a modal loop of the plug-in's (a message box from a tick, a
 * menu or a box from its window procedure): PanelDestroy is still called at
 * once, but FreeLibrary waits until the outermost call returns here, in the
 * adaptor's own code.
 *
 * The panel window's messages count as calls: while the window is hosted,
 * HookedWindowProc stands before the plug-in's own procedure, in the window's
 * own character set so that the plug-in sees its messages unchanged. */
#include "WpnAdaptor.h"

#include <new>

namespace {

const wchar_t HookProperty[] = L"PanelBridge.Hook";

/* What the hook keeps on the window. Adaptor is null once the instance has
 * let go of a window whose hook could not be taken out (another procedure
 * was put before it): the hook then forwards, counting nothing, until the
 * window goes. */
struct PanelHook {
    WpnAdaptor *Adaptor;
    WNDPROC Next;
    bool Wide;
};

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
void RemoveHook(HWND window, PanelHook *hook, LONG_PTR hookProcedure, bool windowGoing)
{
    hook->Adaptor = nullptr;
    LONG_PTR current = hook->Wide ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
    bool first = current == hookProcedure;
    if (first)
        SwapProcedure(window, hook->Wide, (LONG_PTR)hook->Next);
    if (first || windowGoing) {
        RemovePropW(window, HookProperty);
        delete hook;
    }
}

} // namespace

WpnAdaptor::PluginCall::PluginCall(WpnAdaptor *adaptor) : adaptor_(adaptor)
{
    if (adaptor_) {
        adaptor_->AddRef();
        ++adaptor_->callsIn_;
    }
}

WpnAdaptor::PluginCall::~PluginCall()
{
    if (!adaptor_)
        return;
    if (--adaptor_->callsIn_ == 0 && adaptor_->unloadWhenIdle_) {
        FreeLibrary(adaptor_->unloadWhenIdle_);
        adaptor_->unloadWhenIdle_ = nullptr;
    }
    adaptor_->Release(); // may delete the instance: nothing after this
}

void WpnAdaptor::UnloadPlugin()
{
    if (module_) {
        if (callsIn_ == 0)
            FreeLibrary(module_);
        else if (!unloadWhenIdle_)
            unloadWhenIdle_ = module_;
        else if (unloadWhenIdle_ == module_)
            FreeLibrary(module_); // the reference set aside keeps it mapped
        // A second module let go under the same calls stays loaded for good:
        // either may have code on the stack.
        module_ = nullptr;
    }
    info_ = nullptr;
    initialize_ = nullptr;
}

void WpnAdaptor::HookPanelWindow()
{
    // Only a window of this thread: another's procedure cannot be replaced.
    if (!IsWindow(panelWindow_) || GetWindowThreadProcessId(panelWindow_, nullptr) != GetCurrentThreadId() ||
        HookOf(panelWindow_))
        return;
    PanelHook *hook = new (std::nothrow) PanelHook{this, nullptr, IsWindowUnicode(panelWindow_) != FALSE};
    if (!hook || !SetPropW(panelWindow_, HookProperty, hook)) {
        delete hook;
        return;
    }
    hook->Next = (WNDPROC)SwapProcedure(panelWindow_, hook->Wide, (LONG_PTR)HookedWindowProc);
    if (!hook->Next) {
        RemovePropW(panelWindow_, HookProperty);
        delete hook;
    }
}

void WpnAdaptor::UnhookPanelWindow(HWND window)
{
    PanelHook *hook = window ? HookOf(window) : nullptr;
    if (hook && hook->Adaptor == this)
        RemoveHook(window, hook, (LONG_PTR)HookedWindowProc, false);
}

LRESULT CALLBACK WpnAdaptor::HookedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
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
        RemoveHook(window, hook, (LONG_PTR)HookedWindowProc, true);
    return result;
}
