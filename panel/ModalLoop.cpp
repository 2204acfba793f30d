/* The module's own reference around a modal loop: taken by the address of
 * module-wide state, so it names the module this code is in whatever its
 * file, and given back only while the panel stands, when the host still
 * holds the module. */
#include "ModalLoop.h"

ModalLoop::ModalLoop() : panelsDestroyed_(Modal.PanelsDestroyed)
{
    GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS, (LPCWSTR)&Modal, &pin_);
}

ModalLoop::~ModalLoop()
{
    if (pin_ && Modal.PanelsDestroyed == panelsDestroyed_)
        FreeLibrary(pin_);
}

void NotePanelDestroyed()
{
    ++Modal.PanelsDestroyed;
}
