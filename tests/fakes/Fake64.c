/* A panel plug-in with the contract's two exports and sound answers, built
 * for x86-64: a 32-bit host must refuse to load it at all. Built with the
 * x86-64 mingw-w64 compiler by a custom command (tests/fakes/CMakeLists.txt). */
#include <stdint.h>

__declspec(dllexport) uint32_t WPN_GetPluginInfo(void)
{
    return 1;
}

__declspec(dllexport) int32_t WPN_Initialize(void *callbacks)
{
    (void)callbacks;
    return 0;
}
