/* The module's entry points: DllMain and the two exports of the panel
 * contract. DllMain only records the instance handle. */
#include "Lifecycle.h"
#include "PanelState.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH)
        Module.Instance = instance;
    return TRUE;
}

extern "C" uint32_t WPN_CALL WPN_GetPluginInfo(void)
{
    return PLUGIN_INFO;
}

extern "C" int32_t WPN_CALL WPN_Initialize(PanelCallbacks *callbacks)
{
    FillCallbacks(callbacks);
    return 0;
}
