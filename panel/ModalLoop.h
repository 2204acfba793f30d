/* Around each modal loop of the plug-in's own, its context menu and its about
 * box. While such a loop runs, the host's timers and messages go on, and a
 * host may destroy the panel and unload the module from one of them; the
 * loop would then return into code that is gone. So the loop holds a
 * reference of its own on the module. When it returns, it gives that back if
 * the panel still stands; if the panel was destroyed meanwhile, the host may
 * already have let go of the module, so the reference is kept until the next
 * PanelCreate, where the host that calls holds the module and giving it back
 * cannot unmap running code. Until then the module stays loaded. */
#pragma once
#include "PanelState.h"

class ModalLoop {
public:
    ModalLoop();
    ~ModalLoop();
    ModalLoop(const ModalLoop &) = delete;
    ModalLoop &operator=(const ModalLoop &) = delete;

private:
    HMODULE pin_ = nullptr;
    uint32_t panelsDestroyed_;
};

/* PanelDestroy's note that its panel is gone, for the loops still open. */
void NotePanelDestroyed();

/* Gives back the references that loops kept after their panel went. Only
 * PanelCreate calls it: its caller holds the module. */
void ReturnKeptReferences();
