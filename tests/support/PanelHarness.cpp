#include "PanelHarness.h"

#include "TestSupport.h"

PanelHarness::PanelHarness(const std::wstring &file)
{
    std::wstring path = file.find(L'\\') == std::wstring::npos ? ProgramFolder() + file : file;
    error_ = LoadPanelPlugin(path.c_str(), &callbacks_, &plugin_);
}

PanelHarness::~PanelHarness()
{
    if (created_)
        Destroy();
    Unload();
}

HWND PanelHarness::Create(HWND parent)
{
    created_ = true;
    panel_ = callbacks_.PanelCreate(Host(), parent);
    return panel_;
}

void PanelHarness::Destroy()
{
    created_ = false;
    if (callbacks_.PanelDestroy)
        callbacks_.PanelDestroy(Host(), panel_);
}

void PanelHarness::Unload()
{
    UnloadPanelPlugin(&plugin_);
}
