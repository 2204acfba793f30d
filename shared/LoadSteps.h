/* The steps every panel host takes before it initialises a plug-in: the file
 * is there, is a 32-bit module and loads; it has both exports under their
 * plain names; and the low byte of WPN_GetPluginInfo's answer is 1. wpncheck
 * reports each as a check of its own, bridgecheck asks them of the plug-in
 * each adaptor copy will look for. Each step says whether it passed and
 * what it saw, in the words of wpncheck's lines (the load step's words
 * follow the path, and are empty when it passed). */
#pragma once
#include "WpnContract.h"

#include <string>

struct StepResult {
    bool Passed;
    std::string Detail;
};

/* The module and exports as the steps found them. The caller unloads Module. */
struct PluginSteps {
    HMODULE Module = nullptr;
    const void *Info = nullptr, *Initialize = nullptr;
    uint32_t InfoValue = 0;
};

/* How WPN_GetPluginInfo is called (wpncheck measures the stack over it). */
typedef uint32_t (*InfoCaller)(const void *info);

StepResult LoadStep(const std::wstring &path, PluginSteps &plugin);
StepResult ExportsStep(PluginSteps &plugin);
StepResult InfoByteStep(PluginSteps &plugin, InfoCaller call);
