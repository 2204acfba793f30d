/* The panel window and its class.
 *
 * A class registered by a DLL outlives the DLL: after the host unloads the
 * module and loads it again (possibly another copy at another address), a
 * class left registered would still name the old window procedure. So the
 * class is retired when the panel window goes, and a class found registered
 * with a foreign procedure is replaced before the window is made. */
#include "PanelWindow.h"

#include "Anim.h"
#include "Commands.h"
#include "Paint.h"

const char PanelClassName[] = "Wendrake Plugin - TuftlingPanel";

static void RegisterPanelClass()
{
    WNDCLASSA existing;
    if (GetClassInfoA(Module.Instance, PanelClassName, &existing) &&
        existing.lpfnWndProc != PanelWndProc)
        UnregisterClassA(PanelClassName, Module.Instance);

    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = PanelWndProc;
    wc.hInstance = Module.Instance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = PanelClassName;
    RegisterClassA(&wc); // fails harmlessly when our own class is still there
}

bool CreatePanelWindow(HWND parent)
{
    DestroyPanelWindow();
    RegisterPanelClass();
    Panel.Window = CreateWindowExA(0, PanelClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, PANEL_WIDTH,
                                   PANEL_HEIGHT, parent, nullptr, Module.Instance, nullptr);
    return Panel.Window != nullptr;
}

void DestroyPanelWindow()
{
    // Let go of before it goes: a host may make the panel again from inside
    // DestroyWindow (its parent hears of it through WM_PARENTNOTIFY), and the
    // window made then is the one to keep.
    if (HWND window = Panel.Window) {
        Panel.Window = nullptr;
        DestroyWindow(window);
    }
    UnregisterClassA(PanelClassName, Module.Instance);
}

static void ToggleColourCycling(HWND window)
{
    Colour.Cycling = !Colour.Cycling;
    if (Colour.Cycling) {
        SetTimer(window, TIMER_COLOUR, COLOUR_TIMER_PERIOD, nullptr);
    } else {
        KillTimer(window, TIMER_COLOUR);
        InvalidateRect(window, nullptr, FALSE); // grey again at once
    }
}

static LRESULT OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PaintPanel(dc, NextPicture(window));
    EndPaint(window, &ps);
    return 0;
}

static LRESULT OnTimer(HWND window, UINT_PTR id)
{
    if (id == TIMER_DANCE)
        AnimEvent(ANIM_DANCE_TICK);
    else if (id == TIMER_HIDE)
        AnimEvent(ANIM_HIDE_TICK);
    else if (id == TIMER_COLOUR)
        InvalidateRect(window, nullptr, FALSE);
    return 0; // timers never reach default processing
}

LRESULT CALLBACK PanelWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_PAINT:
        return OnPaint(window);
    case WM_CONTEXTMENU:
        ShowPanelMenu(window);
        return 0;
    case WM_COMMAND:
        PanelCommand(LOWORD(wParam), window);
        if (window != Panel.Window) // destroyed while the about box was open
            return 0;
        break;
    case WM_TIMER:
        return OnTimer(window, wParam);
    case WM_LBUTTONDOWN:
        AnimClick();
        SetFocus(window);
        break;
    case WM_RBUTTONDOWN:
        // Only the focus: the menu comes from the WM_CONTEXTMENU that the
        // default handling of the button release produces.
        SetFocus(window);
        break;
    case WM_MBUTTONDOWN:
        ToggleColourCycling(window);
        SetFocus(window);
        break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}
