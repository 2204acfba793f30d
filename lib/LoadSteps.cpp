/* The load steps a host takes once the file is found: load the module, bind
 * the exports, ask the info byte, fill the records, initialise. Each step sees
 * only what it is given; which step failed and what it saw goes back in the
 * failure, and the caller decides what to unload. PanelBridge calls these and
 * nothing else of the loader, so they sit in a file of their own. */
#include "PanelLoader.h"

#include <string.h>

LoadFailure ModuleStep(const wchar_t *path, HMODULE *module)
{
    LoadFailure failure;
    *module = LoadLibraryW(path);
    if (!*module) {
        failure.Step = LoadStep::Module;
        failure.Seen = GetLastError();
    }
    return failure;
}

LoadFailure ExportsStep(HMODULE module, WpnGetPluginInfoFn *info, WpnInitializeFn *initialize)
{
    LoadFailure failure;
    *info = (WpnGetPluginInfoFn)(void *)GetProcAddress(module, WPN_EXPORT_INFO);
    *initialize = (WpnInitializeFn)(void *)GetProcAddress(module, WPN_EXPORT_INITIALIZE);
    failure.Missing = (*info ? 0 : MISSING_INFO) | (*initialize ? 0 : MISSING_INITIALIZE);
    if (failure.Missing)
        failure.Step = LoadStep::Exports;
    return failure;
}

LoadFailure InfoStep(uint32_t info)
{
    LoadFailure failure;
    if (!WPN_INFO_ACCEPTED(info)) {
        failure.Step = LoadStep::Info;
        failure.Seen = info;
    }
    return failure;
}

LoadFailure InitialiseStep(int32_t result)
{
    LoadFailure failure;
    if (result != 0) {
        failure.Step = LoadStep::Initialise;
        failure.Seen = (uint32_t)result;
    }
    return failure;
}

void FillHostServices(HostServices *host, WpnRequestFn request, WpnReservedFn reserved, WpnAllocFn alloc,
                      WpnFreeFn free, WpnShowMessageFn showMessage)
{
    memset(host, 0, sizeof *host);
    host->StructSize = HOST_SERVICES_SIZE;
    host->Request = request;
    host->Reserved = reserved;
    host->Alloc = alloc;
    host->Free = free;
    host->ShowMessage = showMessage;
}

void PrepareCallbacks(PanelCallbacks *callbacks)
{
    memset(callbacks, 0, sizeof *callbacks);
    callbacks->StructSize = PANEL_CALLBACKS_SIZE;
}
