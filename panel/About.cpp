/* The about box's dialog procedure. The count is read afresh when the box
 * opens and again on every WM_COUNT_CHANGED that the animation posts. */
#include "About.h"

#include "ModalLoop.h"
#include "resources/resource.h"

enum { ABOUT_TEXT_BYTES = 100 };

void ShowAbout(HWND owner)
{
    ModalLoop loop;
    DialogBoxParamA(Module.Instance, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
}

void CloseAbout()
{
    if (About.Window) {
        EndDialog(About.Window, IDCANCEL);
        About.Window = nullptr;
    }
}

void ShowCount(HWND dialog)
{
    char text[ABOUT_TEXT_BYTES];
    wsprintfA(text, "Count: %d", Settings.Count);
    SetDlgItemTextA(dialog, IDC_COUNT, text);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        About.Window = dialog;
        char text[ABOUT_TEXT_BYTES];
        wsprintfA(text, "TuftlingPanel  %d.%d", TUFT_VERSION_MAJOR, TUFT_VERSION_MINOR);
        SetDlgItemTextA(dialog, IDC_VERSION, text);
        ShowCount(dialog);
        return TRUE;
    }
    case WM_COMMAND: {
        WORD id = LOWORD(wParam);
        if (id == IDOK || id == IDCANCEL) {
            About.Window = nullptr;
            EndDialog(dialog, id);
        }
        return FALSE;
    }
    case WM_COUNT_CHANGED:
        ShowCount(dialog);
        return TRUE;
    case WM_DESTROY:
        // The box can also go without OK or Cancel: its owner is the host's
        // top-level window (a dialog's owner always is one), not the panel,
        // and takes it along when it goes. A later dance must not post to a
        // dead handle.
        if (About.Window == dialog)
            About.Window = nullptr;
        return FALSE;
    }
    return FALSE;
}
