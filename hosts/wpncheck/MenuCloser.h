/* Ends whatever modal loop a plug-in opens inside a callback (its context
 * menu, or a dialog box) from a modal probe, which keeps firing inside the
 * plug-in's own loop. Records what it found. */
#pragma once
#include "ModalProbe.h"

class MenuCloser {
public:
    MenuCloser();
    bool SawMenu() const { return sawMenu_; }
    bool SawDialog() const { return sawDialog_; }

private:
    bool Close();

    bool sawMenu_ = false, sawDialog_ = false;
    ModalProbe probe_; // last: it calls Close until the closer goes
};
