/* The about box's dialog procedure. The count is read afresh when the box
 * opens and again on every WM_COUNT_CHANGED that the animation posts. */
#include "About.h"

#include "ModalLoop.h"
#include "resources/resource.h"

enum { ABOUT_TEXT_CHARS = 100 };

void ShowAbout(HWND owner)
{
    ModalLoop loop;
    // Wide: the template's Japanese caption and picture stay UTF-16 on any
    // code page, where a narrow box would take them through the system's.
    DialogBoxParamW(Module.Instance, MAKEINTRESOURCEW(IDD_ABOUT), owner, AboutDialogProc, 0);
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
    wchar_t text[ABOUT_TEXT_CHARS];
    wsprintfW(text, L"Count: %d", Settings.Count);
    SetDlgItemTextW(dialog, IDC_COUNT, text);
}

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_INITDIALOG: {
        About.Window = dialog;
        wchar_t text[ABOUT_TEXT_CHARS];
        wsprintfW(text, L"TuftlingPanel  %d.%d", TUFT_VERSION_MAJOR, TUFT_VERSION_MINOR);
        SetDlgItemTextW(dialog, IDC_VERSION, text);
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
