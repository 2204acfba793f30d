#include "MenuCloser.h"

MenuCloser::MenuCloser() : probe_([this] { return Close(); }, 100) {}

bool MenuCloser::Close()
{
    if (FindThreadWindow("#32768")) {
        sawMenu_ = true;
        EndMenu();
    }
    if (HWND dialog = FindThreadWindow("#32770")) {
        sawDialog_ = true;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
    return false; // a plug-in may open another loop after this one
}
