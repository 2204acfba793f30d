/* Load benchmark: what a host pays to take TuftlingPanel.wpn in and out
 * again, LoadLibraryW + WPN_GetPluginInfo + WPN_Initialize + FreeLibrary
 * through the contract's loader, against the same steps on MinimalPanel.wpn,
 * a plug-in with the same imports and nothing else. Interleaved rounds, best
 * round of each; the goal is TuftlingPanel within 1.3x of the minimal one. */
#include "Bench.h"
#include "Paths.h"
#include "PanelLoader.h"

#include <stdio.h>
#include <string>

namespace {

const int CYCLES = 200, ROUNDS = 7;

// Seconds for CYCLES loads and unloads of the plug-in at path; negative when
// a load failed.
double TimeCycles(const std::wstring &path)
{
    double start = Now();
    for (int i = 0; i < CYCLES; ++i) {
        PanelCallbacks callbacks;
        LoadedPlugin plugin;
        if (LoadPanelPlugin(path.c_str(), &callbacks, &plugin))
            return -1;
        UnloadPanelPlugin(&plugin);
    }
    return Now() - start;
}

} // namespace

int main()
{
    const std::wstring panel = ProgramFolder() + L"TuftlingPanel.wpn";
    const std::wstring minimal = ProgramFolder() + L"MinimalPanel.wpn";
    double bestPanel = 1e9, bestMinimal = 1e9;
    for (int round = 0; round < ROUNDS; ++round) {
        double p = TimeCycles(panel), m = TimeCycles(minimal);
        if (p < 0 || m < 0) {
            fprintf(stderr, "bench_load: %s did not load\n", p < 0 ? "TuftlingPanel.wpn" : "MinimalPanel.wpn");
            return 1;
        }
        if (p < bestPanel)
            bestPanel = p;
        if (m < bestMinimal)
            bestMinimal = m;
    }
    printf("load: %.1f us per load + WPN_GetPluginInfo + WPN_Initialize + unload of TuftlingPanel.wpn, floor (the "
           "same on a minimal plug-in of the same imports): %.1f us, ratio %.2f (goal <= 1.3), %d cycles x %d "
           "rounds, best round\n",
           bestPanel / CYCLES * 1e6, bestMinimal / CYCLES * 1e6, bestPanel / bestMinimal, CYCLES, ROUNDS);
    return 0;
}
