/* PanelBridge's module-wide state, in one group per owner, as the panel keeps
 * its own: a loaded module has one of each, so a global reads as one wherever
 * it is used (Module.Title, Ticks.Live), and a module reaches the state here,
 * never by including a higher module. The owner makes and changes its group;
 * where another part changes a member, its comment says so. */
#pragma once
#include <windows.h>
#include <stdint.h>

class PluginModule;
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
 * that instance is gone. Whether a tick is still under way is asked of the
 * stack (Calls), not kept in a flag that a fault could leave raised. */
struct TickData {
    WpnAdaptor *Live;
};
extern TickData Ticks;

/* Calls into plug-ins under way on this thread (PluginCalls.cpp), one record
 * each: where the call's frame lies on the stack, and the instance that
 * holds a reference of its own for the call. A record whose frame is gone
 * (unwound past by a fault that a dispatcher swallowed) is dropped at the
 * next entry from the host or a timer. */
enum { MAX_PLUGIN_CALLS = 64 };
struct CallRecord {
    uintptr_t Frame;
    WpnAdaptor *Adaptor;
    bool Tick;
};
struct CallData {
    CallRecord Records[MAX_PLUGIN_CALLS];
    int Count;
};
extern CallData Calls;

/* The plug-in modules held (PluginModule.cpp): every owner that holds a
 * module reference is in the list Owners, linked through the owners. Those
 * let go by their instance while code of theirs could still run are set
 * aside: the list owns them, and PluginCalls.cpp tries them again from
 * each later entry and from RetryTimer, a thread timer whose procedure is
 * this module's, which SelfPin keeps loaded while the timer may fire. */
struct PluginData {
    PluginModule *Owners;
    UINT_PTR RetryTimer;
    HMODULE SelfPin;
};
extern PluginData Plugins;
