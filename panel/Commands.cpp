/* The context menu, the commands it sends and the copy to the clipboard.
 * The menu is built afresh every time it is shown, so its check marks always
 * show the switches as they stand. A switch is flipped here and then told to
 * the animation. */
#include "Commands.h"

#include "About.h"
#include "Anim.h"
#include "Frames.h"
#include "MenuLabels.h"
#include "ModalLoop.h"
#include "Surface.h"

#include <string.h>

enum { CLIPBOARD_BLOCK_BYTES = 1024 };

void ShowPanelMenu(HWND owner)
{
    ModalLoop loop;
    HMENU menu = CreatePopupMenu();
    HMENU sizes = CreatePopupMenu();
    AppendMenuA(sizes, MF_STRING, IDM_SIZE_LARGE, LABEL_SIZE_LARGE);
    AppendMenuA(sizes, MF_STRING, IDM_SIZE_MEDIUM, LABEL_SIZE_MEDIUM);
    AppendMenuA(sizes, MF_STRING, IDM_SIZE_SMALL, LABEL_SIZE_SMALL);

    AppendMenuA(menu, MF_STRING, IDM_COPY, LABEL_COPY);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_POPUP, (UINT_PTR)sizes, LABEL_SIZE);
    AppendMenuA(menu, MF_STRING, IDM_ALWAYS, LABEL_ALWAYS);
    AppendMenuA(menu, MF_STRING, IDM_NOHIDE, LABEL_NOHIDE);
    AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu, MF_STRING, IDM_ABOUT, LABEL_ABOUT);

    if (Settings.Always)
        CheckMenuItem(menu, IDM_ALWAYS, MF_BYCOMMAND | MF_CHECKED);
    if (Settings.Hide == 0)
        CheckMenuItem(menu, IDM_NOHIDE, MF_BYCOMMAND | MF_CHECKED);

    // The cursor, not the message's position: the keyboard road shows the
    // menu at the mouse as well.
    POINT at;
    GetCursorPos(&at);
    // A second menu fails at once while one is open: the flag stays the first's.
    bool outer = Modal.MenuOpen;
    Modal.MenuOpen = true;
    TrackPopupMenu(menu, TPM_RIGHTBUTTON, at.x, at.y, 0, owner, nullptr);
    Modal.MenuOpen = outer;
    DestroyMenu(menu); // the size submenu goes with it
}

void CloseMenu()
{
    // EndMenu ends whatever menu this thread tracks: only ever ours.
    if (Modal.MenuOpen)
        EndMenu();
}

int32_t SizeCommandToPoints(UINT id)
{
    if (id == IDM_SIZE_SMALL)
        return POINTS_SMALL;
    if (id == IDM_SIZE_LARGE)
        return POINTS_LARGE;
    return POINTS_MEDIUM;
}

void PanelCommand(UINT id, HWND window)
{
    switch (id) {
    case IDM_ABOUT:
        ShowAbout(window);
        break;
    case IDM_ALWAYS:
        Settings.Always = Settings.Always == 0 ? 1 : 0;
        AnimEvent(ANIM_ALWAYS_SWITCHED);
        break;
    case IDM_NOHIDE:
        Settings.Hide = Settings.Hide == 0 ? 1 : 0;
        AnimEvent(ANIM_HIDE_SWITCHED);
        break;
    case IDM_COPY:
        CopyFrameToClipboard(window);
        break;
    case IDM_SIZE_SMALL:
    case IDM_SIZE_MEDIUM:
    case IDM_SIZE_LARGE:
        Settings.Size = SizeCommandToPoints(id);
        CreatePanelFont(Settings.Size);
        InvalidateRect(Panel.Window, nullptr, FALSE);
        break;
    default:
        break;
    }
}

void CopyFrameToClipboard(HWND owner)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, CLIPBOARD_BLOCK_BYTES);
    if (!block)
        return;
    if (char *text = (char *)GlobalLock(block)) {
        // At most 1023 bytes: the zeroed rest keeps the text terminated.
        strncpy(text, CurrentFrameText(), CLIPBOARD_BLOCK_BYTES - 1);
        GlobalUnlock(block);
    }
    if (!OpenClipboard(owner)) {
        GlobalFree(block);
        return;
    }
    EmptyClipboard();
    if (!SetClipboardData(CF_TEXT, block))
        GlobalFree(block); // once handed over, the block is the clipboard's
    CloseClipboard();
}
