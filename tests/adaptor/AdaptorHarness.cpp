#include "AdaptorHarness.h"

#include "doctest.h"

#include <tlhelp32.h>

typedef OIBase *(WINAPI *CreateInstanceFn)(uint32_t);

FakeLogView::FakeLogView()
{
    wchar_t name[64];
    FakeLogName(name);
    mapping_ = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FakeLog), name);
    REQUIRE(mapping_);
    log_ = (FakeLog *)MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(FakeLog));
    REQUIRE(log_);
    memset(log_, 0, sizeof *log_);
}

FakeLogView::~FakeLogView()
{
    UnmapViewOfFile(log_);
    CloseHandle(mapping_);
}

Deployment::Deployment(const std::wstring &adaptorFile, const std::wstring &pluginSource,
                       const std::string &pluginBytes)
    : adaptorFile_(adaptorFile)
{
    OstrelTestReset();
    // CTest runs the services once more against empty texts that are null.
    OstrelTestSetNullEmptyTexts(EnvCount("TUFT_NULL_EMPTY_TEXTS", 0) > 0);
    // A plug-in's message box must not wait for a person.
    OstrelTestSetMessageBoxAnswer(IDOK);
    SetEnvironmentVariableW(L"OSTREL_HOME", home_.Path().c_str());
    for (const wchar_t *folder : {L"panel", L"panel\\wpn", L"user"})
        CreateDirectoryW((home_ / folder).c_str(), nullptr);
    REQUIRE(CopyFileW((ProgramFolder() + L"PanelBridge.dll").c_str(), AdaptorPath().c_str(), FALSE));
    if (!pluginBytes.empty())
        REQUIRE(WriteFileBytes(PluginPath(), pluginBytes));
    else if (!pluginSource.empty())
        REQUIRE(CopyFileW((ProgramFolder() + pluginSource).c_str(), PluginPath().c_str(), FALSE));
    // A name without an extension loads only with a trailing dot.
    std::wstring load = AdaptorPath();
    if (adaptorFile_.find(L'.') == std::wstring::npos)
        load += L'.';
    adaptor_ = LoadLibraryW(load.c_str());
    REQUIRE(adaptor_);
}

Deployment::~Deployment()
{
    // Faults since the reset in the constructor, whichever check came last.
    OstrelCounters faults = Counters();
    CHECK(faults.BadFrees == 0);
    CHECK(faults.NullPointers == 0);
    if (adaptor_) {
        FreeLibrary(adaptor_);
        adaptor_ = nullptr;
    }
    SetEnvironmentVariableW(L"OSTREL_HOME", nullptr);
}

std::wstring Deployment::PluginPath() const
{
    std::wstring title = adaptorFile_.substr(0, adaptorFile_.rfind(L'.'));
    return home_ / (L"panel\\wpn\\" + title + L".wpn");
}

OIBase *Deployment::CreateInstance() const
{
    auto create = (CreateInstanceFn)(void *)GetProcAddress(adaptor_, "OPI_CreateInstance");
    return create ? create(0x1234) : nullptr;
}

bool Deployment::PluginLoaded() const
{
    return GetModuleHandleW(PluginPath().c_str()) != nullptr;
}

AdaptorRefs::AdaptorRefs(const Deployment &deployment)
{
    Base = deployment.CreateInstance();
    REQUIRE(Base);
    void *out = nullptr;
    REQUIRE(Base->QueryInterface(OID_PLUGIN, &out));
    Plugin = (OIPlugin *)out;
    REQUIRE(Base->QueryInterface(OID_PANEL, &out));
    Panel = (OIPanel *)out;
}

AdaptorRefs::~AdaptorRefs()
{
    ReleaseAll();
}

void AdaptorRefs::ReleaseAll()
{
    if (Panel) {
        Panel->Release();
        Panel = nullptr;
    }
    if (Plugin) {
        Plugin->Release();
        Plugin = nullptr;
    }
    if (Base) {
        Base->Release();
        Base = nullptr;
    }
}

Hosted::Hosted(const std::wstring &file, const std::wstring &plugin, HWND parent, const std::string &bytes)
    : Deploy(file, plugin, bytes), Refs(Deploy)
{
    REQUIRE(Refs.Plugin->Initialize());
    Panel = Refs.Panel->CreatePanel(parent);
}

CurrentFolder::CurrentFolder(const std::wstring &path)
{
    GetCurrentDirectoryW(MAX_PATH, previous_);
    REQUIRE(SetCurrentDirectoryW(path.c_str()));
}

std::wstring TakeHostText(wchar_t *text)
{
    std::wstring copy = text ? text : L"";
    if (text)
        OlxGetMemory()->Free(text);
    return copy;
}

OstrelCounters Counters()
{
    OstrelCounters counters;
    OstrelTestGetCounters(&counters);
    return counters;
}

int OstrelLibCopies()
{
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, GetCurrentProcessId());
    if (snapshot == INVALID_HANDLE_VALUE)
        return -1;
    int copies = 0;
    MODULEENTRY32W entry = {};
    entry.dwSize = sizeof entry;
    for (BOOL more = Module32FirstW(snapshot, &entry); more; more = Module32NextW(snapshot, &entry))
        copies += lstrcmpiW(entry.szModule, L"OstrelLib.dll") == 0;
    CloseHandle(snapshot);
    return copies;
}

std::wstring ClassOf(HWND window)
{
    wchar_t name[256] = {};
    GetClassNameW(window, name, 256);
    return name;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return text;
}

void CheckNothingOut(int line)
{
    OstrelCounters counters = Counters();
    INFO("from line " << line);
    CHECK(counters.References == 0);
    CHECK(counters.Blocks == 0);
    CHECK(counters.BadFrees == 0);
    CHECK(counters.NullPointers == 0);
}
