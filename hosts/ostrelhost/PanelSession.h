/* One panel plug-in of the newer host, as the host drives it: load the
 * module, create the instance through its factory, take its plug-in and
 * panel interfaces, read its identity, create and show the panel, and on the
 * way out destroy the panel, release every reference and unload. */
#pragma once
#include "OstrelLib.h"

#include <string>

class PanelSession {
public:
    PanelSession() = default;
    ~PanelSession();
    PanelSession(const PanelSession &) = delete;
    PanelSession &operator=(const PanelSession &) = delete;

    /* Loads the module and initialises the instance; false with a reason. */
    bool Open(const std::wstring &path, std::string &error);
    HWND CreatePanel(HWND parent);
    /* DestroyPanel, every Release, FreeLibrary; safe to call twice. */
    void Close();

    const std::wstring &Id() const { return id_; }
    const std::wstring &Name() const { return name_; }
    const std::wstring &IconPath() const { return iconPath_; }
    HWND Panel() const { return panelWindow_; }

private:
    HMODULE module_ = nullptr;
    OIBase *base_ = nullptr;
    OIPlugin *plugin_ = nullptr;
    OIPanel *panel_ = nullptr;
    bool panelCreated_ = false;
    HWND panelWindow_ = nullptr;
    std::wstring id_, name_, iconPath_;
};

/* True when the module at path exports the newer host's factory. */
bool IsPanelModule(const std::wstring &path);
