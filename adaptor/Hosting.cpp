/* Hosting the panel plug-in: CreatePanel finds the plug-in named after this
 * module in the host's "wpn\" folder, loads it through the panel contract and
 * lets it make its window inside the host's parent; without a usable plug-in
 * a help window stands in its place. The tick timer runs on the plug-in's
 * window and ticks the live instance; DestroyPanel ends it all in the order
 * the plug-in relies on: no more ticks, PanelDestroy, then unload, once no
 * code of the plug-in can run. Every call into the plug-in is a PluginCall
 * (PluginCalls.h), and the host may come back from inside any of them: each
 * entry catches up first, and nothing after a call assumes that the instance
 * still hosts what it hosted before. */
#include "WpnAdaptor.h"

#include "AdaptorState.h"
#include "StackFrames.h"
#include "Folders.h"
#include "HostLibrary.h"
#include "HostMemory.h"
#include "HostRef.h"
#include "PluginCalls.h"

#include <new>

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

/* The window a PanelCreate returned for a panel that the host destroyed
 * meanwhile: destroyed in its turn, when it is a window of this thread and
 * neither the parent nor a window that holds it. */
void DiscardWindow(HWND made, HWND parent)
{
    if (made && IsWindow(made) && GetWindowThreadProcessId(made, nullptr) == GetCurrentThreadId() &&
        made != parent && !IsChild(made, parent))
        DestroyWindow(made);
}

} // namespace

HWND WpnAdaptor::CreatePanel(HWND parent)
{
    const uintptr_t entry = ENTRY_FRAME();
    CatchUp(entry, true);
    // A second CreatePanel would otherwise orphan the first panel's window
    // and unload its module under it.
    if (plugin_ || helpWindow_)
        EndPanel(entry);

    HostText folder; // given back when this operation ends, whatever the outcome
    OlxGetClient()->GetFolder(FOLDER_KIND_PANEL, folder.Out());
    WideText path = PluginPath(folder.get());
    PluginModule *plugin = path.empty() ? nullptr : new (std::nothrow) PluginModule;
    LoadFailure failure;
    failure.Step = LoadStep::File;
    if (plugin) {
        PluginCall call(this); // the two exports are the plug-in's code as well
        failure = plugin->Load(path.get());
    }
    helpMode_ = bool(failure);
    if (helpMode_) {
        LetGo(plugin, entry);
        ShowHelp(parent);
        return helpWindow_;
    }

    plugin_ = plugin;
    const uint32_t generation = generation_;
    HWND made = nullptr;
    bool destroyed;
    {
        // The host may let go of the instance inside: after this block only
        // locals are used.
        PluginCall call(this);
        if (plugin->Callbacks().PanelCreate)
            made = plugin->Callbacks().PanelCreate(plugin->Host(), parent);
        destroyed = generation_ != generation;
        if (!destroyed)
            plugin->Attach(made, this, TickProc, CountedWindowProc);
    }
    if (destroyed) {
        // The host destroyed the panel while it was being made: its owner
        // is let go already, and what PanelCreate made goes after it.
        DiscardWindow(made, parent);
        RetrySetAside(entry, true);
        return nullptr;
    }
    return made;
}

void WpnAdaptor::ShowHelp(HWND parent)
{
    helpWindow_ = CreateWindowExW(0, HelpClass, HelpText, HelpStyle, 0, 0, 1, 1, parent, nullptr,
                                  Module.Instance, nullptr);
    // What tells is the font source handed out, not operation 6's answer,
    // which the host library does not promise.
    HostRef<OIFontSource> fonts;
    OlxGetClient()->GetHostObject(OHOST_FONT_SOURCE, fonts.OutVoid());
    if (!fonts || !helpWindow_)
        return;
    const OFontRecord *record = (const OFontRecord *)fonts->GetFontRecord();
    if (record && record->Font)
        SendMessageW(helpWindow_, WM_SETFONT, (WPARAM)record->Font, 0);
}

HWND WpnAdaptor::PanelWindow() const
{
    if (helpMode_)
        return helpWindow_;
    return plugin_ ? plugin_->Window() : nullptr;
}

bool WpnAdaptor::DestroyPanel()
{
    const uintptr_t entry = ENTRY_FRAME();
    CatchUp(entry, true);
    EndPanel(entry);
    return true;
}

void WpnAdaptor::EndPanel(uintptr_t from)
{
    if (helpWindow_) {
        DestroyWindow(helpWindow_);
        helpWindow_ = nullptr;
    }
    // Out of the instance first: a DestroyPanel from inside PanelDestroy
    // finds nothing to destroy, a CreatePanel makes a panel of its own.
    PluginModule *plugin = plugin_;
    if (!plugin)
        return;
    plugin_ = nullptr;
    ++generation_;
    plugin->StopTicks();
    if (PanelDestroyFn destroy = plugin->Callbacks().PanelDestroy) {
        // The host may let go of the instance inside: below, `this` only
        // names the hook's instance.
        PluginCall call(this);
        destroy(plugin->Host(), plugin->Window());
    }
    plugin->Detach(this);
    LetGo(plugin, from);
}

void CALLBACK WpnAdaptor::TickProc(HWND, UINT, UINT_PTR, DWORD)
{
    CatchUp(ENTRY_FRAME(), false);
    // A plug-in that runs a modal loop from its tick (a message box through
    // ShowMessage) would be ticked again inside it, every second.
    WpnAdaptor *live = Ticks.Live;
    PluginModule *plugin = live ? live->plugin_ : nullptr;
    if (!plugin || !plugin->Callbacks().PanelTick || TickUnderWay())
        return;
    PluginCall call(live, PluginCall::Tick);
    plugin->Callbacks().PanelTick(plugin->Host(), plugin->Window());
}

int WpnAdaptor::Release()
{
    // References of calls that a fault cut short go first, so that the last
    // Release of the host's is the one that deletes.
    CatchUp(ENTRY_FRAME(), true);
    int remaining = --references_;
    if (remaining == 0)
        delete this;
    return remaining;
}

bool WpnAdaptor::HeldByHost() const
{
    return references_ > CallReferences(this);
}

bool WpnAdaptor::Filter(uint32_t value)
{
    CatchUp(ENTRY_FRAME(), true);
    PluginModule *plugin = plugin_;
    if (helpMode_ || !plugin || !plugin->Callbacks().PanelFilter)
        return false;
    PluginCall call(this);
    return plugin->Callbacks().PanelFilter(value) != 0;
}
