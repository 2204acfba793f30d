#include "WpnLoader.h"

#include <string.h>

void FillHostServices(HostServices *host, WpnRequestFn request, WpnReservedFn reserved,
                      WpnAllocFn alloc, WpnFreeFn free, WpnShowMessageFn showMessage)
{
    memset(host, 0, sizeof *host);
    host->StructSize = HOST_SERVICES_SIZE;
    host->Request = request;
    host->Reserved = reserved;
    host->Alloc = alloc;
    host->Free = free;
    host->ShowMessage = showMessage;
}

LoadError LoadPanelPlugin(const wchar_t *path, PanelCallbacks *callbacks, LoadedPlugin *plugin)
{
    *plugin = LoadedPlugin();
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        return LoadError::NoFile;
    plugin->Module = LoadLibraryW(path);
    if (!plugin->Module)
        return LoadError::NotLoadable;
    plugin->Info = (WpnGetPluginInfoFn)(void *)GetProcAddress(plugin->Module, WPN_EXPORT_INFO);
    plugin->Initialize = (WpnInitializeFn)(void *)GetProcAddress(plugin->Module, WPN_EXPORT_INITIALIZE);
    if (!plugin->Info || !plugin->Initialize) {
        UnloadPanelPlugin(plugin);
        return LoadError::MissingExport;
    }
    plugin->InfoValue = plugin->Info();
    if (!WPN_INFO_ACCEPTED(plugin->InfoValue)) {
        UnloadPanelPlugin(plugin);
        return LoadError::InfoRejected;
    }
    memset(callbacks, 0, sizeof *callbacks);
    callbacks->StructSize = PANEL_CALLBACKS_SIZE;
    plugin->InitResult = plugin->Initialize(callbacks);
    if (plugin->InitResult != 0) {
        UnloadPanelPlugin(plugin);
        return LoadError::InitFailed;
    }
    return LoadError::None;
}

void UnloadPanelPlugin(LoadedPlugin *plugin)
{
    if (plugin->Module) {
        FreeLibrary(plugin->Module);
        plugin->Module = nullptr;
    }
    plugin->Info = nullptr;
    plugin->Initialize = nullptr;
}

const char *DescribeLoadError(LoadError error)
{
    switch (error) {
    case LoadError::None: return "loaded";
    case LoadError::NoFile: return "no such file";
    case LoadError::NotLoadable: return "not a loadable 32-bit DLL";
    case LoadError::MissingExport: return "missing export WPN_GetPluginInfo or WPN_Initialize";
    case LoadError::InfoRejected: return "WPN_GetPluginInfo: low byte is not 1";
    case LoadError::InitFailed: return "WPN_Initialize returned non-zero";
    }
    return "unknown error";
}
