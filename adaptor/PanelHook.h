/* The adaptor's hook on a hosted panel window: a procedure put before the
 * plug-in's own while the window is hosted, in the window's own character set
 * so that the plug-in sees its messages unchanged. The procedure itself is
 * PluginCalls.cpp's, where each message is a call into the plug-in; here
 * are its record, kept in a window property so that the hook finds its way
 * on whichever window it stands, and putting it in and taking it out. */
#pragma once
#include <windows.h>

class WpnAdaptor;

/* Adaptor is null once the instance has let go of a window whose hook could
 * not be taken out (another procedure was put before it): the hook then
 * forwards, counting nothing, until the window goes. */
struct PanelHook {
    WpnAdaptor *Adaptor;
    WNDPROC Next;      // the procedure the hook forwards to
    WNDPROC Procedure; // the hook's own
    bool Wide;
};

/* The window's hook record; null without a hook. */
PanelHook *HookOf(HWND window);

/* Puts `procedure` before the window's own for the instance; does nothing
 * for a window of another thread or one already hooked. */
void HookWindow(HWND window, WpnAdaptor *adaptor, WNDPROC procedure);

/* Takes the instance's hook out of the window. When another procedure was put
 * before it, the hook stays and forwards, counting nothing, until the window
 * goes; its record and property go with the window. */
void UnhookWindow(HWND window, WpnAdaptor *adaptor);

/* The window is going (WM_NCDESTROY has been handled): the hook's record and
 * property go, and the hook comes out if it stands first. */
void HookWindowGoing(HWND window);

/* The procedure the hook on the window forwards to; null without a hook. */
WNDPROC HookedProcedure(HWND window);
