/* The module's entry points: DllMain, which records the instance handle, and
 * the factory the newer host calls, exported plain and decorated through
 * PanelBridge.def. */
#include "AdaptorState.h"
#include "WpnAdaptor.h"

#include <new>

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID)
{
    if (reason == DLL_PROCESS_ATTACH) {
        Module.Instance = instance;
        DisableThreadLibraryCalls(instance);
    }
    return TRUE;
}

/* The argument is the host's and means nothing to this adaptor. No exception
 * may leave the module, so running out of memory gives null. */
extern "C" OIBase *WPN_CALL OPI_CreateInstance(uint32_t)
{
    WpnAdaptor *adaptor = new (std::nothrow) WpnAdaptor;
    if (!adaptor)
        return nullptr;
    Ticks.Live = adaptor;
    adaptor->AddRef();
    return static_cast<OIPanel *>(adaptor);
}
