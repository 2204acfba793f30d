/* Panel creation and destruction. The order of PanelCreate is fixed: the font
 * needs Size from the settings and a surface to be selected into, and the
 * window paints with surface, font and frames as soon as it exists. The art
 * file's path serves only the loading of the frames; the settings file's is
 * kept (Lifecycle.IniPath) for PanelDestroy to write the settings back to.
 * PanelDestroy releases each object behind its own presence test, so it also
 * cleans up after a PanelCreate that stopped half-way, and then ends the
 * plug-in's own modal loops, which would otherwise outlive the panel. Such a
 * loop keeps its reference on the module when it returns; PanelCreate gives
 * those back first, so the host's later unload unloads the module. */
#include "Lifecycle.h"

#include "About.h"
#include "Anim.h"
#include "Commands.h"
#include "Frames.h"
#include "ModalLoop.h"
#include "PanelWindow.h"
#include "Settings.h"
#include "Surface.h"

// Asks the host for the settings folder and copies it; an empty copy when the
// host gives none. The copy is cut to its buffer: a text that long is longer
// than any folder the paths can take, and BuildPaths refuses it. The host's
// text is given back at once, and only when the host handed one out.
static void CopySettingsFolder(HostServices *host, char (&folder)[PATH_BYTES])
{
    folder[0] = '\0';
    char *text = nullptr;
    if (host->Request(SVC_FOLDER, SVC_FOLDER_SETTINGS, (uintptr_t)&text) != SVC_OK)
        return;
    if (text)
        lstrcpynA(folder, text, PATH_BYTES);
    host->Free(text);
}

HWND WPN_CALL PanelCreate(HostServices *host, HWND parent)
{
    ReturnKeptReferences();
    char folder[PATH_BYTES], artPath[PATH_BYTES];
    CopySettingsFolder(host, folder);
    BuildPaths(folder[0] ? folder : nullptr, Lifecycle.IniPath, artPath);
    LoadSettings(Lifecycle.IniPath);
    LoadFrames(artPath);
    if (!CreateSurface())
        return nullptr;
    if (!CreatePanelFont(Settings.Size))
        return nullptr;
    if (!CreatePanelWindow(parent))
        return nullptr;
    // Posted, not sent: the window procedure leaves it to DefWindowProcA.
    PostMessageA(Panel.Window, WM_SETFONT, (WPARAM)GetStockObject(DEFAULT_GUI_FONT), 1);
    AnimStart();
    return Panel.Window;
}

int32_t WPN_CALL PanelDestroy(HostServices *, HWND window)
{
    SaveSettings(Lifecycle.IniPath);
    AnimStop();
    if (Colour.Cycling)
        KillTimer(window, TIMER_COLOUR);
    ReleaseSurface();
    DestroyPanelWindow();
    // A host may destroy the panel from inside the menu's or the box's loop
    // (a timer, a posted message, another window of its own).
    CloseMenu();
    CloseAbout();
    NotePanelDestroyed();
    return 0;
}

int32_t WPN_CALL PanelTick(HostServices *, HWND)
{
    return 0;
}

int32_t WPN_CALL PanelContextMenu(HostServices *, HWND owner, uint32_t, uint32_t)
{
    ShowPanelMenu(owner);
    return 0;
}

void FillCallbacks(PanelCallbacks *callbacks)
{
    callbacks->PanelCreate = PanelCreate;
    callbacks->PanelDestroy = PanelDestroy;
    callbacks->PanelTick = PanelTick;
    callbacks->PanelContextMenu = PanelContextMenu;
}
