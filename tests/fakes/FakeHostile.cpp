/* Hostile panel plug-ins for the adaptor's tests: real DLLs that follow the
 * contract's shape but answer with odd values. One source, built once per
 * behaviour:
 *   FAKE_INFO_HIGH_BITS  WPN_GetPluginInfo answers 0xFFFFFF01: only the low
 *                        byte counts, so this one is used like any other;
 *   FAKE_INIT_GARBAGE    WPN_Initialize answers 0xDEADBEEF: refused;
 *   FAKE_STRAY_WINDOW    PanelCreate answers a handle that is no child of
 *                        the parent, chosen by TUFT_FAKE_STRAY in the
 *                        environment: "random" (no window at all), "parent"
 *                        (the parent itself) or "popup" (a top-level window
 *                        of its own, destroyed again in PanelDestroy).
 * Calls are recorded in the same FakeLog as the well-behaved fakes. */
#include "FakeLog.h"
#include "WpnContract.h"

#include <string.h>

namespace {

FakeLogMapping Log;

HWND MakePanel(HWND parent)
{
#if defined(FAKE_STRAY_WINDOW)
    // A handle value no window has: Wine and Windows never hand out index 3.
    const uintptr_t NoSuchWindow = 0x7FFF0003;
    char mode[16] = {};
    GetEnvironmentVariableA("TUFT_FAKE_STRAY", mode, sizeof mode);
    if (lstrcmpA(mode, "parent") == 0)
        return parent;
    if (lstrcmpA(mode, "popup") == 0)
        return CreateWindowExA(WS_EX_TOOLWINDOW, "STATIC", "stray popup", WS_POPUP | WS_VISIBLE, 0, 0, 60, 40,
                               nullptr, nullptr, nullptr, nullptr);
    return (HWND)NoSuchWindow;
#else
    return CreateWindowExA(0, "STATIC", "hostile fake", WS_CHILD | WS_VISIBLE, 0, 0, 120, 80, parent, nullptr,
                           nullptr, nullptr);
#endif
}

HWND WPN_CALL PanelCreate(HostServices *host, HWND parent)
{
    FakeLog *log = Log.Get();
    ++log->CreateCalls;
    log->CreateHost = (uintptr_t)host;
    log->CreateParent = parent;
    log->Panel = MakePanel(parent);
    return log->Panel;
}

int32_t WPN_CALL PanelDestroy(HostServices *host, HWND panel)
{
    FakeLog *log = Log.Get();
    ++log->DestroyCalls;
    log->DestroyHost = (uintptr_t)host;
    log->DestroyWindowArg = panel;
    // Only a window this plug-in made is its to destroy; never the parent.
    if (panel && panel == log->Panel && panel != log->CreateParent && IsWindow(panel))
        DestroyWindow(panel);
    return 0;
}

int32_t WPN_CALL PanelTick(HostServices *host, HWND panel)
{
    FakeLog *log = Log.Get();
    ++log->TickCalls;
    log->TickHost = (uintptr_t)host;
    log->TickWindow = panel;
    return 0;
}

} // namespace

extern "C" uint32_t WPN_CALL WPN_GetPluginInfo(void)
{
    ++Log.Get()->InfoCalls;
#if defined(FAKE_INFO_HIGH_BITS)
    return 0xFFFFFF01u;
#else
    return 0x0001;
#endif
}

extern "C" int32_t WPN_CALL WPN_Initialize(PanelCallbacks *callbacks)
{
    FakeLog *log = Log.Get();
    ++log->InitCalls;
    log->CallbacksAddress = (uintptr_t)callbacks;
    log->CallbacksSizeSeen = callbacks->StructSize;
    callbacks->PanelCreate = PanelCreate;
    callbacks->PanelDestroy = PanelDestroy;
    callbacks->PanelTick = PanelTick;
#if defined(FAKE_INIT_GARBAGE)
    return (int32_t)0xDEADBEEFu;
#else
    return 0;
#endif
}
