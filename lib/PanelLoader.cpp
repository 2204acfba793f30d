/* The full load that chains the steps, for the hosts that need nothing in
 * between, and the file step it starts with. */
#include "PanelLoader.h"

LoadFailure FileStep(const wchar_t *path)
{
    LoadFailure failure;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES)
        failure.Step = LoadStep::File;
    return failure;
}

LoadFailure LoadPanelPlugin(const wchar_t *path, PanelCallbacks *callbacks, LoadedPlugin *plugin)
{
    *plugin = LoadedPlugin();
    LoadFailure failure = FileStep(path);
    if (failure || (failure = ModuleStep(path, &plugin->Module)))
        return failure;
    if (!(failure = ExportsStep(plugin->Module, &plugin->Info, &plugin->Initialize)) &&
        !(failure = InfoStep(plugin->InfoValue = plugin->Info()))) {
        PrepareCallbacks(callbacks);
        failure = InitialiseStep(plugin->Initialize(callbacks));
    }
    if (failure)
        UnloadPanelPlugin(plugin);
    return failure;
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
