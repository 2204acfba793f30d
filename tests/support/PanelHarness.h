/* An instrumented panel host for tests: loads a real .wpn through the shared
 * loader, keeps its host record at an odd address, and records every service
 * call the plug-in makes. */
#pragma once
#include "WpnLoader.h"

#include <string>
#include <vector>

struct ServiceLog {
    int Requests = 0;
    int Frees = 0;
    int Others = 0;             // Reserved, Alloc, ShowMessage
    uint32_t LastCode = 0;
    uintptr_t LastValue = 0;
    std::vector<void *> HandedOut; // texts given to the plug-in
    std::vector<void *> Freed;     // blocks given back
};

class PanelHarness {
public:
    /* Loads the plug-in file (beside the test program unless a full path). */
    explicit PanelHarness(const std::wstring &file = L"TuftlingPanel.wpn");
    ~PanelHarness();
    PanelHarness(const PanelHarness &) = delete;
    PanelHarness &operator=(const PanelHarness &) = delete;

    LoadError Error() const { return error_; }
    HostServices *Host() const { return host_; }
    PanelCallbacks &Callbacks() { return callbacks_; }
    const LoadedPlugin &Plugin() const { return plugin_; }

    /* What SVC_FOLDER value 1 answers: the text, or SVC_NONE when unset. */
    void SetSettingsFolder(const std::string &folder) { folder_ = folder; hasFolder_ = true; }
    void ClearSettingsFolder() { hasFolder_ = false; }

    HWND Create(HWND parent);
    void Destroy(); // PanelDestroy with the panel window of Create
    void Unload();

    HWND Panel() const { return panel_; }
    ServiceLog &Log() { return log_; }

private:
    static uint32_t WPN_CALL Request(uint32_t code, uintptr_t value, uintptr_t out);
    static uint32_t WPN_CALL Reserved(uint32_t, uint32_t, uint32_t);
    static void *WPN_CALL Alloc(uint32_t size);
    static uint32_t WPN_CALL Free(void *block);
    static int32_t WPN_CALL ShowMessage(const char *text, uint32_t type);

    static PanelHarness *current_;

    alignas(4) unsigned char hostBytes_[sizeof(HostServices) + 1];
    HostServices *host_;
    PanelCallbacks callbacks_;
    LoadedPlugin plugin_;
    LoadError error_;
    std::string folder_;
    bool hasFolder_ = false;
    HWND panel_ = nullptr;
    bool created_ = false;
    ServiceLog log_;
};
