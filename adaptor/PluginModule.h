/* PluginModule: the one owner of a loaded panel plug-in. It holds the module
 * and its image range, the two exports, the host record and the callbacks
 * record, the panel window with the tick timer and the hook on it, and it is
 * the one place the module is given back with FreeLibrary.
 *
 * The owner lives on the heap at a fixed address: the plug-in keeps the
 * records' addresses until its PanelDestroy returns, and an owner let go
 * while code of the plug-in could still run stays, set aside, until it can
 * be seen that none can (PluginCalls.h, LetGo). An instance takes its owner out
 * of itself before it calls PanelDestroy, so a panel made again from inside
 * that call gets an owner of its own. */
#pragma once
#include "CodeInUse.h"
#include "PanelLoader.h"
#include "WpnContract.h"

#include <windows.h>

class WpnAdaptor;

/* The tick timer on the plug-in's panel window. */
enum { TICK_TIMER_ID = 12345, TICK_INTERVAL = 1000 };

class PluginModule {
public:
    PluginModule();
    /* Gives the module back, if it is held. Only PluginCalls.cpp deletes
     * an owner, once Unloadable says so. */
    ~PluginModule();
    PluginModule(const PluginModule &) = delete;
    PluginModule &operator=(const PluginModule &) = delete;

    /* The contract's load steps, in order, on a fresh owner: the file, the
     * load, the exports, the info byte, the records, WPN_Initialize. On a
     * failure the module may be held still: let the owner go. */
    LoadFailure Load(const wchar_t *path);

    HostServices *Host() { return &records_.Host; }
    const PanelCallbacks &Callbacks() const { return records_.Callbacks; }
    HWND Window() const { return window_; }

    /* The window PanelCreate returned: ticked by `tick` and hooked by `hook`
     * for the instance. A null window gets neither. */
    void Attach(HWND window, WpnAdaptor *adaptor, TIMERPROC tick, WNDPROC hook);
    void StopTicks();
    /* No more ticks, and the hook out of the window. */
    void Detach(WpnAdaptor *adaptor);

    /* True when giving the module back cannot leave code of it to run: no
     * return address into it on the stack above `from`, and either another
     * owner still holds the same module or no window runs in it. */
    bool Unloadable(uintptr_t from) const;

    void PutAside() { setAside_ = true; }
    bool IsSetAside() const { return setAside_; }
    PluginModule *Next() const { return next_; }

    /* The instance went without DestroyPanel: the window stays the
     * plug-in's, and the module and the records stay for good, as its code
     * may still use them. */
    void Abandon(WpnAdaptor *adaptor);

private:
    void Link();
    void Unlink();
    bool OtherOwnerHolds() const;

    // Back to back, host record first, in the byte-packed layout of the
    // contract: a plug-in may find one from the other.
#pragma pack(push, 1)
    struct Records {
        HostServices Host;
        PanelCallbacks Callbacks;
    };
#pragma pack(pop)
    Records records_;
    HMODULE module_ = nullptr;
    ImageRange image_;
    WpnGetPluginInfoFn info_ = nullptr;
    WpnInitializeFn initialize_ = nullptr;
    HWND window_ = nullptr;
    PluginModule *next_ = nullptr; // in Plugins.Owners while linked_
    bool linked_ = false;
    bool setAside_ = false;
};
