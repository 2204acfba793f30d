#include "PanelHarness.h"

#include "TestSupport.h"

#include <stdlib.h>
#include <string.h>

PanelHarness *PanelHarness::current_;

PanelHarness::PanelHarness(const std::wstring &file)
    : host_((HostServices *)(hostBytes_ + 1))
{
    current_ = this;
    FillHostServices(host_, Request, Reserved, Alloc, Free, ShowMessage);
    std::wstring path = file.find(L'\\') == std::wstring::npos ? ProgramFolder() + file : file;
    error_ = LoadPanelPlugin(path.c_str(), &callbacks_, &plugin_);
}

PanelHarness::~PanelHarness()
{
    if (created_)
        Destroy();
    Unload();
    if (current_ == this)
        current_ = nullptr;
}

HWND PanelHarness::Create(HWND parent)
{
    created_ = true;
    panel_ = callbacks_.PanelCreate(host_, parent);
    return panel_;
}

void PanelHarness::Destroy()
{
    created_ = false;
    if (callbacks_.PanelDestroy)
        callbacks_.PanelDestroy(host_, panel_);
}

void PanelHarness::Unload()
{
    UnloadPanelPlugin(&plugin_);
}

uint32_t WPN_CALL PanelHarness::Request(uint32_t code, uintptr_t value, uintptr_t out)
{
    PanelHarness *self = current_;
    ++self->log_.Requests;
    self->log_.LastCode = code;
    self->log_.LastValue = value;
    if (code == SVC_FOLDER && value == SVC_FOLDER_SETTINGS && self->hasFolder_) {
        char *copy = (char *)malloc(self->folder_.size() + 1);
        memcpy(copy, self->folder_.c_str(), self->folder_.size() + 1);
        self->log_.HandedOut.push_back(copy);
        *(char **)out = copy;
        return SVC_OK;
    }
    return code == SVC_FOLDER ? SVC_NONE : SVC_UNKNOWN;
}

uint32_t WPN_CALL PanelHarness::Reserved(uint32_t, uint32_t, uint32_t)
{
    ++current_->log_.Others;
    return 0;
}

void *WPN_CALL PanelHarness::Alloc(uint32_t size)
{
    ++current_->log_.Others;
    return malloc(size);
}

uint32_t WPN_CALL PanelHarness::Free(void *block)
{
    ++current_->log_.Frees;
    current_->log_.Freed.push_back(block);
    free(block);
    return 1;
}

int32_t WPN_CALL PanelHarness::ShowMessage(const char *, uint32_t)
{
    ++current_->log_.Others;
    return IDOK;
}
