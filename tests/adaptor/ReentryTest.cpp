/* The adaptor under a host that comes back while the plug-in's code runs: it
 * makes the panel again inside PanelDestroy, destroys it inside PanelCreate,
 * destroys it and lets go of the instance inside a control's own loop, and
 * lives through a plug-in that faults in its tick. Each case checks that the
 * process lives on, that the plug-in's code got back to itself, when its
 * module goes, and that no window is left. */
#include "AdaptorHarness.h"
#include "ModalProbe.h"
#include "ObjectCount.h"
#include "doctest.h"

#include <functional>

namespace {

const DWORD Deadline = 15000;

/* Runs `inside` once from within the first message box the plug-in opens,
 * then closes the box. */
std::function<bool()> InsideBox(std::function<void()> inside)
{
    return [inside] {
        HWND box = FindThreadWindow("#32770");
        if (!box)
            return false;
        inside();
        PostMessageW(box, WM_COMMAND, IDOK, 0);
        return true;
    };
}

int ChildrenOf(HWND parent)
{
    int count = 0;
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        ++count;
    return count;
}

/* A host's parent window that runs `OnNotify` once, on the first
 * WM_PARENTNOTIFY of the event it names (WM_CREATE or WM_DESTROY). */
class NotifyingParent {
public:
    NotifyingParent()
    {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = Proc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.lpszClassName = L"ReentryParent";
        RegisterClassW(&wc);
        window_ = CreateWindowExW(0, L"ReentryParent", L"parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10, 400,
                                  300, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    }
    ~NotifyingParent()
    {
        Event = 0;
        DestroyWindow(window_);
    }
    HWND get() const { return window_; }

    static UINT Event;
    static std::function<void()> OnNotify;

private:
    static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
    {
        if (message == WM_PARENTNOTIFY && Event && LOWORD(wParam) == Event) {
            Event = 0;
            OnNotify();
        }
        return DefWindowProcW(window, message, wParam, lParam);
    }
    HWND window_;
};
UINT NotifyingParent::Event;
std::function<void()> NotifyingParent::OnNotify;

} // namespace

TEST_CASE("the host makes the panel again inside PanelDestroy's box: the new panel lives and goes in its turn")
{
    FakeLogView log;
    ParentWindow parent;
    int windowsBefore = CountThreadWindows();
    {
        Hosted hosted(L"Again.dll", L"FakeModalDestroy.wpn", parent.get());
        REQUIRE(hosted.Panel);
        OstrelTestSetMessageBoxAnswer(0); // a real box, with a modal loop of its own
        HWND again = nullptr;
        ModalProbe host(InsideBox([&] { again = hosted.Refs.Panel->CreatePanel(parent.get()); }));
        CHECK(hosted.Refs.Panel->DestroyPanel());
        CHECK(log->BoxesReturned == 1);
        REQUIRE(again);
        CHECK_FALSE(IsWindow(hosted.Panel));
        CHECK(IsWindow(again));
        CHECK(hosted.Deploy.PluginLoaded());
        CHECK(log->Unloads == 0);
        LONG ticks = log->TickCalls;
        CHECK(PumpUntil([&] { return log->TickCalls >= ticks + 2; }, Deadline));
        CHECK(log->TickWindow == again);
        RedrawWindow(again, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW); // through its procedure

        OstrelTestSetMessageBoxAnswer(IDOK); // this time the box answers at once
        CHECK(hosted.Refs.Panel->DestroyPanel());
        CHECK(log->DestroyCalls == 2);
        CHECK_FALSE(IsWindow(again));
        CHECK_FALSE(hosted.Deploy.PluginLoaded());
        CHECK(log->Unloads == 1);
    }
    CHECK(ChildrenOf(parent.get()) == 0);
    CHECK(CountThreadWindows() == windowsBefore);
    CHECK_NOTHING_OUT();
}

TEST_CASE("the host destroys the panel inside PanelCreate's box: CreatePanel gives null and leaves nothing")
{
    FakeLogView log;
    ParentWindow parent;
    int windowsBefore = CountThreadWindows();
    {
        Deployment deployment(L"Undone.dll", L"FakeModalCreate.wpn");
        AdaptorRefs refs(deployment);
        REQUIRE(refs.Plugin->Initialize());
        OstrelTestSetMessageBoxAnswer(0);
        ModalProbe host(InsideBox([&] {
            CHECK(refs.Panel->DestroyPanel());
            CHECK(deployment.PluginLoaded()); // PanelCreate still runs
        }));
        CHECK(refs.Panel->CreatePanel(parent.get()) == nullptr);
        CHECK(log->BoxesReturned == 1);
        CHECK(log->DestroyCalls == 1);
        CHECK_FALSE(IsWindow(log->Panel));
        CHECK_FALSE(deployment.PluginLoaded());
        CHECK(log->Unloads == 1);
        PumpFor(1500);
        CHECK(log->TickCalls == 0);
        CHECK(refs.Panel->DestroyPanel());
        CHECK(log->DestroyCalls == 1);
    }
    CHECK(ChildrenOf(parent.get()) == 0);
    CHECK(CountThreadWindows() == windowsBefore);
    CHECK_NOTHING_OUT();
}

TEST_CASE("the host destroys the panel and lets go of the instance inside a box of the panel's own control")
{
    FakeLogView log;
    ParentWindow parent;
    int windowsBefore = CountThreadWindows();
    {
        Hosted hosted(L"Control.dll", L"FakeChildBox.wpn", parent.get());
        REQUIRE(IsWindow(log->Child));
        OstrelTestSetMessageBoxAnswer(0);
        AdaptorRefs &refs = hosted.Refs;
        int lastRelease = -1;
        ModalProbe host(InsideBox([&] {
            CHECK(refs.Panel->DestroyPanel());
            CHECK_FALSE(IsWindow(log->Child));
            refs.Base->Release();
            refs.Plugin->Release();
            lastRelease = refs.Panel->Release();
            refs.Base = nullptr, refs.Plugin = nullptr, refs.Panel = nullptr;
            CHECK(hosted.Deploy.PluginLoaded()); // the control's procedure is still running
        }));
        SendMessageW(log->Child, WM_CONTEXTMENU, (WPARAM)log->Child, -1);
        CHECK(log->BoxesReturned == 1);
        CHECK(lastRelease == 0); // nothing of the adaptor stood in that call
        CHECK(PumpUntil([&] { return log->Unloads > 0; }, Deadline));
        CHECK(log->Unloads == 1);
        CHECK_FALSE(hosted.Deploy.PluginLoaded());
    }
    CHECK(ChildrenOf(parent.get()) == 0);
    CHECK(CountThreadWindows() == windowsBefore);
    CHECK_NOTHING_OUT();
}

TEST_CASE("a plug-in that faults in its first tick is ticked on, unloaded by DestroyPanel, and the last Release gives 0")
{
    FakeLogView log;
    ParentWindow parent;
    int windowsBefore = CountThreadWindows();
    {
        Hosted hosted(L"Faulty.dll", L"FakeFaultTick.wpn", parent.get());
        REQUIRE(hosted.Panel);
        REQUIRE(PumpUntil([&] { return log->TickCalls >= 1; }, Deadline)); // the fault
        LONG ticks = log->TickCalls;
        PumpFor(3500);
        CHECK(log->TickCalls - ticks >= 2);
        CHECK(log->TickCalls - ticks <= 4);
        CHECK(hosted.Refs.Panel->DestroyPanel());
        CHECK(log->DestroyCalls == 1);
        CHECK_FALSE(IsWindow(hosted.Panel));
        CHECK_FALSE(hosted.Deploy.PluginLoaded());
        CHECK(log->Unloads == 1);
        AdaptorRefs &refs = hosted.Refs;
        CHECK(refs.Base->Release() == 2);
        CHECK(refs.Plugin->Release() == 1);
        CHECK(refs.Panel->Release() == 0);
        refs.Base = nullptr, refs.Plugin = nullptr, refs.Panel = nullptr;
    }
    CHECK(ChildrenOf(parent.get()) == 0);
    CHECK(CountThreadWindows() == windowsBefore);
    CHECK_NOTHING_OUT();
}

TEST_CASE("TuftlingPanel under a parent that destroys or makes the panel again on WM_PARENTNOTIFY")
{
    int windowsBefore = CountThreadWindows();
    for (UINT event : {WM_CREATE, WM_DESTROY}) {
        CAPTURE(event);
        NotifyingParent parent;
        Deployment deployment(L"TuftlingPanel.dll", L"TuftlingPanel.wpn");
        AdaptorRefs refs(deployment);
        REQUIRE(refs.Plugin->Initialize());
        if (event == WM_CREATE) {
            NotifyingParent::OnNotify = [&] { CHECK(refs.Panel->DestroyPanel()); };
            NotifyingParent::Event = WM_CREATE;
            CHECK(refs.Panel->CreatePanel(parent.get()) == nullptr);
            CHECK(NotifyingParent::Event == 0);
            CHECK(ChildrenOf(parent.get()) == 0);
            CHECK_FALSE(deployment.PluginLoaded());
            PumpFor(1500);
        } else {
            HWND first = refs.Panel->CreatePanel(parent.get());
            REQUIRE(first);
            HWND again = nullptr;
            NotifyingParent::OnNotify = [&] { again = refs.Panel->CreatePanel(parent.get()); };
            NotifyingParent::Event = WM_DESTROY;
            CHECK(refs.Panel->DestroyPanel());
            REQUIRE(again);
            CHECK_FALSE(IsWindow(first));
            CHECK(Narrow(ClassOf(again)) == "Wendrake Plugin - TuftlingPanel");
            CHECK(deployment.PluginLoaded());
            PumpFor(1500); // ticks, paints and the mascot's own timers
            RedrawWindow(again, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            CHECK(refs.Panel->DestroyPanel());
            CHECK_FALSE(IsWindow(again));
            CHECK(ChildrenOf(parent.get()) == 0);
            CHECK_FALSE(deployment.PluginLoaded());
        }
        refs.ReleaseAll();
        CHECK_NOTHING_OUT();
    }
    CHECK(CountThreadWindows() == windowsBefore);
}
