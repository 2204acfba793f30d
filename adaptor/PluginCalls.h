/* Calls into a hosted plug-in, and catching up at each entry into the
 * adaptor. A host may destroy the panel and let go of the instance from
 * inside a call (a modal loop runs the host's timers and messages), so the
 * instance holds a reference of its own for each call. A dispatcher that
 * swallows a fault (Windows and Wine do, around timer procedures) skips the
 * end of the call; so each call registers its frame in the thread's chain of
 * exception handlers, which the unwinding takes it out of, and keeps a record
 * of it. The next entry sees that the frame is gone and gives the reference
 * back: no count or flag here can stay raised after a fault. */
#pragma once
#include <windows.h>
#include <stdint.h>

class PluginModule;
class WpnAdaptor;

class PluginCall {
public:
    enum Kind { Other, Tick };
    /* A null instance holds nothing and records nothing. */
    explicit PluginCall(WpnAdaptor *adaptor, Kind kind = Other);
    /* Drops this call's record, tries the modules set aside, then gives the
     * reference back, which may delete the instance. */
    ~PluginCall();
    PluginCall(const PluginCall &) = delete;
    PluginCall &operator=(const PluginCall &) = delete;

    /* A registration in the thread's chain of exception handlers, laid out
     * as the system reads it. */
    struct ChainLink {
        ChainLink *Next;
        void *Handler;
    };

private:
    ChainLink link_; // the call's frame: registered while the call runs
    WpnAdaptor *adaptor_;
    bool recorded_ = false;
};

/* At every entry from the host or a timer, with the entry's frame
 * (StackFrames.h): drops the records of calls whose frames are gone, giving
 * their references back, and tries the modules set aside again. fromHost:
 * the host called an interface of the instance, so it holds this module. */
void CatchUp(uintptr_t entryFrame, bool fromHost);

/* A tick still under way further up the stack; asked after CatchUp, which
 * keeps only the records of live frames. */
bool TickUnderWay();
/* A call recorded further up the stack than `above`: its end will try the
 * modules set aside again. */
bool CallsUnderWay(uintptr_t above);

/* The references an instance holds for its calls under way. */
int CallReferences(const WpnAdaptor *adaptor);

/* The hook's procedure on a hosted panel window (PanelHook.h): every message
 * to the window is a call into the plug-in. */
LRESULT CALLBACK CountedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

/* Letting go of a plug-in module: at once when nothing of it can run, and
 * otherwise later. An owner let go while code of its module could still run
 * is set aside; each later entry into the adaptor (a host call, a tick, the
 * end of a call into a plug-in) tries it again, and when no call is under
 * way to do so, a thread timer of the adaptor's own does. A module that can
 * never be shown safe stays loaded: a leak, never a crash.
 *
 * The timer's procedure is this module's code, so while the timer may fire
 * the module holds a reference on itself. It gives that back only where it
 * can see that the host still holds the module: inside a call from the host,
 * or while the live instance has references of the host's. Otherwise it
 * keeps it, and this module stays loaded until the process ends.
 *
 * Gives the owner's module back now if PluginModule::Unloadable says so, and
 * deletes the owner; otherwise sets it aside. `from`: the entry's frame. */
void LetGo(PluginModule *owner, uintptr_t from);

/* Tries every owner set aside once more (see CatchUp for fromHost). */
void RetrySetAside(uintptr_t from, bool fromHost);
