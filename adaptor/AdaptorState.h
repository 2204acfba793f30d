/* PanelBridge's module-wide state, in one group per owner, as the panel keeps
 * its own: a loaded module has one of each, so a global reads as one wherever
 * it is used (Module.Title, Ticks.Live), and a module reaches the state here,
 * never by including a higher module. The owner makes and changes its group;
 * where another part changes a member, its comment says so. */
#pragma once
#include <windows.h>

class WpnAdaptor;

enum { MODULE_TITLE_CHARS = 260 };

/* The module itself: its instance handle, recorded on attach (Entry.cpp), and
 * its file title without the extension (ModuleTitle.cpp), empty until first
 * computed. Every name the adaptor shows the host comes from the title. */
struct ModuleData {
    HINSTANCE Instance;
    wchar_t Title[MODULE_TITLE_CHARS];
};
extern ModuleData Module;

/* The tick timer (Hosting.cpp). Live is the instance it ticks: the most
 * recently constructed one (set by the factory, Entry.cpp), null again once
 * that instance is gone. InPanelTick is true while a plug-in's PanelTick
 * runs; a tick arriving then is skipped. */
struct TickData {
    WpnAdaptor *Live;
    bool InPanelTick;
};
extern TickData Ticks;
