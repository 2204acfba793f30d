/* Hosting the panel plug-in: CreatePanel finds the plug-in named after this
 * module in the host's "wpn\" folder, loads it through the panel contract and
 * lets it make its window inside the host's parent; without a usable plug-in
 * a help window stands in its place. The tick timer runs on the plug-in's
 * window and ticks the live instance; DestroyPanel ends it all in the order
 * the plug-in relies on: no more ticks, PanelDestroy, then unload. Every call
 * into the plug-in is a PluginCall (PluginCalls.cpp). */
#include "WpnAdaptor.h"

#include "AdaptorState.h"
#include "CodePage.h"
#include "Folders.h"
#include "HostLibrary.h"
#include "HostMemory.h"
#include "HostRef.h"
#include "Services.h"

#include <string.h>

namespace {

const wchar_t HelpClass[] = L"EDIT";
// "WpnAdaptor プラグインの使い方"
const wchar_t HelpText[] = L"WpnAdaptor \u30D7\u30E9\u30B0\u30A4\u30F3\u306E\u4F7F\u3044\u65B9";
const DWORD HelpStyle = WS_CHILD | WS_VISIBLE | ES_MULTILINE | ES_AUTOVSCROLL | ES_WANTRETURN;
static_assert(WS_CHILD + WS_VISIBLE + ES_MULTILINE + ES_AUTOVSCROLL + ES_WANTRETURN == 0x50001044,
              "help window style");

/* Host folder kind 2 + "wpn\" + title + ".wpn", nothing put between them; a
 * relative folder lies under the host program's folder. Empty when the
 * folder names none: a module is never looked for in the current folder or
 * along the library search path. */
WideText PluginPath(const wchar_t *folder)
{
    wchar_t program[MAX_PATH];
    switch (ShapeOfFolder(folder)) {
    case FolderShape::Absolute:
        return JoinTexts({folder, PluginFolder, Module.Title, PluginExtension});
    case FolderShape::Relative:
        if (HostProgramFolder(program))
            return JoinTexts({program, folder, PluginFolder, Module.Title, PluginExtension});
        break;
    case FolderShape::None:
        break;
    }
    return WideText(nullptr);
}

} // namespace

HWND WpnAdaptor::CreatePanel(HWND parent)
{
    // A second CreatePanel would otherwise orphan the first panel's window
    // and unload its module under it.
    if (module_ || panelWindow_)
        DestroyPanel();

    HostText folder; // given back when this operation ends, whatever the outcome
    OlxGetClient()->GetFolder(FOLDER_KIND_PANEL, folder.Out());
    WideText path = PluginPath(folder.get());
    helpMode_ = true;
    if (!path.empty()) {
        PluginCall call(this); // the two exports are the plug-in's code as well
        helpMode_ = !FileExists(path.get()) || !LoadPlugin(path.get());
    }
    if (helpMode_) {
        ShowHelp(parent);
        return panelWindow_;
    }

    HWND made = nullptr;
    if (callbacks_.PanelCreate) {
        PluginCall call(this);
        made = callbacks_.PanelCreate(&host_, parent);
    }
    if (!module_) // the host destroyed the panel while it was being made
        return nullptr;
    panelWindow_ = made;
    if (panelWindow_) {
        SetTimer(panelWindow_, TICK_TIMER_ID, TICK_INTERVAL, TickProc);
        HookPanelWindow();
    }
    return panelWindow_;
}

bool WpnAdaptor::LoadPlugin(const wchar_t *path)
{
    UnloadPlugin();
    module_ = LoadLibraryW(path);
    if (!module_)
        return false;
    GiveCodePage(module_); // an ANSI plug-in of another code page than the system's converts with its own
    info_ = (WpnGetPluginInfoFn)(void *)GetProcAddress(module_, WPN_EXPORT_INFO);
    initialize_ = (WpnInitializeFn)(void *)GetProcAddress(module_, WPN_EXPORT_INITIALIZE);
    if (!info_ || !initialize_ || !WPN_INFO_ACCEPTED(info_())) {
        UnloadPlugin();
        return false;
    }
    memset(&host_, 0, sizeof host_);
    host_.StructSize = HOST_SERVICES_SIZE;
    host_.Request = ServiceRequest;
    host_.Reserved = ServiceReserved;
    host_.Alloc = ServiceAlloc;
    host_.Free = ServiceFree;
    host_.ShowMessage = ServiceShowMessage;
    memset(&callbacks_, 0, sizeof callbacks_);
    callbacks_.StructSize = PANEL_CALLBACKS_SIZE;
    if (initialize_(&callbacks_) != 0) {
        UnloadPlugin();
        return false;
    }
    return true;
}

void WpnAdaptor::ShowHelp(HWND parent)
{
    panelWindow_ = CreateWindowExW(0, HelpClass, HelpText, HelpStyle, 0, 0, 1, 1, parent, nullptr,
                                   Module.Instance, nullptr);
    // What tells is the font source handed out, not operation 6's answer,
    // which the host library does not promise.
    HostRef<OIFontSource> fonts;
    OlxGetClient()->GetHostObject(OHOST_FONT_SOURCE, fonts.OutVoid());
    if (!fonts || !panelWindow_)
        return;
    const OFontRecord *record = (const OFontRecord *)fonts->GetFontRecord();
    if (record && record->Font)
        SendMessageW(panelWindow_, WM_SETFONT, (WPARAM)record->Font, 0);
}

bool WpnAdaptor::DestroyPanel()
{
    if (helpMode_) {
        if (panelWindow_)
            DestroyWindow(panelWindow_);
        panelWindow_ = nullptr;
        return true;
    }
    HWND window = panelWindow_;
    if (window)
        KillTimer(window, TICK_TIMER_ID);
    if (module_ && callbacks_.PanelDestroy) {
        // Taken from the record first: a DestroyPanel from inside it must
        // not call it again.
        PanelDestroyFn destroy = callbacks_.PanelDestroy;
        callbacks_.PanelDestroy = nullptr;
        PluginCall call(this);
        destroy(&host_, window);
    }
    UnhookPanelWindow(window); // a window the plug-in left standing keeps its own procedure
    if (module_) {
        // Nothing reaches the plug-in from here on; its module goes now, or
        // when the call it is still running returns.
        UnloadPlugin();
        memset(&callbacks_, 0, sizeof callbacks_);
    }
    // The window is gone with the plug-in; a stale handle could name
    // another window later.
    panelWindow_ = nullptr;
    return true;
}

void CALLBACK WpnAdaptor::TickProc(HWND, UINT, UINT_PTR, DWORD)
{
    // A plug-in that runs a modal loop from its tick (a message box through
    // ShowMessage) would be ticked again inside it, every second.
    WpnAdaptor *live = Ticks.Live;
    if (Ticks.InPanelTick || !live || !live->module_ || !live->callbacks_.PanelTick)
        return;
    PluginCall call(live);
    Ticks.InPanelTick = true;
    live->callbacks_.PanelTick(&live->host_, live->panelWindow_);
    Ticks.InPanelTick = false;
}
