/* The load benchmark's floor: the smallest panel plug-in with the imports
 * TuftlingPanel has (KERNEL32, USER32, GDI32, msvcrt) and both exports, built
 * with the same compiler and link options. Loading it, asking its information,
 * initialising it and unloading it is what the platform's loader costs for a
 * plug-in of that shape; what TuftlingPanel adds beyond it is its own. */
#include "WpnContract.h"

#include <string.h>

namespace {

// A panel that draws nothing; it exists so that the four libraries are imported.
HWND WPN_CALL PanelCreate(HostServices *, HWND parent)
{
    static const char name[] = "STATIC";
    if (!GetStockObject(WHITE_BRUSH) || strlen(name) == 0)
        return nullptr;
    return CreateWindowExA(0, name, "", WS_CHILD, 0, 0, 1, 1, parent, nullptr, nullptr, nullptr);
}

int32_t WPN_CALL PanelDestroy(HostServices *, HWND panel)
{
    DestroyWindow(panel);
    return 0;
}

} // namespace

extern "C" uint32_t WPN_CALL WPN_GetPluginInfo(void)
{
    return 0x6701; // low byte 1: accepted
}

extern "C" int32_t WPN_CALL WPN_Initialize(PanelCallbacks *callbacks)
{
    callbacks->PanelCreate = PanelCreate;
    callbacks->PanelDestroy = PanelDestroy;
    return 0;
}
