/* The host side of the panel contract's load, in one place: the steps from
 * the file to WPN_Initialize, each a function of its own that answers with
 * the one failure type, the full load that chains them, and the one function
 * that puts a failure into words. PanelBridge, the hosts, the checkers, the
 * tests' harness and the benchmarks all load through it.
 *
 * PanelBridge ships with this code in it: the steps and the full load use
 * neither the C++ library's strings nor its streams, and the two steps that
 * do (the machine read, the words) are in files of their own, so that a
 * module that does not call them does not link them. */
#pragma once
#include "WpnContract.h"

/* The steps, in the order a host takes them. */
enum class LoadStep : uint8_t {
    None,       // no step failed: the plug-in is loaded
    File,       // no file at the path, or one that cannot be read
    Machine,    // a module built for another machine
    Module,     // LoadLibraryW refused it
    Exports,    // WPN_GetPluginInfo or WPN_Initialize missing
    Info,       // the low byte of WPN_GetPluginInfo's answer is not 1
    Initialise, // WPN_Initialize answered non-zero
};

enum : uint8_t { MISSING_INFO = 1, MISSING_INITIALIZE = 2 };

/* Which step failed and what it saw there. */
struct LoadFailure {
    LoadStep Step = LoadStep::None;
    /* Machine: the PE machine; Module: LoadLibraryW's system error; Info:
     * WPN_GetPluginInfo's answer; Initialise: WPN_Initialize's result. */
    uint32_t Seen = 0;
    uint8_t Missing = 0; // Exports: MISSING_INFO, MISSING_INITIALIZE or both

    explicit operator bool() const { return Step != LoadStep::None; }
};

/* The steps. None of them unloads what an earlier one loaded: the caller
 * owns the module from ModuleStep on. (FileStep in PanelLoader.cpp, the
 * others in LoadSteps.cpp) */
LoadFailure FileStep(const wchar_t *path);
/* Reads the file's header: a module for another machine is named as such
 * before LoadLibraryW is asked, which would only say "error 193". A file
 * that cannot be read fails the File step. (PanelMachine.cpp) */
LoadFailure MachineStep(const wchar_t *path);
LoadFailure ModuleStep(const wchar_t *path, HMODULE *module);
/* Binds both exports, also when one of them is missing. */
LoadFailure ExportsStep(HMODULE module, WpnGetPluginInfoFn *info, WpnInitializeFn *initialize);
/* The two steps that call into the plug-in judge what the call answered and
 * leave the call to the caller: wpncheck measures the stack over it, and
 * PanelBridge keeps no address of the plug-in's code on its stack, where its
 * search for the plug-in's frames (CodeInUse.h) would see a return address.
 * WPN_Initialize is called with a record made ready by PrepareCallbacks. */
LoadFailure InfoStep(uint32_t info);
LoadFailure InitialiseStep(int32_t result);

/* Fills the host record: zeroed, StructSize, the five services. */
void FillHostServices(HostServices *host, WpnRequestFn request, WpnReservedFn reserved, WpnAllocFn alloc,
                      WpnFreeFn free, WpnShowMessageFn showMessage);
/* Zeroes the callbacks record and sets its StructSize. */
void PrepareCallbacks(PanelCallbacks *callbacks);

struct LoadedPlugin {
    HMODULE Module = nullptr;
    WpnGetPluginInfoFn Info = nullptr;
    WpnInitializeFn Initialize = nullptr;
    uint32_t InfoValue = 0;
};

/* The full load: file, module, exports, info byte, callbacks record,
 * WPN_Initialize. The host record is the caller's, filled before. On any
 * failure the module is unloaded again and plugin->Module is null. */
LoadFailure LoadPanelPlugin(const wchar_t *path, PanelCallbacks *callbacks, LoadedPlugin *plugin);

/* FreeLibrary and forget both exports; safe to call twice. */
void UnloadPanelPlugin(LoadedPlugin *plugin);

/* A failure in the words a plug-in's author reads ("loaded" for none).
 * (LoadFailureText.cpp) */
struct LoadFailureText {
    char Text[128];
};
LoadFailureText DescribeLoadFailure(const LoadFailure &failure);
