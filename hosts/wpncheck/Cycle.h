/* One full host cycle over a panel plug-in, each step a reported check: load,
 * exports, info byte, WPN_Initialize, PanelCreate, ticks, the context menu,
 * PanelDestroy, what was released, the services used, unload, and anything
 * the plug-in still did through either record after it should have let go. */
#pragma once
#include "InstrumentedHost.h"

#include <string>

/* GDI objects and thread windows before PanelCreate and after PanelDestroy. */
struct ResourceCounts {
    bool Measured = false;
    int GdiBefore = 0, GdiAfter = 0, WindowsBefore = 0, WindowsAfter = 0;
};

/* The first cycle's panel, which the reload is held to: a plug-in that made
 * a panel once must make one again. */
struct FirstPanel {
    bool Made = false;
    std::string Class;         // the panel window's class, when the plug-in registered it
    HINSTANCE Owner = nullptr; // the plug-in's instance
    bool ClassLeft = false;    // still registered after the module was unloaded
};

struct CycleSetup {
    std::wstring PluginPath;
    HWND Parent;
    bool First;             // the first cycle also checks the decorated export names
    ResourceCounts *Counts; // filled when the cycle got as far as PanelDestroy
    FirstPanel *Panel;      // filled by the first cycle, read by the reload
};

/* True when the cycle got as far as unloading a module that passed steps
 * 1 to 4 of the contract (load, exports, info byte, WPN_Initialize). */
bool RunCycle(InstrumentedHost &host, const CycleSetup &setup);
