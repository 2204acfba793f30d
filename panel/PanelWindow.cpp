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
#include "Lifecycle.h"

HWND PanelWindow = nullptr;

const char PanelClassName[] = "Wendrake Plugin - TuftlingPanel";

static void RegisterPanelClass()
{
    WNDCLASSA existing;
    if (GetClassInfoA(ModuleInstance, PanelClassName, &existing) &&
        existing.lpfnWndProc != PanelWndProc)
        UnregisterClassA(PanelClassName, ModuleInstance);

    WNDCLASSA wc = {};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = PanelWndProc;
    wc.hInstance = ModuleInstance;
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)GetStockObject(WHITE_BRUSH);
    wc.lpszClassName = PanelClassName;
    RegisterClassA(&wc); // fails harmlessly when our own class is still there
}

bool CreatePanelWindow(HWND parent)
{
    RegisterPanelClass();
    PanelWindow = CreateWindowExA(0, PanelClassName, "", WS_CHILD | WS_VISIBLE, 0, 0, PANEL_WIDTH,
                                  PANEL_HEIGHT, parent, nullptr, ModuleInstance, nullptr);
    return PanelWindow != nullptr;
}

void DestroyPanelWindow()
{
    if (PanelWindow) {
        DestroyWindow(PanelWindow);
        PanelWindow = nullptr;
    }
    UnregisterClassA(PanelClassName, ModuleInstance);
}

static void ToggleColourCycling(HWND window)
{
    ColourCycling = !ColourCycling;
    if (ColourCycling) {
        SetTimer(window, TIMER_COLOUR, COLOUR_TIMER_PERIOD, nullptr);
    } else {
        KillTimer(window, TIMER_COLOUR);
        InvalidateRect(PanelWindow, nullptr, FALSE); // grey again at once
    }
}

static LRESULT OnPaint(HWND window)
{
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(window, &ps);
    PaintPanel(dc);
    EndPaint(window, &ps);
    return 0;
}

static LRESULT OnTimer(UINT_PTR id)
{
    if (id == TIMER_DANCE || id == TIMER_HIDE)
        AnimEvent((int32_t)id);
    else if (id == TIMER_COLOUR)
        InvalidateRect(PanelWindow, nullptr, FALSE);
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
        break;
    case WM_TIMER:
        return OnTimer(wParam);
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
