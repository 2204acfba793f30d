/* PanelBridge soak: the real TuftlingPanel.wpn hosted through the adaptor
 * over and over, each cycle a full CreatePanel (find, load, initialise,
 * create, tick timer) and DestroyPanel (destroy, unload). GDI objects,
 * thread windows and the host's outstanding references and memory blocks
 * must come back to exactly where they started; committed private memory may
 * not grow beyond heap noise.
 *
 * The number of cycles comes from TUFT_BRIDGE_SOAK_CYCLES (60 in the regular
 * suite; `./dev soak` runs 300). Figures are printed at the start and the end. */
#include "AdaptorHarness.h"
#include "ObjectCount.h"
#include "doctest.h"

#include <stdio.h>
#include <stdlib.h>

namespace {

struct Figures {
    int Gdi, Windows;
    SIZE_T Private;      // committed private memory, summed over the address space
    SIZE_T PrivateUsage; // GetProcessMemoryInfo's figure (0 where not offered)
    int References, Blocks;
};

Figures Measure()
{
    OstrelCounters host = Counters();
    return {CountGdiObjects(), CountThreadWindows(), CountCommittedPrivateBytes(), ProcessPrivateUsage(),
            host.References, host.Blocks};
}

void Print(const char *when, int cycles, const Figures &f)
{
    printf("PanelBridge soak %s (%d cycles): GDI objects %d, thread windows %d, committed private %lu KB, "
           "PrivateUsage %lu KB, host references %d, host blocks %d\n",
           when, cycles, f.Gdi, f.Windows, (unsigned long)(f.Private / 1024),
           (unsigned long)(f.PrivateUsage / 1024), f.References, f.Blocks);
    fflush(stdout);
}

const SIZE_T HeapNoise = 1024 * 1024;
const int WarmUpCycles = 5;

} // namespace

TEST_CASE("PanelBridge loads, shows and unloads TuftlingPanel many times over without growing")
{
    Deployment deployment(L"TuftlingPanel.dll", L"TuftlingPanel.wpn");
    std::wstring ini = deployment.SettingsFolder() + L"TuftlingPanel.ini";
    ParentWindow parent;
    WarmUpGdi();
    AdaptorRefs refs(deployment);
    REQUIRE(refs.Plugin->Initialize());

    int made = 0;
    auto cycle = [&](int i) {
        HWND panel = refs.Panel->CreatePanel(parent.get());
        REQUIRE(panel);
        REQUIRE(deployment.PluginLoaded());
        ++made;
        // Not the help window: the mascot's own class, painted once.
        CHECK(Narrow(ClassOf(panel)) == "Wendrake Plugin - TuftlingPanel");
        // A click makes it dance, so every cycle writes a changed count.
        SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
        SendMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
        SendMessageW(panel, WM_TIMER, 10002, 0);
        RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        if (i % 20 == 0)
            PumpFor(10); // let the queue see the tick timer now and then
        REQUIRE(refs.Panel->DestroyPanel());
        REQUIRE_FALSE(IsWindow(panel));
        REQUIRE_FALSE(deployment.PluginLoaded());
    };

    for (int i = 0; i < WarmUpCycles; ++i)
        cycle(i);
    PumpFor(50);
    Figures start = Measure();
    int cycles = EnvCount("TUFT_BRIDGE_SOAK_CYCLES", 60);
    Print("start", cycles, start);
    for (int i = 0; i < cycles; ++i)
        cycle(i);
    PumpFor(50);
    Figures end = Measure();
    Print("end", cycles, end);

    CHECK(made == WarmUpCycles + cycles);
    CHECK(end.Gdi == start.Gdi);
    CHECK(end.Windows == start.Windows);
    CHECK(end.References == start.References);
    CHECK(end.Blocks == start.Blocks);
    CHECK(end.Private < start.Private + HeapNoise);
    if (start.PrivateUsage && end.PrivateUsage)
        CHECK(end.PrivateUsage < start.PrivateUsage + HeapNoise);
    // Each cycle's dance reached the settings file through the unload.
    CHECK(atoi(IniValue(ini, "Tuftling", "Count").c_str()) >= made);

    refs.ReleaseAll();
    OstrelCounters host = Counters();
    CHECK(host.References == 0);
    CHECK(host.Blocks == 0);
    CHECK(host.BadFrees == 0);
}
