/* TuftlingPanel through the panel contract: exports, WPN_Initialize, the
 * calling convention, and what PanelCreate asks of its host. */
#include "doctest.h"
#include "ObjectCount.h"
#include "PanelHarness.h"
#include "StdcallProbe.h"
#include "TestSupport.h"

#include <string.h>

TEST_CASE("both export names lead to one entry each")
{
    HMODULE module = LoadLibraryW((ProgramFolder() + L"TuftlingPanel.wpn").c_str());
    REQUIRE(module);
    FARPROC info = GetProcAddress(module, "WPN_GetPluginInfo");
    FARPROC init = GetProcAddress(module, "WPN_Initialize");
    CHECK((info != nullptr));
    CHECK((init != nullptr));
    CHECK((GetProcAddress(module, "_WPN_GetPluginInfo@0") == info));
    CHECK((GetProcAddress(module, "_WPN_Initialize@4") == init));
    FreeLibrary(module);
}

TEST_CASE("info value is 0x6701 and WPN_Initialize fills exactly four slots")
{
    HMODULE module = LoadLibraryW((ProgramFolder() + L"TuftlingPanel.wpn").c_str());
    REQUIRE(module);
    int32_t moved = 1;
    uint32_t info = CallMeasuringStack((const void *)GetProcAddress(module, "WPN_GetPluginInfo"),
                                       nullptr, 0, &moved);
    CHECK(info == 0x6701);
    CHECK(moved == 0);

    // A record the plug-in must not read or write beyond its four slots.
    PanelCallbacks before;
    memset(&before, 0xA5, sizeof before);
    before.StructSize = PANEL_CALLBACKS_SIZE;
    before.PanelFilter = nullptr;
    PanelCallbacks after = before;
    uint32_t arg = (uint32_t)(uintptr_t)&after;
    moved = 1;
    uint32_t result = CallMeasuringStack((const void *)GetProcAddress(module, "WPN_Initialize"), &arg, 1, &moved);
    CHECK(result == 0);
    CHECK(moved == 0);

    MEMORY_BASIC_INFORMATION image;
    auto inModule = [&](const void *p) {
        return VirtualQuery(p, &image, sizeof image) && image.AllocationBase == (void *)module;
    };
    CHECK(inModule((const void *)after.PanelCreate));
    CHECK(inModule((const void *)after.PanelDestroy));
    CHECK(inModule((const void *)after.PanelTick));
    CHECK(inModule((const void *)after.PanelContextMenu));
    CHECK(after.StructSize == before.StructSize);
    CHECK((after.PanelFilter == nullptr));
    CHECK(memcmp(after.Unused, before.Unused, sizeof after.Unused) == 0);
    FreeLibrary(module);
}

TEST_CASE("callbacks remove their own arguments")
{
    if (!STDCALL_PROBE)
        return;
    TempDir dir;
    PanelHarness host;
    REQUIRE(host.Error().Step == LoadStep::None);
    host.SetSettingsFolder(dir.Ansi());
    ParentWindow parent;
    int32_t moved = 1;

    uint32_t args[4] = {(uint32_t)(uintptr_t)host.Host(), (uint32_t)(uintptr_t)parent.get(), 0, 0};
    HWND panel = (HWND)(uintptr_t)CallMeasuringStack((const void *)host.Callbacks().PanelCreate, args, 2, &moved);
    CHECK(moved == 0);
    REQUIRE(panel);

    args[1] = (uint32_t)(uintptr_t)panel;
    CHECK(CallMeasuringStack((const void *)host.Callbacks().PanelTick, args, 2, &moved) == 0);
    CHECK(moved == 0);
    CHECK(CallMeasuringStack((const void *)host.Callbacks().PanelDestroy, args, 2, &moved) == 0);
    CHECK(moved == 0);
    CHECK_FALSE(IsWindow(panel));
}

TEST_CASE("PanelCreate asks for the settings folder once and gives the text back once")
{
    TempDir dir;
    PanelHarness host;
    host.SetSettingsFolder(dir.Ansi());
    std::string recordBefore((const char *)host.Host(), sizeof(HostServices));
    ParentWindow parent;

    HWND panel = host.Create(parent.get());
    REQUIRE(panel);
    CHECK(GetParent(panel) == parent.get());
    CHECK(host.Log().Requests == 1);
    REQUIRE(host.Log().Calls.size() == 1);
    CHECK(host.Log().Calls[0].Code == SVC_FOLDER);
    CHECK(host.Log().Calls[0].Value == SVC_FOLDER_SETTINGS);
    CHECK(host.Log().Frees == 1);
    REQUIRE(host.Log().HandedOut.size() == 1);
    REQUIRE(host.Log().Freed.size() == 1);
    CHECK(host.Log().Freed[0] == host.Log().HandedOut[0]);

    CHECK(host.Callbacks().PanelTick(host.Host(), panel) == 0);
    host.Destroy();
    CHECK(host.Log().Requests == 1);
    CHECK(host.Log().Frees == 1);
    CHECK(host.Log().Allocs == 0);
    CHECK(host.Log().Others == 0);
    CHECK(std::string((const char *)host.Host(), sizeof(HostServices)) == recordBefore);
}

TEST_CASE("without a folder from the host nothing is freed and the panel still works")
{
    PanelHarness host;
    host.ClearSettingsFolder();
    ParentWindow parent;
    HWND panel = host.Create(parent.get());
    CHECK(panel);
    CHECK(IsWindow(panel));
    CHECK(host.Log().Requests == 1);
    CHECK(host.Log().Frees == 0);
    host.Destroy();
    CHECK_FALSE(IsWindow(panel));
}

TEST_CASE("a failed or repeated PanelCreate leaks nothing")
{
    TempDir dir;
    PanelHarness host;
    host.SetSettingsFolder(dir.Ansi());
    ParentWindow parent;
    WarmUpGdi();
    // Warm the module's own first-use objects with one whole panel.
    host.Create(parent.get());
    host.Destroy();
    DeleteFileW((dir / L"TuftlingPanel.ini").c_str());
    int gdiBefore = CountGdiObjects();
    int windowsBefore = CountThreadWindows();
    // A parent that is no window: surface and font are made, the window is not.
    const HWND noWindow = (HWND)(uintptr_t)0x00BADBAD;

    SUBCASE("PanelDestroy releases what a failed PanelCreate made")
    {
        CHECK(host.Create(noWindow) == nullptr);
        CHECK(CountGdiObjects() > gdiBefore);
        host.Destroy();
        CHECK(CountGdiObjects() == gdiBefore);
        CHECK(CountThreadWindows() == windowsBefore);
        // The first run's file is written even though the panel never stood.
        CHECK(IniValue(dir / L"TuftlingPanel.ini", "Tuftling", "HideTimer") == "180000");
    }
    SUBCASE("each PanelCreate releases what the one before made, failed or not")
    {
        CHECK(host.Create(noWindow) == nullptr);
        HWND first = host.Create(parent.get());
        HWND second = host.Create(parent.get());
        CHECK(first);
        CHECK(second);
        CHECK(CountThreadWindows() == windowsBefore + 1); // one panel window stands
        host.Destroy();
        CHECK_FALSE(IsWindow(second));
        CHECK(CountGdiObjects() == gdiBefore);
        CHECK(CountThreadWindows() == windowsBefore);
    }
}
