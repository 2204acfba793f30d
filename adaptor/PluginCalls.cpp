/* The records of calls into plug-ins (AdaptorState.h, Calls). A record is
 * live while its frame lies above the current entry's frame and the frame's
 * registration is still in the thread's chain of exception handlers: a
 * dispatcher that catches a fault unwinds the chain past the frames it
 * skips, and a stale copy of the registration in memory proves nothing. The
 * handler itself passes every exception on. */
#include "PluginCalls.h"

#include "AdaptorState.h"
#include "CodeInUse.h"
#include "PanelHook.h"
#include "PluginModule.h"
#include "StackFrames.h"
#include "WpnAdaptor.h"

namespace {

typedef PluginCall::ChainLink ChainLink;
ChainLink *const CHAIN_END = (ChainLink *)(intptr_t)-1;
enum { LONGEST_CHAIN = 4096 };

EXCEPTION_DISPOSITION NTAPI PassOn(EXCEPTION_RECORD *, void *, CONTEXT *, void *)
{
    return ExceptionContinueSearch;
}

ChainLink *ChainHead()
{
    return (ChainLink *)ThreadBlock()->ExceptionList;
}

void SetChainHead(ChainLink *link)
{
    ThreadBlock()->ExceptionList = (struct _EXCEPTION_REGISTRATION_RECORD *)link;
}

bool InChain(uintptr_t frame)
{
    int steps = 0;
    for (ChainLink *link = ChainHead(); link && link != CHAIN_END && steps < LONGEST_CHAIN; link = link->Next, ++steps)
        if ((uintptr_t)link == frame)
            return true;
    return false;
}

/* Removes the records for which `gone` is true, then gives back their
 * references: a release may delete an instance, so the table is settled
 * first. */
template <typename Gone>
void DropRecords(Gone gone)
{
    WpnAdaptor *released[MAX_PLUGIN_CALLS];
    int releasedCount = 0, kept = 0;
    for (int i = 0; i < Calls.Count; ++i) {
        const CallRecord &record = Calls.Records[i];
        if (gone(record))
            released[releasedCount++] = record.Adaptor;
        else
            Calls.Records[kept++] = record;
    }
    Calls.Count = kept;
    for (int i = 0; i < releasedCount; ++i)
        released[i]->ReleaseCallReference();
}

} // namespace

PluginCall::PluginCall(WpnAdaptor *adaptor, Kind kind) : link_{nullptr, nullptr}, adaptor_(adaptor)
{
    if (!adaptor_)
        return;
    adaptor_->AddRef();
    const uintptr_t frame = (uintptr_t)&link_;
    // Whatever lay at or below this frame before is gone.
    DropRecords([frame](const CallRecord &record) { return record.Frame <= frame; });
    if (Calls.Count < MAX_PLUGIN_CALLS) { // deeper still: a fault there leaks a reference
        link_.Next = ChainHead();
        link_.Handler = (void *)PassOn;
        SetChainHead(&link_);
        Calls.Records[Calls.Count++] = CallRecord{frame, adaptor_, kind == Tick};
        recorded_ = true;
    }
}

PluginCall::~PluginCall()
{
    if (!adaptor_)
        return;
    if (recorded_) // and any registration a plug-in left below it
        SetChainHead(link_.Next);
    ClearDeadStack(); // what the plug-in's frames of this call left
    WpnAdaptor *adaptor = adaptor_;
    const uintptr_t frame = (uintptr_t)&link_;
    // Records below this one belong to calls whose frames a fault skipped.
    DropRecords([frame](const CallRecord &record) { return record.Frame < frame; });
    // The plug-in's frames of this call are gone: what was let go under it
    // may go now. This call's record still counts its reference.
    RetrySetAside(frame, false);
    bool mine = !recorded_;
    for (int i = 0; i < Calls.Count; ++i) {
        if (recorded_ && Calls.Records[i].Frame == frame) {
            Calls.Records[i] = Calls.Records[--Calls.Count];
            mine = true;
            break;
        }
    }
    if (mine) // else a catch-up took it for gone and gave it back already
        adaptor->ReleaseCallReference(); // may delete the instance: nothing after this
}

void CatchUp(uintptr_t entryFrame, bool fromHost)
{
    DropRecords([entryFrame](const CallRecord &record) {
        return record.Frame <= entryFrame || !InChain(record.Frame);
    });
    RetrySetAside(entryFrame, fromHost);
}
bool TickUnderWay()
{
    for (int i = 0; i < Calls.Count; ++i)
        if (Calls.Records[i].Tick)
            return true;
    return false;
}

bool CallsUnderWay(uintptr_t above)
{
    for (int i = 0; i < Calls.Count; ++i)
        if (Calls.Records[i].Frame > above)
            return true;
    return false;
}

int CallReferences(const WpnAdaptor *adaptor)
{
    int references = 0;
    for (int i = 0; i < Calls.Count; ++i)
        references += Calls.Records[i].Adaptor == adaptor;
    return references;
}

LRESULT CALLBACK CountedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
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
    if (message == WM_NCDESTROY)
        HookWindowGoing(window);
    return result;
}

/* The owners set aside, the retry timer and the module's reference on itself
 * (AdaptorState.h, Plugins). */
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
