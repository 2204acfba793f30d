/* Module-wide state of PanelBridge: the module's instance handle, its file
 * title (every name the adaptor shows the host comes from it), and the
 * instance the tick timer serves. */
#pragma once
#include <windows.h>

class WpnAdaptor;

enum { MODULE_TITLE_CHARS = 260 };

extern HINSTANCE ModuleInstance;
/* The module's file title without its extension; empty until computed. */
extern wchar_t ModuleTitle[MODULE_TITLE_CHARS];
/* The most recently constructed instance, null once that instance is gone. */
extern WpnAdaptor *LiveInstance;
/* True while a plug-in's PanelTick runs; a tick arriving then is skipped. */
extern bool InPanelTick;

/* Recomputes ModuleTitle from the module's own file name. */
void ComputeModuleTitle();

/* A copy of text in host memory for the newer host, which owns it after. */
wchar_t *HandOutHostText(const wchar_t *text);
