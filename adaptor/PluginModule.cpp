/* Loading a panel plug-in through the contract, holding it, and deciding
 * when it can go. Every owner that holds a module reference is linked into
 * Plugins.Owners: LoadLibraryW of a file already loaded gives the same handle
 * with one more reference, so while another owner holds the same module this
 * owner's reference can go without unmapping any code. */
#include "PluginModule.h"

#include "AdaptorState.h"
#include "ImportPatch.h"
#include "HostLibrary.h"
#include "PanelHook.h"
#include "Services.h"

#include <string.h>

PluginModule::PluginModule()
{
    memset(&records_, 0, sizeof records_);
}

PluginModule::~PluginModule()
{
    if (module_) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
    info_ = nullptr;
    initialize_ = nullptr;
    Unlink();
}

LoadFailure PluginModule::Load(const wchar_t *path)
{
    LoadFailure failure;
    if (!FileExists(path)) { // the host library's test of the path, not the loader's
        failure.Step = LoadStep::File;
        return failure;
    }
    if ((failure = ModuleStep(path, &module_)))
        return failure;
    GiveCodePage(module_); // an ANSI plug-in of another code page than the system's converts with its own
    image_ = ImageOf(module_);
    Link();
    if ((failure = ExportsStep(module_, &info_, &initialize_)) || (failure = InfoStep(info_())))
        return failure;
    FillHostServices(&records_.Host, ServiceRequest, ServiceReserved, ServiceAlloc, ServiceFree,
                     ServiceShowMessage);
    PrepareCallbacks(&records_.Callbacks);
    return InitialiseStep(initialize_(&records_.Callbacks));
}

void PluginModule::Attach(HWND window, WpnAdaptor *adaptor, TIMERPROC tick, WNDPROC hook)
{
    window_ = window;
    if (!window_)
        return;
    SetTimer(window_, TICK_TIMER_ID, TICK_INTERVAL, tick);
    HookWindow(window_, adaptor, hook);
}

void PluginModule::StopTicks()
{
    if (window_)
        KillTimer(window_, TICK_TIMER_ID);
}

void PluginModule::Detach(WpnAdaptor *adaptor)
{
    StopTicks();
    // A window the plug-in left standing keeps its own procedure.
    UnhookWindow(window_, adaptor);
}

bool PluginModule::Unloadable(uintptr_t from) const
{
    if (!module_)
        return true;
    // A frame of the plug-in may still use the records too, so this holds
    // even while another owner keeps the code mapped.
    if (StackReturnsInto(image_, from))
        return false;
    return OtherOwnerHolds() || !WindowRunsIn(image_);
}

void PluginModule::Abandon(WpnAdaptor *adaptor)
{
    Detach(adaptor);
    // Its reference is never given back, so it vouches for no other owner.
    Unlink();
}

bool PluginModule::OtherOwnerHolds() const
{
    for (const PluginModule *owner = Plugins.Owners; owner; owner = owner->next_)
        if (owner != this && owner->module_ == module_)
            return true;
    return false;
}

void PluginModule::Link()
{
    if (linked_)
        return;
    next_ = Plugins.Owners;
    Plugins.Owners = this;
    linked_ = true;
}

void PluginModule::Unlink()
{
    if (!linked_)
        return;
    for (PluginModule **link = &Plugins.Owners; *link; link = &(*link)->next_) {
        if (*link == this) {
            *link = next_;
            break;
        }
    }
    next_ = nullptr;
    linked_ = false;
}
