/* WpnAdaptor: one instance of PanelBridge as the newer host sees it, a panel
 * of the host's object model that hosts one panel plug-in of the older kind.
 * Identity and reference counting are in WpnAdaptor.cpp; creating, ticking
 * and destroying the panel in Hosting.cpp; counting the calls into the
 * plug-in, and unloading it only when none is under way, in PluginCalls.cpp.
 *
 * The field order is part of the design: the host record and the plug-in
 * record are packed structures and sit directly after the help-mode flag and
 * after each other, at whatever byte address that gives; the plug-in reads
 * them unaligned. */
#pragma once
#include "OstrelLib.h"
#include "WpnContract.h"

/* The tick timer on the plug-in's panel window. */
enum { TICK_TIMER_ID = 12345, TICK_INTERVAL = 1000 };

class WpnAdaptor final : public OObject, public OIPanel {
public:
    WpnAdaptor();
    ~WpnAdaptor() override;
    WpnAdaptor(const WpnAdaptor &) = delete;
    WpnAdaptor &operator=(const WpnAdaptor &) = delete;

    // OIBase
    bool QueryInterface(uint32_t id, void **out) override;
    int AddRef() override;
    int Release() override;
    // OIPlugin
    bool Initialize() override;
    bool Terminate() override;
    wchar_t *GetId(wchar_t **out) override;
    // OIPanel
    HWND CreatePanel(HWND parent) override;
    bool DestroyPanel() override;
    BOOL ShowPanel(bool show) override;
    wchar_t *GetName(wchar_t **out) override;
    wchar_t *GetIconPath(wchar_t **out) override;
    bool Filter(uint32_t value) override;

    /* The tick timer's procedure: ticks the live instance's plug-in. */
    static void CALLBACK TickProc(HWND window, UINT message, UINT_PTR id, DWORD time);

private:
    /* One call into the plug-in, from its start until it returns: the
     * adaptor's own (the exports, PanelCreate, PanelTick, PanelFilter,
     * PanelDestroy) and every message to the hosted panel window. The host
     * may destroy the panel and let go of the instance from inside it (a
     * modal loop runs the host's timers and messages), so meanwhile the
     * instance holds a reference of its own, and a module let go is unloaded
     * only when the outermost call has returned. A null instance counts
     * nothing. */
    class PluginCall {
    public:
        explicit PluginCall(WpnAdaptor *adaptor);
        ~PluginCall();
        PluginCall(const PluginCall &) = delete;
        PluginCall &operator=(const PluginCall &) = delete;

    private:
        WpnAdaptor *adaptor_;
    };

    bool LoadPlugin(const wchar_t *path);
    /* The one place the plug-in module is let go (PluginCalls.cpp). */
    void UnloadPlugin();
    void ShowHelp(HWND parent);
    /* Puts HookedWindowProc before the panel window's own procedure while
     * the window is hosted, and takes it out again. */
    void HookPanelWindow();
    void UnhookPanelWindow(HWND window);
    static LRESULT CALLBACK HookedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    int32_t references_ = 0;
    HWND panelWindow_ = nullptr;
    bool helpMode_ = false;
    HostServices host_;
    PanelCallbacks callbacks_;
    HMODULE module_ = nullptr;
    WpnGetPluginInfoFn info_ = nullptr;
    WpnInitializeFn initialize_ = nullptr;
    int32_t callsIn_ = 0;              // PluginCalls under way
    HMODULE unloadWhenIdle_ = nullptr; // let go while calls were under way
};
