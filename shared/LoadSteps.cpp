/* A module built for another machine is named as such before LoadLibraryW
 * is asked: the loader would only say "error 193", which means nothing to
 * most authors. */
#include "LoadSteps.h"

#include "Paths.h" // ReadFileBytes
#include "PeImage.h"

#include <stdio.h>

StepResult LoadStep(const std::wstring &path, PluginSteps &plugin)
{
    std::string bytes;
    if (GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES || !ReadFileBytes(path, bytes))
        return {false, "no such file"};
    PeImage image = ReadPeImage(bytes);
    if (image.Valid && image.Machine != PE_MACHINE_I386)
        return {false, "a " + MachineName(image.Machine) + " module, which a 32-bit host cannot load: build it "
                                                            "for 32-bit x86"};
    plugin.Module = LoadLibraryW(path.c_str());
    if (!plugin.Module) {
        char text[80];
        snprintf(text, sizeof text, "not a loadable 32-bit DLL (error %lu)", (unsigned long)GetLastError());
        return {false, text};
    }
    return {true, ""};
}

StepResult ExportsStep(PluginSteps &plugin)
{
    plugin.Info = (const void *)GetProcAddress(plugin.Module, WPN_EXPORT_INFO);
    plugin.Initialize = (const void *)GetProcAddress(plugin.Module, WPN_EXPORT_INITIALIZE);
    if (plugin.Info && plugin.Initialize)
        return {true, "WPN_GetPluginInfo, WPN_Initialize"};
    return {false, std::string("missing ") + (plugin.Info ? "" : "WPN_GetPluginInfo") +
                       (!plugin.Info && !plugin.Initialize ? " and " : "") +
                       (plugin.Initialize ? "" : "WPN_Initialize")};
}

StepResult InfoByteStep(PluginSteps &plugin, InfoCaller call)
{
    plugin.InfoValue = call(plugin.Info);
    char text[80];
    const unsigned long info = plugin.InfoValue;
    if (WPN_INFO_ACCEPTED(plugin.InfoValue)) {
        snprintf(text, sizeof text, "0x%04lX has low byte 0x01", info);
        return {true, text};
    }
    snprintf(text, sizeof text, "0x%04lX has low byte 0x%02lX, must be 0x01", info, info & 0xFF);
    return {false, text};
}
