/* The module's own reference around a modal loop: taken by the address of
 * module-wide state, so it names the module this code is in whatever its
 * file, and given back while the panel stands, when the host still holds
 * the module, or else at the next PanelCreate. */
#include "ModalLoop.h"

ModalLoop::ModalLoop() : panelsDestroyed_(Modal.PanelsDestroyed)
{
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCWSTR)&Modal, &pin_);
}

ModalLoop::~ModalLoop()
{
    if (!pin_)
        return;
    if (Modal.PanelsDestroyed == panelsDestroyed_)
        FreeLibrary(pin_);
    else
        ++Modal.KeptReferences; // still running here: FreeLibrary could unmap this very code
}

void NotePanelDestroyed()
{
    ++Modal.PanelsDestroyed;
}

void ReturnKeptReferences()
{
    HMODULE self = nullptr;
    if (!Modal.KeptReferences ||
        !GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            (LPCWSTR)&Modal, &self))
        return;
    for (; Modal.KeptReferences; --Modal.KeptReferences)
        FreeLibrary(self);
}
