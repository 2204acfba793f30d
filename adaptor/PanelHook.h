/* The adaptor's hook on a hosted panel window: a procedure put before the
 * plug-in's own while the window is hosted, in the window's own character set
 * so that the plug-in sees its messages unchanged. Each message is a call
 * into the plug-in (PluginCalls.h), during which the instance holds a
 * reference of its own, since the host may let go of it from inside. */
#pragma once
#include <windows.h>

class WpnAdaptor;

/* Hooks a window of this thread for the instance; does nothing for a window
 * of another thread or one already hooked. */
void HookWindow(HWND window, WpnAdaptor *adaptor);

/* Takes the instance's hook out of the window. When another procedure was put
 * before it, the hook stays and forwards, counting nothing, until the window
 * goes; its record and property go with the window. */
void UnhookWindow(HWND window, WpnAdaptor *adaptor);

/* The procedure the hook on the window forwards to; null without a hook. */
WNDPROC HookedProcedure(HWND window);
