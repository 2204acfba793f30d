/* Soak and leak runs: many panels made and destroyed in one loaded module,
 * each one resized, danced, copied from and painted. GDI objects and thread
 * windows must come back to exactly where they started, and committed
 * private memory may not grow beyond heap noise.
 *
 * The number of cycles comes from TUFT_SOAK_CYCLES (200 in the regular
 * suite; `./dev soak` runs 2,000). Figures are printed at the start and the
 * end of every run. */
#include "doctest.h"
#include "ObjectCount.h"
#include "PanelHarness.h"
#include "TestSupport.h"

#include <stdio.h>
#include <stdlib.h>
#include <functional>

namespace {

struct Figures {
    int Gdi, Windows;
    SIZE_T Private;       // committed private memory, summed over the address space
    SIZE_T PrivateUsage;  // GetProcessMemoryInfo's figure (0 where not offered)
};

Figures Measure()
{
    return {CountGdiObjects(), CountThreadWindows(), CountCommittedPrivateBytes(), ProcessPrivateUsage()};
}

void Print(const char *name, const char *when, const Figures &f)
{
    printf("%s %s: GDI objects %d, thread windows %d, committed private %lu KB, PrivateUsage %lu KB\n", name, when,
           f.Gdi, f.Windows, (unsigned long)(f.Private / 1024), (unsigned long)(f.PrivateUsage / 1024));
    fflush(stdout);
}

const SIZE_T HeapNoise = 1024 * 1024;

/* Runs `cycle` a few times to warm up, then `cycles` times between two
 * measurements, and checks that nothing grew. */
void Soak(const char *name, int cycles, const std::function<void(int)> &cycle)
{
    for (int i = 0; i < 5; ++i)
        cycle(i);
    PumpFor(50);
    Figures start = Measure();
    Print(name, "start", start);
    for (int i = 0; i < cycles; ++i)
        cycle(i);
    PumpFor(50);
    Figures end = Measure();
    Print(name, "end", end);
    CHECK(end.Gdi == start.Gdi);
    CHECK(end.Windows == start.Windows);
    CHECK(end.Private < start.Private + HeapNoise);
    if (start.PrivateUsage && end.PrivateUsage)
        CHECK(end.PrivateUsage < start.PrivateUsage + HeapNoise);
}

} // namespace

TEST_CASE("TuftlingPanel: create, resize, dance, copy, paint and destroy, many times over")
{
    TempDir dir;
    PanelHarness host;
    REQUIRE(host.Error().Step == LoadStep::None);
    host.SetSettingsFolder(dir.Ansi());
    ParentWindow parent;
    WarmUpGdi();
    int cycles = EnvCount("TUFT_SOAK_CYCLES", 200);
    int made = 0;
    // The host keeps every folder text it hands out and logs each call: its
    // room is taken before the first measurement, or its growth would pass
    // for the plug-in's. Each cycle asks for the folder once and frees it once.
    host.TakeHostRoom(cycles + 5, dir.Ansi().size() + 1);
    Soak("TuftlingPanel", cycles, [&](int i) {
        HWND panel = host.Create(parent.get());
        REQUIRE(panel);
        ++made;
        SendMessageW(panel, WM_COMMAND, 20005 + i % 3, 0);          // small, medium, large
        SendMessageW(panel, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(30, 30));
        SendMessageW(panel, WM_LBUTTONUP, 0, MAKELPARAM(30, 30));
        SendMessageW(panel, WM_TIMER, 10002, 0);                    // one dance step
        SendMessageW(panel, WM_COMMAND, 20004, 0);                  // copy
        RedrawWindow(panel, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        host.Destroy();
        REQUIRE_FALSE(IsWindow(panel));
    });
    CHECK(made == cycles + 5);
    // Every create asked for the folder once and gave the text back once.
    CHECK(host.Log().HandedOut.size() == (size_t)made);
    CHECK(host.Log().Freed == host.Log().HandedOut);
    // The dances were counted and written: at least one per cycle.
    CHECK(atoi(IniValue(dir / L"TuftlingPanel.ini", "Tuftling", "Count").c_str()) >= made);
}

/* The PanelBridge soak, which loads and unloads TuftlingPanel through the
 * adaptor every cycle, is tests/adaptor/BridgeSoakTest.cpp. */
