/* Create benchmark: a panel from PanelCreate to its first paint and back
 * through PanelDestroy, with the real TuftlingPanel.wpn loaded once through
 * the contract and served by this program's own small host; against its
 * floor, a bare child window of a trivial class created, painted and
 * destroyed in the same parent. PanelCreate's cost includes what the panel
 * does every time: asking for its folder, reading the settings file, loading
 * the frames (built-in here: no art file), making its surface and font;
 * PanelDestroy writes the settings file. Interleaved rounds, best of each. */
#include "Bench.h"
#include "PanelWindow.h"
#include "Paths.h"
#include "PanelLoader.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>

namespace {

const int CYCLES = 200, ROUNDS = 5;

std::string SettingsFolder; // narrow, ends with a backslash

uint32_t WPN_CALL Request(uint32_t code, uintptr_t value, uintptr_t out)
{
    if (code == SVC_VERSION) {
        *(uint32_t *)value = 200;
        return SVC_OK;
    }
    if (code == SVC_FOLDER && value == SVC_FOLDER_SETTINGS) {
        char *copy = (char *)malloc(SettingsFolder.size() + 1);
        memcpy(copy, SettingsFolder.c_str(), SettingsFolder.size() + 1);
        *(char **)out = copy;
        return SVC_OK;
    }
    return code == SVC_FOLDER ? SVC_NONE : SVC_UNKNOWN;
}
uint32_t WPN_CALL Reserved(uint32_t, uint32_t, uint32_t) { return 0; }
void *WPN_CALL Alloc(uint32_t size) { return malloc(size ? size : 1); }
uint32_t WPN_CALL Free(void *block) { free(block); return 1; }
int32_t WPN_CALL ShowMessage(const char *, uint32_t) { return IDOK; }

// The floor's window: a trivial class that validates on WM_PAINT.
LRESULT CALLBACK BareProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    if (m == WM_PAINT) {
        PAINTSTRUCT ps;
        BeginPaint(w, &ps);
        EndPaint(w, &ps);
        return 0;
    }
    return DefWindowProcA(w, m, wp, lp);
}

} // namespace

int main()
{
    HINSTANCE instance = GetModuleHandleW(nullptr);
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char folder[MAX_PATH];
    wsprintfA(folder, "%stuft-bench-create-%lu\\", temp, GetCurrentProcessId());
    CreateDirectoryA(folder, nullptr);
    SettingsFolder = folder;

    HostServices host;
    FillHostServices(&host, Request, Reserved, Alloc, Free, ShowMessage);
    PanelCallbacks callbacks;
    LoadedPlugin plugin;
    std::wstring path = ProgramFolder() + L"TuftlingPanel.wpn";
    LoadFailure failure = LoadPanelPlugin(path.c_str(), &callbacks, &plugin);
    if (failure || !callbacks.PanelCreate || !callbacks.PanelDestroy) {
        fprintf(stderr, "bench_create: TuftlingPanel.wpn: %s\n", DescribeLoadFailure(failure).Text);
        return 1;
    }

    WNDCLASSA wc = {};
    wc.lpfnWndProc = BareProc;
    wc.hInstance = instance;
    wc.lpszClassName = "BenchBare";
    RegisterClassA(&wc);
    wc.lpfnWndProc = DefWindowProcA;
    wc.lpszClassName = "BenchParent";
    RegisterClassA(&wc);
    HWND parent = CreateWindowExA(0, "BenchParent", "bench", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0, 400, 300,
                                  nullptr, nullptr, instance, nullptr);
    if (!parent) {
        fprintf(stderr, "bench_create: no parent window\n");
        return 1;
    }

    double bestPanel = 1e9, bestBare = 1e9;
    int failures = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        double start = Now();
        for (int i = 0; i < CYCLES; ++i) {
            HWND panel = callbacks.PanelCreate(&host, parent);
            if (!panel) {
                ++failures;
                continue;
            }
            UpdateWindow(panel);
            callbacks.PanelDestroy(&host, panel);
        }
        double panel = Now() - start;

        start = Now();
        for (int i = 0; i < CYCLES; ++i) {
            HWND bare = CreateWindowExA(0, "BenchBare", "", WS_CHILD | WS_VISIBLE, 0, 0, PANEL_WIDTH, PANEL_HEIGHT,
                                        parent, nullptr, instance, nullptr);
            UpdateWindow(bare);
            DestroyWindow(bare);
        }
        double bare = Now() - start;
        if (panel < bestPanel)
            bestPanel = panel;
        if (bare < bestBare)
            bestBare = bare;
    }

    printf("create: %.1f us per PanelCreate + first paint + PanelDestroy, floor (bare child window create + "
           "paint + destroy): %.1f us, ratio %.2f, %d cycles x %d rounds, best round\n",
           bestPanel / CYCLES * 1e6, bestBare / CYCLES * 1e6, bestPanel / bestBare, CYCLES, ROUNDS);
    if (failures)
        printf("create: PanelCreate made no window %d times\n", failures);

    UnloadPanelPlugin(&plugin);
    DestroyWindow(parent);
    DeleteFileA((SettingsFolder + "TuftlingPanel.ini").c_str());
    RemoveDirectoryA(folder);
    return failures ? 1 : 0;
}
