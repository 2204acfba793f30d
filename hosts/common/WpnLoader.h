/* The host side of the panel contract, steps 1 to 4: load a panel plug-in,
 * bind and check its exports, and initialise it. Shared by the panel hosts and
 * the tests; each caller owns its host record and decides where it lives. */
#pragma once
#include "WpnContract.h"

enum class LoadError { None, NoFile, NotLoadable, MissingExport, InfoRejected, InitFailed };

struct LoadedPlugin {
    HMODULE Module = nullptr;
    WpnGetPluginInfoFn Info = nullptr;
    WpnInitializeFn Initialize = nullptr;
    uint32_t InfoValue = 0;
    int32_t InitResult = 0;
};

/* Fills the host record (zeroed, StructSize, the five services). */
void FillHostServices(HostServices *host, WpnRequestFn request, WpnReservedFn reserved,
                      WpnAllocFn alloc, WpnFreeFn free, WpnShowMessageFn showMessage);

/* Loads and initialises the plug-in at path; callbacks is zeroed and sized
 * before WPN_Initialize. On any failure the module is unloaded again and
 * plugin->Module is null. */
LoadError LoadPanelPlugin(const wchar_t *path, PanelCallbacks *callbacks, LoadedPlugin *plugin);

/* FreeLibrary and forget both exports; safe to call twice. */
void UnloadPanelPlugin(LoadedPlugin *plugin);

/* One line for a person: what went wrong. */
const char *DescribeLoadError(LoadError error);
