/* The context menu, the commands it sends and the copy to the clipboard.
 * The menu is built afresh every time it is shown, so its check marks always
 * show the switches as they stand. A switch is flipped here and then told to
 * the animation. */
#include "Commands.h"

#include "About.h"
#include "Anim.h"
#include "Frames.h"
#include "JapaneseText.h"
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
    AppendMenuW(sizes, MF_STRING, IDM_SIZE_LARGE, LABEL_SIZE_LARGE);
    AppendMenuW(sizes, MF_STRING, IDM_SIZE_MEDIUM, LABEL_SIZE_MEDIUM);
    AppendMenuW(sizes, MF_STRING, IDM_SIZE_SMALL, LABEL_SIZE_SMALL);

    AppendMenuW(menu, MF_STRING, IDM_COPY, LABEL_COPY);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_POPUP, (UINT_PTR)sizes, LABEL_SIZE);
    AppendMenuW(menu, MF_STRING, IDM_ALWAYS, LABEL_ALWAYS);
    AppendMenuW(menu, MF_STRING, IDM_NOHIDE, LABEL_NOHIDE);
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    AppendMenuW(menu, MF_STRING, IDM_ABOUT, LABEL_ABOUT);

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
        // A font that cannot be made leaves the one in use: the mascot stays
        // on show at its size, and the next size command, or the next panel,
        // asks for the size chosen again.
        (void)CreatePanelFont(Settings.Size);
        InvalidateRect(window, nullptr, FALSE);
        break;
    default:
        break;
    }
}

namespace {

// A moveable block of `size` zeroed bytes that starts with the `bytes` bytes
// at data; null when there is no memory for it.
HGLOBAL NewBlock(const void *data, size_t bytes, size_t size)
{
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (!block)
        return nullptr;
    if (void *to = GlobalLock(block)) {
        memcpy(to, data, bytes);
        GlobalUnlock(block);
    }
    return block;
}

// A moveable block of the `bytes` bytes at data read as code page 932, in
// UTF-16 with a NUL; null when there is no memory for it. Converted straight
// into the block: nothing on the way can throw.
HGLOBAL NewWideBlock(const char *data, size_t bytes)
{
    const int chars = ArtCodePageToWide(data, (int)bytes, nullptr, 0);
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, ((size_t)chars + 1) * sizeof(wchar_t));
    if (!block)
        return nullptr;
    if (wchar_t *to = (wchar_t *)GlobalLock(block)) {
        ArtCodePageToWide(data, (int)bytes, to, chars);
        GlobalUnlock(block);
    }
    return block;
}

// Once the open clipboard takes a block, it is the clipboard's; one it
// refuses is freed here.
void HandOver(UINT format, HGLOBAL block)
{
    if (block && !SetClipboardData(format, block))
        GlobalFree(block);
}

void FreeBlock(HGLOBAL block)
{
    if (block)
        GlobalFree(block);
}

} // namespace

void CopyFrameToClipboard(HWND owner)
{
    // The frame's own bytes as CF_TEXT, at most 1023 of them: the zeroed rest
    // keeps the text terminated.
    const char *frame = CurrentFrameText();
    const size_t bytes = strnlen(frame, CLIPBOARD_BLOCK_BYTES - 1);
    HGLOBAL text = NewBlock(frame, bytes, CLIPBOARD_BLOCK_BYTES);
    if (!text)
        return;
    // Beside them the same bytes read as code page 932, and the locale that
    // says so: a program pasting Unicode text, or reading CF_TEXT by its
    // locale, gets the mascot's characters on any system.
    HGLOBAL unicode = NewWideBlock(frame, bytes);
    const LCID japanese = ART_LOCALE;
    HGLOBAL locale = NewBlock(&japanese, sizeof japanese, sizeof japanese);
    if (!OpenClipboard(owner)) {
        FreeBlock(text);
        FreeBlock(unicode);
        FreeBlock(locale);
        return;
    }
    EmptyClipboard();
    HandOver(CF_TEXT, text);
    HandOver(CF_UNICODETEXT, unicode);
    HandOver(CF_LOCALE, locale);
    CloseClipboard();
}
