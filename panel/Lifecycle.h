/* TuftlingPanel's side of being driven by a panel host: the four callbacks it
 * hands over in WPN_Initialize. All state is module-wide (PanelState.h), so
 * one loaded module serves one panel at a time. */
#pragma once
#include "WpnContract.h"

enum : uint32_t { PLUGIN_INFO = 0x6701 };

HWND WPN_CALL PanelCreate(HostServices *host, HWND parent);
int32_t WPN_CALL PanelDestroy(HostServices *host, HWND window);
int32_t WPN_CALL PanelTick(HostServices *host, HWND window);
int32_t WPN_CALL PanelContextMenu(HostServices *host, HWND owner, uint32_t arg3, uint32_t arg4);

/* Writes the four callbacks into their slots and nothing else. */
void FillCallbacks(PanelCallbacks *callbacks);
