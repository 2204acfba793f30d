/* The host's side of a plug-in of the newer kind. The texts the plug-in
 * hands out are host memory: copied, then given back to the memory object. */
#include "PanelSession.h"

namespace {

typedef OIBase *(WINAPI *CreateInstanceFn)(uint32_t);

std::wstring TakeText(wchar_t *text)
{
    std::wstring copy = text ? text : L"";
    if (text)
        OlxGetMemory()->Free(text);
    return copy;
}

template <class Interface>
void ReleaseOnce(Interface *&held)
{
    if (held) {
        held->Release();
        held = nullptr;
    }
}

} // namespace

PanelSession::~PanelSession()
{
    Close();
}

bool PanelSession::Open(const std::wstring &path, std::string &error)
{
    module_ = LoadLibraryW(path.c_str());
    if (!module_) {
        error = "not a loadable 32-bit DLL";
        return false;
    }
    auto create = (CreateInstanceFn)(void *)GetProcAddress(module_, "OPI_CreateInstance");
    if (!create) {
        error = "no OPI_CreateInstance export";
        Close();
        return false;
    }
    base_ = create(0);
    void *plugin = nullptr, *panel = nullptr;
    if (!base_ || !base_->QueryInterface(OID_PLUGIN, &plugin) || !base_->QueryInterface(OID_PANEL, &panel)) {
        plugin_ = (OIPlugin *)plugin;
        error = "the instance is not a panel";
        Close();
        return false;
    }
    plugin_ = (OIPlugin *)plugin;
    panel_ = (OIPanel *)panel;
    plugin_->Initialize();
    wchar_t *text = nullptr;
    id_ = TakeText(plugin_->GetId(&text));
    name_ = TakeText(panel_->GetName(&text));
    panel_->GetIconPath(&text);
    iconPath_ = TakeText(text);
    return true;
}

HWND PanelSession::CreatePanel(HWND parent)
{
    if (!panel_)
        return nullptr;
    panelWindow_ = panel_->CreatePanel(parent);
    panelCreated_ = true;
    panel_->ShowPanel(true);
    return panelWindow_;
}

void PanelSession::Close()
{
    if (panel_ && panelCreated_)
        panel_->DestroyPanel();
    panelCreated_ = false;
    panelWindow_ = nullptr;
    if (plugin_)
        plugin_->Terminate();
    ReleaseOnce(panel_);
    ReleaseOnce(plugin_);
    ReleaseOnce(base_);
    if (module_) {
        FreeLibrary(module_);
        module_ = nullptr;
    }
}

bool IsPanelModule(const std::wstring &path)
{
    HMODULE module = LoadLibraryW(path.c_str());
    if (!module)
        return false;
    bool found = GetProcAddress(module, "OPI_CreateInstance") != nullptr;
    FreeLibrary(module);
    return found;
}
