/* A host of the older kind that destroys the panel and unloads the module
 * inside one of the plug-in's own modal loops (its menu, owned by the panel
 * or by the host's window, and its about box): the loop ends, the plug-in's
 * code returns into a module that stays loaded, and no window of the plug-in
 * is left. The next panel made from the module gives the loop's reference
 * back, so once the host lets go of it again the module unloads. */
#include "doctest.h"
#include "ModalProbe.h"
#include "ObjectCount.h"
#include "PanelHarness.h"
#include "TestSupport.h"

TEST_CASE("a panel destroyed and unloaded inside its menu or about box: the loop ends, the module stays loaded "
          "until the next panel")
{
    struct Road {
        const char *What, *LoopClass;
        void (*Open)(PanelHarness &host, HWND panel, HWND parent);
    } roads[] = {
        {"right click", "#32768", [](PanelHarness &, HWND p, HWND) { SendMessageW(p, WM_CONTEXTMENU, (WPARAM)p, -1); }},
        {"PanelContextMenu", "#32768",
         [](PanelHarness &h, HWND, HWND parent) { h.Callbacks().PanelContextMenu(h.Host(), parent, 0, 0); }},
        {"about box", "#32770", [](PanelHarness &, HWND p, HWND) { SendMessageW(p, WM_COMMAND, 20001, 0); }},
    };
    for (const Road &road : roads) {
        CAPTURE(road.What);
        TempDir dir;
        ParentWindow parent;
        int windowsBefore = CountThreadWindows();
        PanelHarness host;
        host.SetSettingsFolder(dir.Ansi());
        HWND panel = host.Create(parent.get());
        REQUIRE(panel);
        // The loop must end by itself once the host has let go; one still
        // standing a while later is noted and ended.
        bool outlived = false;
        DWORD letGo = 0;
        ModalProbe probe([&] {
            if (host.Plugin().Module) {
                if (!FindThreadWindow(road.LoopClass))
                    return false;
                host.Destroy();
                host.Unload();
                letGo = GetTickCount();
                return false;
            }
            if (GetTickCount() - letGo < 3000)
                return false;
            outlived = true;
            EndMenu();
            if (HWND box = FindThreadWindow("#32770"))
                PostMessageW(box, WM_COMMAND, IDCANCEL, 0);
            return true;
        });
        road.Open(host, panel, parent.get());
        CHECK_FALSE(outlived);
        CHECK(host.Plugin().Module == nullptr);
        const std::wstring file = ProgramFolder() + L"TuftlingPanel.wpn";
        CHECK(GetModuleHandleW(file.c_str()) != nullptr);
        CHECK(CountThreadWindows() == windowsBefore);
        {
            PanelHarness next;
            REQUIRE(next.Error().Step == LoadStep::None);
            next.SetSettingsFolder(dir.Ansi());
            CHECK(next.Create(parent.get()));
            next.Destroy();
            next.Unload();
        }
        CHECK(GetModuleHandleW(file.c_str()) == nullptr);
    }
}
