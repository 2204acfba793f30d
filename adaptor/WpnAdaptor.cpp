/* WpnAdaptor's identity and lifetime: the interfaces it answers to, its
 * reference count (Release, which first catches up with the calls into the
 * plug-in, is in Hosting.cpp with them), and the identifier, name and icon
 * path derived from the module's file title. Every text handed to the newer
 * host is a fresh block of host memory that the host owns from then on. */
#include "WpnAdaptor.h"

#include "AdaptorState.h"
#include "Folders.h"
#include "HostLibrary.h"
#include "HostMemory.h"
#include "ModuleTitle.h"

#include <string.h>

namespace {

const wchar_t IdPattern[] = L"{C46E8446-BD99-4ef6-BE49-6D3751BF28DD-%s}";
// The pattern's 39 characters plus the longest title and its NUL.
enum { ID_CHARS = 300 };
static_assert(sizeof IdPattern / sizeof IdPattern[0] - 3 + MODULE_TITLE_CHARS <= ID_CHARS,
              "the identifier buffer holds the longest title");

} // namespace

WpnAdaptor::WpnAdaptor() = default;

WpnAdaptor::~WpnAdaptor()
{
    if (Ticks.Live == this)
        Ticks.Live = nullptr;
    // A host that lets go of a ticking panel without DestroyPanel must not
    // leave a timer or a window procedure pointing into this module, which
    // may unload next. The plug-in itself stays, as its window does.
    if (plugin_) {
        plugin_->Abandon(this);
        plugin_ = nullptr;
    }
}

bool WpnAdaptor::QueryInterface(uint32_t id, void **out)
{
    if (!out)
        return false;
    *out = nullptr;
    if (id != OID_BASE && id != OID_PLUGIN && id != OID_PANEL)
        return false;
    // One chain of single inheritance: OIBase, OIPlugin and OIPanel share an address.
    *out = static_cast<OIPanel *>(this);
    AddRef();
    return true;
}

int WpnAdaptor::AddRef()
{
    return ++references_;
}

void WpnAdaptor::ReleaseCallReference()
{
    if (--references_ == 0)
        delete this;
}

bool WpnAdaptor::Initialize()
{
    ComputeModuleTitle();
    return true;
}

bool WpnAdaptor::Terminate()
{
    return true;
}

wchar_t *WpnAdaptor::GetId(wchar_t **out)
{
    ComputeModuleTitle();
    wchar_t id[ID_CHARS];
    wsprintfW(id, IdPattern, Module.Title);
    return HandOutHostText(id, out);
}

BOOL WpnAdaptor::ShowPanel(bool show)
{
    HWND window = PanelWindow();
    if (!window)
        return FALSE;
    return ShowWindow(window, show ? SW_SHOWNORMAL : SW_HIDE);
}

wchar_t *WpnAdaptor::GetName(wchar_t **out)
{
    return HandOutHostText(Module.Title, out);
}

wchar_t *WpnAdaptor::GetIconPath(wchar_t **out)
{
    WideText path = JoinTexts({L"panel\\", PluginFolder, Module.Title, L".ico"});
    return HandOutHostText(path.get(), out);
}
