/* Deploys PanelBridge the way the newer host finds it and drives it as that
 * host does, for the adaptor's tests.
 *
 * A Deployment is a fresh host root (OSTREL_HOME) with "panel\wpn\" and
 * "user\" (the adaptor makes "user\setting\"), a copy of PanelBridge.dll
 * under the title to host, and optionally a plug-in file copied to
 * panel\wpn\<title>.wpn. The adaptor copy imports OstrelLib.dll by name and
 * so shares the one this test program already has loaded: the test and the
 * adaptor see the same host. */
#pragma once
#include "FakeLog.h"
#include "OstrelLib.h"
#include "OstrelStandIn.h"
#include "TestSupport.h"

#include <string>

/* The fakes' shared record, created empty for each test. */
class FakeLogView {
public:
    FakeLogView();
    ~FakeLogView();
    FakeLogView(const FakeLogView &) = delete;
    FakeLogView &operator=(const FakeLogView &) = delete;
    FakeLog *operator->() const { return log_; }
    FakeLog &operator*() const { return *log_; }

private:
    HANDLE mapping_;
    FakeLog *log_;
};

class Deployment {
public:
    /* adaptorFile: the adaptor copy's file name, e.g. "Tuft.dll".
     * pluginSource: a file beside the test program to deploy as the
     * plug-in, or empty for none; pluginBytes, when not empty, is written as
     * the plug-in file instead. */
    Deployment(const std::wstring &adaptorFile, const std::wstring &pluginSource,
               const std::string &pluginBytes = std::string());
    ~Deployment();
    Deployment(const Deployment &) = delete;
    Deployment &operator=(const Deployment &) = delete;

    const TempDir &Home() const { return home_; }
    std::wstring AdaptorPath() const { return home_ / adaptorFile_; }
    std::wstring PluginPath() const;
    std::wstring SettingsFolder() const { return home_ / L"user\\setting\\"; }
    HMODULE Adaptor() const { return adaptor_; }
    /* OPI_CreateInstance; null when the module or its export is missing. */
    OIBase *CreateInstance() const;
    /* True while the deployed plug-in module is loaded in this process. */
    bool PluginLoaded() const;

private:
    TempDir home_;
    std::wstring adaptorFile_;
    HMODULE adaptor_ = nullptr;
};

/* The instance's three interfaces, each with its own reference. */
struct AdaptorRefs {
    OIBase *Base = nullptr;
    OIPlugin *Plugin = nullptr;
    OIPanel *Panel = nullptr;
    explicit AdaptorRefs(const Deployment &deployment);
    ~AdaptorRefs();
    AdaptorRefs(const AdaptorRefs &) = delete;
    AdaptorRefs &operator=(const AdaptorRefs &) = delete;
    void ReleaseAll();
};

/* A deployment, the instance's interfaces, Initialize and CreatePanel with
 * the parent: a panel as the newer host makes it. */
struct Hosted {
    Deployment Deploy;
    AdaptorRefs Refs;
    HWND Panel = nullptr;
    Hosted(const std::wstring &file, const std::wstring &plugin, HWND parent,
           const std::string &bytes = std::string());
};

/* The process's current folder while the object lives: where a relative
 * path is resolved. */
class CurrentFolder {
public:
    explicit CurrentFolder(const std::wstring &path);
    ~CurrentFolder() { SetCurrentDirectoryW(previous_); }
    CurrentFolder(const CurrentFolder &) = delete;
    CurrentFolder &operator=(const CurrentFolder &) = delete;

private:
    wchar_t previous_[MAX_PATH] = {};
};

/* Copies a host memory text and gives it back to the host memory object. */
std::wstring TakeHostText(wchar_t *text);

OstrelCounters Counters();
/* Number of modules named OstrelLib.dll in this process. */
int OstrelLibCopies();

/* Reads the window's class name. */
std::wstring ClassOf(HWND window);
std::wstring TextOf(HWND window);

/* Every reference and block of host memory handed out has come back,
 * nothing was given back that the host never handed out, and no null
 * pointer reached the host library's classes. */
void CheckNothingOut(int line);
#define CHECK_NOTHING_OUT() CheckNothingOut(__LINE__)
