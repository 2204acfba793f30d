/* A real .wpn loaded through the panel loader and served by the
 * instrumented host, which keeps the host record at an odd address and logs
 * every service call the plug-in makes. */
#pragma once
#include "InstrumentedHost.h"
#include "PanelLoader.h"

#include <string>

class PanelHarness {
public:
    /* Loads the plug-in file (beside the test program unless a full path). */
    explicit PanelHarness(const std::wstring &file = L"TuftlingPanel.wpn");
    ~PanelHarness();
    PanelHarness(const PanelHarness &) = delete;
    PanelHarness &operator=(const PanelHarness &) = delete;

    LoadFailure Error() const { return error_; }
    HostServices *Host() const { return host_.Record(); }
    PanelCallbacks &Callbacks() { return callbacks_; }
    const LoadedPlugin &Plugin() const { return plugin_; }

    /* What SVC_FOLDER value 1 answers: the text, or SVC_NONE when unset. */
    void SetSettingsFolder(const std::string &folder) { host_.SetFolder(SVC_FOLDER_SETTINGS, folder); }
    void ClearSettingsFolder() { host_.ClearFolder(SVC_FOLDER_SETTINGS); }

    HWND Create(HWND parent);
    void Destroy(); // PanelDestroy with the panel window of Create
    void Unload();

    HWND Panel() const { return panel_; }
    ServiceLog &Log() { return host_.Log(); }
    /* InstrumentedHost::TakeRoom: the host's room for a long run, taken now. */
    void TakeHostRoom(size_t calls, size_t blockBytes) { host_.TakeRoom(calls, blockBytes); }

private:
    InstrumentedHost host_; // first made, last gone: it outlives the module
    PanelCallbacks callbacks_;
    LoadedPlugin plugin_;
    LoadFailure error_;
    HWND panel_ = nullptr;
    bool created_ = false;
};
