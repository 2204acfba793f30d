/* One full host cycle over a panel plug-in, each step a reported check: load,
 * exports, info byte, WPN_Initialize, PanelCreate, ticks, the context menu,
 * PanelDestroy, what was released, the services used, unload. */
#pragma once
#include "CheckHost.h"

#include <string>

/* GDI objects and thread windows before PanelCreate and after PanelDestroy. */
struct ResourceCounts {
    bool Measured = false;
    int GdiBefore = 0, GdiAfter = 0, WindowsBefore = 0, WindowsAfter = 0;
};

struct CycleSetup {
    std::wstring PluginPath;
    HWND Parent;
    bool First;             // the first cycle also checks the decorated export names
    ResourceCounts *Counts; // filled when the cycle got as far as PanelDestroy
};

/* True when the cycle got as far as unloading a module that passed steps
 * 1 to 4 of the contract (load, exports, info byte, WPN_Initialize). */
bool RunCycle(CheckHost &host, const CycleSetup &setup);
