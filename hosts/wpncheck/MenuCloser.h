/* Ends whatever modal loop a plug-in opens inside a callback (its context
 * menu, or a dialog box) from a thread timer, which keeps firing inside the
 * plug-in's own loop. Records what it found. */
#pragma once
#include <windows.h>

class MenuCloser {
public:
    MenuCloser();
    ~MenuCloser();
    MenuCloser(const MenuCloser &) = delete;
    MenuCloser &operator=(const MenuCloser &) = delete;
    bool SawMenu() const { return sawMenu_; }
    bool SawDialog() const { return sawDialog_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static MenuCloser *current_;
    UINT_PTR timer_;
    bool sawMenu_ = false, sawDialog_ = false;
};
