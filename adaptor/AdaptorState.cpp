/* The one definition of each group of PanelBridge's module-wide state. */
#include "AdaptorState.h"

ModuleData Module;
TickData Ticks;
CallData Calls;
PluginData Plugins;
