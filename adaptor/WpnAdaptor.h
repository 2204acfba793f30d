/* WpnAdaptor: one instance of PanelBridge as the newer host sees it, a panel
 * of the host's object model that hosts one panel plug-in of the older kind.
 * Identity and reference counting are in WpnAdaptor.cpp; creating, ticking
 * and destroying the panel in Hosting.cpp. The loaded plug-in, with the host
 * record and the callbacks record it is given, belongs to a PluginModule
 * (PluginModule.h), which the instance holds while the panel is hosted and
 * lets go of (PluginCalls.h, LetGo) when the panel goes. Calls into the plug-in
 * are PluginCalls (PluginCalls.h). */
#pragma once
#include "OstrelLib.h"
#include "PluginModule.h"

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

    /* Gives back the reference of a call into the plug-in (PluginCalls.cpp);
     * unlike Release, it does not catch up first. */
    void ReleaseCallReference();
    /* True while the host holds references of its own, beyond those of the
     * calls under way: then it holds this module too. */
    bool HeldByHost() const;

private:
    /* DestroyPanel's work; `from` is the entry's frame (StackFrames.h). */
    void EndPanel(uintptr_t from);
    void ShowHelp(HWND parent);
    /* What CreatePanel hands the host: the help window or the plug-in's. */
    HWND PanelWindow() const;

    int32_t references_ = 0;
    HWND helpWindow_ = nullptr;
    bool helpMode_ = false;
    /* The hosted plug-in, null when none: taken out before its PanelDestroy
     * is called, so a CreatePanel from inside that starts an owner of its
     * own. */
    PluginModule *plugin_ = nullptr;
    /* Panels let go so far: a CreatePanel sees from it that the host
     * destroyed the panel while PanelCreate was making it. */
    uint32_t generation_ = 0;
};
