/* Runs code inside another piece of code's modal loop (a popup menu, a dialog
 * box): a thread timer fires while the loop runs and calls the probe, which
 * looks at what is open and ends it. Used by the tests and by wpncheck, which
 * ends whatever a plug-in opens inside a callback. */
#pragma once
#include <windows.h>
#include <functional>

class ModalProbe {
public:
    /* The probe is called every `period` ms until it returns true. */
    ModalProbe(std::function<bool()> probe, UINT period = 50);
    ~ModalProbe();
    ModalProbe(const ModalProbe &) = delete;
    ModalProbe &operator=(const ModalProbe &) = delete;
    bool Finished() const { return finished_; }

private:
    static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD);
    static ModalProbe *current_;
    std::function<bool()> probe_;
    UINT_PTR timer_;
    bool finished_ = false;
};

/* The first visible window of this thread with the given class ("#32768" for
 * a popup menu, "#32770" for a dialog box), or null. A popup menu is looked
 * for on the whole desktop too: Wine may own its window on another thread. */
HWND FindThreadWindow(const char *className);
