/* Request benchmark: a service request's round trip through PanelBridge, as
 * a hosted plug-in makes it, against its floor, a direct call of a trivial
 * function of the same stdcall signature through a pointer.
 *
 * PanelBridge is deployed as the newer host finds it (a fresh OSTREL_HOME
 * with "panel\wpn\"), hosting the adaptor tests' well-behaved fake plug-in,
 * which records the address of the host record it is given; the requests
 * are then made through that record's Request, exactly the adaptor's code
 * path. SVC_VERSION answers from the adaptor alone; SVC_ITEM_COUNT goes to
 * the host's item list through OstrelLib (an interface fetched, asked and
 * released). Interleaved rounds, best of each. */
#include "Bench.h"
#include "FakeLog.h"
#include "OstrelLib.h"
#include "OstrelStandIn.h"
#include "Paths.h"
#include "WpnContract.h"

#include <stdio.h>
#include <string>

namespace {

const int CALLS = 200000, ROUNDS = 7;

// The floor: what any call through a pointer costs, with the same signature.
uint32_t WPN_CALL Trivial(uint32_t, uintptr_t value, uintptr_t)
{
    *(uint32_t *)value = 200;
    return SVC_OK;
}
WpnRequestFn volatile Direct = Trivial;

/* Best round's seconds for CALLS calls of fn(code). */
double Time(WpnRequestFn fn, uint32_t code)
{
    uint32_t number = 0;
    double start = Now();
    for (int i = 0; i < CALLS; ++i)
        fn(code, (uintptr_t)&number, 0);
    return Now() - start;
}

typedef OIBase *(WINAPI *CreateInstanceFn)(uint32_t);

} // namespace

int main()
{
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    wchar_t homeText[MAX_PATH];
    wsprintfW(homeText, L"%stuft-bench-request-%lu\\", temp, GetCurrentProcessId());
    std::wstring home = homeText;
    for (const wchar_t *folder : {L"", L"panel", L"panel\\wpn", L"user", L"user\\setting"})
        CreateDirectoryW((home + folder).c_str(), nullptr);
    SetEnvironmentVariableW(L"OSTREL_HOME", home.c_str());
    std::wstring adaptorPath = home + L"Bench.dll", pluginPath = home + L"panel\\wpn\\Bench.wpn";
    if (!CopyFileW((ProgramFolder() + L"PanelBridge.dll").c_str(), adaptorPath.c_str(), FALSE) ||
        !CopyFileW((ProgramFolder() + L"FakeGood.wpn").c_str(), pluginPath.c_str(), FALSE)) {
        fprintf(stderr, "bench_request: cannot deploy PanelBridge.dll and FakeGood.wpn\n");
        return 1;
    }

    // The fake's record, which it opens by name.
    wchar_t logName[64];
    FakeLogName(logName);
    HANDLE mapping = CreateFileMappingW(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, sizeof(FakeLog), logName);
    FakeLog *log = mapping ? (FakeLog *)MapViewOfFile(mapping, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(FakeLog)) : nullptr;

    OstrelTestReset();
    OstrelTestSetMessageBoxAnswer(IDOK); // the fake asks a question
    for (int i = 0; i < 8; ++i)
        OstrelTestAddItem(i, L"item", L"text");

    HWND parent = CreateWindowExW(0, L"STATIC", L"bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 300, 200,
                                  nullptr, nullptr, nullptr, nullptr);
    HMODULE adaptor = LoadLibraryW(adaptorPath.c_str());
    auto create = adaptor ? (CreateInstanceFn)(void *)GetProcAddress(adaptor, "OPI_CreateInstance") : nullptr;
    OIBase *base = create ? create(0x1234) : nullptr;
    void *out = nullptr;
    OIPanel *panel = base && base->QueryInterface(OID_PANEL, &out) ? (OIPanel *)out : nullptr;
    HWND window = panel && panel->Initialize() ? panel->CreatePanel(parent) : nullptr;
    HostServices *host = log && window && log->CreateCalls == 1 ? (HostServices *)log->CreateHost : nullptr;
    int rc = 0;
    if (!log || !host || !host->Request) {
        fprintf(stderr, "bench_request: the fake plug-in was not hosted (log %p, window %p)\n", (void *)log,
                (void *)window);
        rc = 1;
    } else {
        uint32_t count = 0, version = 0;
        host->Request(SVC_ITEM_COUNT, (uintptr_t)&count, 0);
        host->Request(SVC_VERSION, (uintptr_t)&version, 0);
        double bestVersion = 1e9, bestCount = 1e9, bestDirect = 1e9;
        for (int round = 0; round < ROUNDS; ++round) {
            double t = Time(host->Request, SVC_VERSION);
            if (t < bestVersion)
                bestVersion = t;
            t = Time(host->Request, SVC_ITEM_COUNT);
            if (t < bestCount)
                bestCount = t;
            t = Time(Direct, SVC_VERSION);
            if (t < bestDirect)
                bestDirect = t;
        }
        double direct = bestDirect / CALLS * 1e9;
        printf("request: SVC_VERSION through PanelBridge %.1f ns per call (version %u), floor (direct stdcall "
               "through a pointer) %.1f ns, ratio %.2f\n",
               bestVersion / CALLS * 1e9, version, direct, bestVersion / bestDirect);
        printf("request: SVC_ITEM_COUNT through PanelBridge and OstrelLib %.1f ns per call (%u items), floor %.1f "
               "ns, ratio %.2f; %d calls x %d rounds, best round\n",
               bestCount / CALLS * 1e9, count, direct, bestCount / bestDirect, CALLS, ROUNDS);
    }

    if (panel) {
        panel->DestroyPanel();
        panel->Release();
    }
    if (base)
        base->Release();
    if (adaptor)
        FreeLibrary(adaptor);
    if (parent)
        DestroyWindow(parent);
    if (log)
        UnmapViewOfFile(log);
    if (mapping)
        CloseHandle(mapping);
    SetEnvironmentVariableW(L"OSTREL_HOME", nullptr);
    DeleteFileW(adaptorPath.c_str());
    DeleteFileW(pluginPath.c_str());
    for (const wchar_t *folder : {L"user\\setting", L"user", L"panel\\wpn", L"panel", L""})
        RemoveDirectoryW((home + folder).c_str());
    return rc;
}
