/* The owners set aside, the retry timer and the module's reference on itself
 * (AdaptorState.h, Plugins). */
#include "DeferredUnload.h"

#include "AdaptorState.h"
#include "StackFrames.h"
#include "PluginCalls.h"
#include "PluginModule.h"
#include "WpnAdaptor.h"

namespace {

enum { RETRY_PERIOD = 200 };

void CALLBACK RetryProc(HWND, UINT, UINT_PTR, DWORD)
{
    CatchUp(ENTRY_FRAME(), false);
}

/* The timer starts only with the module's reference on itself in hand. */
void StartRetryTimer()
{
    if (Plugins.RetryTimer)
        return;
    if (!Plugins.SelfPin)
        GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCWSTR)(void *)RetryProc, &Plugins.SelfPin);
    if (Plugins.SelfPin)
        Plugins.RetryTimer = SetTimer(nullptr, 0, RETRY_PERIOD, RetryProc);
}

void StopRetryTimer(bool fromHost)
{
    if (Plugins.RetryTimer) {
        KillTimer(nullptr, Plugins.RetryTimer);
        Plugins.RetryTimer = 0;
    }
    // With the timer gone, the reference is needed only while the host may
    // have let go of the module; an instance it still holds shows it has not.
    WpnAdaptor *live = Ticks.Live;
    if (Plugins.SelfPin && (fromHost || (live && live->HeldByHost()))) {
        FreeLibrary(Plugins.SelfPin);
        Plugins.SelfPin = nullptr;
    }
}

} // namespace

void LetGo(PluginModule *owner, uintptr_t from)
{
    if (!owner)
        return;
    if (owner->Unloadable(from)) {
        delete owner;
        return;
    }
    owner->PutAside();
    if (!CallsUnderWay(from)) // else the end of that call tries again
        StartRetryTimer();
}

void RetrySetAside(uintptr_t from, bool fromHost)
{
    // From the head again after each unload: a module's detach may run code
    // that comes back here and changes the list.
    bool waiting;
    for (;;) {
        PluginModule *unloadable = nullptr;
        waiting = false;
        for (PluginModule *owner = Plugins.Owners; owner && !unloadable; owner = owner->Next()) {
            if (!owner->IsSetAside())
                continue;
            if (owner->Unloadable(from))
                unloadable = owner;
            else
                waiting = true;
        }
        if (!unloadable)
            break;
        delete unloadable;
    }
    if (!waiting)
        StopRetryTimer(fromHost);
    else if (!CallsUnderWay(from))
        StartRetryTimer();
}
