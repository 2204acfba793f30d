/* The animation state machine, in-process against the panel's own code with a
 * real window and real window timers. Every (state, event) cell of the
 * transition table is one row: the state and frame it leaves, the timers that
 * run afterwards and whether the panel was invalidated. */
#include "doctest.h"
#include "TestSupport.h"

#include "Anim.h"
#include "Commands.h"
#include "Frames.h"
#include "Lifecycle.h"
#include "PanelWindow.h"
#include "Settings.h"

namespace {

enum Event { CLICK, TICK_DANCE, TICK_HIDE, SWITCH_ALWAYS, SWITCH_NOHIDE, OTHER_CODE, STOP };
enum Timers { NONE = 0, DANCE = 1, HIDE = 2, BOTH = 3 };

struct Row {
    const char *name;
    int32_t state, frame;    // before
    int32_t always, hide;    // settings before the event (switches are flipped by the event)
    int timersBefore;
    Event event;
    int32_t wantState, wantFrame;
    int wantTimers;
    bool wantRepaint;
    int32_t wantCountDelta;
};

// Four frames: two dance frames unless a row says otherwise.
const Row Table[] = {
    // Normal
    {"normal click dances", Normal, 0, 0, 1, HIDE, CLICK, Dancing, 2, DANCE, true, 0},
    {"normal dance tick repaints", Normal, 0, 0, 1, HIDE, TICK_DANCE, Normal, 0, HIDE, true, 0},
    {"normal hide tick hides", Normal, 0, 0, 1, HIDE, TICK_HIDE, Hidden, 1, NONE, true, 0},
    {"normal always on dances", Normal, 0, 0, 1, HIDE, SWITCH_ALWAYS, Dancing, 2, DANCE, true, 0},
    {"normal always off repaints", Normal, 0, 1, 1, HIDE, SWITCH_ALWAYS, Normal, 0, HIDE, true, 0},
    {"normal nohide stops countdown", Normal, 0, 0, 1, HIDE, SWITCH_NOHIDE, Normal, 0, NONE, true, 0},
    {"normal nohide off arms countdown", Normal, 0, 0, 0, NONE, SWITCH_NOHIDE, Normal, 0, HIDE, true, 0},
    {"normal other code repaints", Normal, 0, 0, 1, HIDE, OTHER_CODE, Normal, 0, HIDE, true, 0},
    {"normal stop", Normal, 0, 0, 1, HIDE, STOP, Normal, 0, NONE, false, 0},
    // Hidden
    {"hidden click stands", Hidden, 1, 0, 1, NONE, CLICK, Normal, 0, HIDE, true, 0},
    {"hidden click stands, no hiding", Hidden, 1, 0, 0, NONE, CLICK, Normal, 0, NONE, true, 0},
    {"hidden dance tick repaints", Hidden, 1, 0, 1, NONE, TICK_DANCE, Hidden, 1, NONE, true, 0},
    {"hidden hide tick repaints", Hidden, 1, 0, 1, HIDE, TICK_HIDE, Hidden, 1, HIDE, true, 0},
    {"hidden always on dances", Hidden, 1, 0, 1, NONE, SWITCH_ALWAYS, Dancing, 2, DANCE, true, 0},
    {"hidden always off repaints", Hidden, 1, 1, 1, NONE, SWITCH_ALWAYS, Hidden, 1, NONE, true, 0},
    {"hidden nohide stands", Hidden, 1, 0, 1, NONE, SWITCH_NOHIDE, Normal, 0, NONE, true, 0},
    {"hidden nohide off stands, countdown", Hidden, 1, 0, 0, NONE, SWITCH_NOHIDE, Normal, 0, HIDE, true, 0},
    {"hidden other code repaints", Hidden, 1, 0, 1, NONE, OTHER_CODE, Hidden, 1, NONE, true, 0},
    {"hidden stop", Hidden, 1, 0, 1, HIDE, STOP, Hidden, 1, NONE, false, 0},
    // Dancing
    {"dancing click does nothing", Dancing, 2, 0, 1, DANCE, CLICK, Dancing, 2, DANCE, false, 0},
    {"first dance tick counts", Dancing, 2, 0, 1, DANCE, TICK_DANCE, Dancing, 3, DANCE, true, 1},
    {"last dance tick stands", Dancing, 3, 0, 1, DANCE, TICK_DANCE, Normal, 0, HIDE, true, 0},
    {"last dance tick stands, no hiding", Dancing, 3, 0, 0, DANCE, TICK_DANCE, Normal, 0, NONE, true, 0},
    {"last dance tick repeats when always", Dancing, 3, 1, 1, DANCE, TICK_DANCE, Dancing, 2, DANCE, true, 0},
    {"dancing hide tick repaints", Dancing, 2, 1, 1, BOTH, TICK_HIDE, Dancing, 2, BOTH, true, 0},
    {"dancing always on repaints", Dancing, 3, 0, 1, DANCE, SWITCH_ALWAYS, Dancing, 3, DANCE, true, 0},
    {"dancing always off repaints", Dancing, 3, 1, 1, DANCE, SWITCH_ALWAYS, Dancing, 3, DANCE, true, 0},
    {"dancing nohide repaints", Dancing, 2, 0, 1, DANCE, SWITCH_NOHIDE, Dancing, 2, DANCE, true, 0},
    {"dancing other code repaints", Dancing, 2, 0, 1, DANCE, OTHER_CODE, Dancing, 2, DANCE, true, 0},
    {"dancing stop keeps state", Dancing, 3, 0, 1, BOTH, STOP, Dancing, 3, NONE, false, 0},
};

const UINT LONG_PERIOD = 600000; // never fires during a test

// A real window stands in for the panel window; its timers are real.
struct AnimFixture {
    ParentWindow window{220, 220};
    AnimFixture()
    {
        PanelWindow = window.get();
        FrameList = {"normal", "hide", "dance 1", "dance 2"};
        DanceTimer = HideTimer = (int32_t)LONG_PERIOD;
        Count = 0;
        AboutWindow = nullptr;
        Always = 0;
        Hide = 1;
    }
    ~AnimFixture()
    {
        KillTimer(PanelWindow, TIMER_DANCE);
        KillTimer(PanelWindow, TIMER_HIDE);
        PanelWindow = nullptr;
    }

    void Validate()
    {
        UpdateWindow(PanelWindow);
        ValidateRect(PanelWindow, nullptr);
    }
    bool RepaintPending() { return GetUpdateRect(PanelWindow, nullptr, FALSE) != 0; }
    // Destructive: stops the timers it finds running.
    int RunningTimers()
    {
        int t = NONE;
        if (KillTimer(PanelWindow, TIMER_DANCE))
            t |= DANCE;
        if (KillTimer(PanelWindow, TIMER_HIDE))
            t |= HIDE;
        return t;
    }
};

void Fire(Event event)
{
    switch (event) {
    case CLICK: AnimClick(); break;
    case TICK_DANCE: AnimEvent(TIMER_DANCE); break;
    case TICK_HIDE: AnimEvent(TIMER_HIDE); break;
    case SWITCH_ALWAYS: Always = Always ? 0 : 1; AnimEvent(IDM_ALWAYS); break;
    case SWITCH_NOHIDE: Hide = Hide ? 0 : 1; AnimEvent(IDM_NOHIDE); break;
    case OTHER_CODE: AnimEvent(12345); break;
    case STOP: AnimStop(); break;
    }
}

} // namespace

TEST_CASE("every cell of the transition table")
{
    for (const Row &row : Table) {
        CAPTURE(std::string(row.name));
        AnimFixture f;
        AnimState = row.state;
        FrameIndex = row.frame;
        Always = row.always;
        Hide = row.hide;
        if (row.timersBefore & DANCE)
            SetTimer(PanelWindow, TIMER_DANCE, LONG_PERIOD, nullptr);
        if (row.timersBefore & HIDE)
            SetTimer(PanelWindow, TIMER_HIDE, LONG_PERIOD, nullptr);
        f.Validate();

        Fire(row.event);

        CHECK(AnimState == row.wantState);
        CHECK(FrameIndex == row.wantFrame);
        CHECK(Count == row.wantCountDelta);
        CHECK(f.RepaintPending() == row.wantRepaint);
        CHECK(f.RunningTimers() == row.wantTimers);
    }
}

TEST_CASE("AnimStart: standing with the countdown, or dancing at once when always")
{
    struct Case {
        int32_t always, hide, frames;
        int32_t wantState, wantFrame;
        int wantTimers;
    } cases[] = {
        {0, 1, 4, Normal, 0, HIDE},   {0, 0, 4, Normal, 0, NONE},
        {1, 0, 4, Dancing, 2, DANCE}, {1, 1, 4, Dancing, 2, BOTH}, // hide timer keeps running under the dance
        {1, 1, 2, Normal, 0, HIDE},   {1, 0, 2, Normal, 0, NONE},  // no dance frames: always leaves it standing
    };
    for (const Case &c : cases) {
        CAPTURE(c.always);
        CAPTURE(c.hide);
        CAPTURE(c.frames);
        AnimFixture f;
        FrameList.resize(c.frames);
        Always = c.always;
        Hide = c.hide;
        AnimState = Hidden;
        FrameIndex = 1;
        f.Validate();
        AnimStart();
        CHECK(AnimState == c.wantState);
        CHECK(FrameIndex == c.wantFrame);
        CHECK_FALSE(f.RepaintPending()); // the new window paints itself
        CHECK(f.RunningTimers() == c.wantTimers);
    }
}

TEST_CASE("a pass is counted at its first tick and shows every dance frame")
{
    AnimFixture f;
    FrameList = {"n", "h", "d1", "d2", "d3"};
    AnimStart();
    AnimClick();
    std::vector<int32_t> shown{FrameIndex};
    while (AnimState == Dancing && shown.size() < 10) {
        AnimEvent(TIMER_DANCE);
        shown.push_back(FrameIndex);
    }
    CHECK(shown == std::vector<int32_t>{2, 3, 4, 0});
    CHECK(Count == 1);
}

TEST_CASE("one dance frame: every tick is a whole pass")
{
    AnimFixture f;
    FrameList = {"n", "h", "d"};
    AnimClick();
    AnimEvent(TIMER_DANCE);
    CHECK(AnimState == Normal);
    CHECK(Count == 1);

    Always = 1;
    AnimEvent(IDM_ALWAYS);
    for (int i = 0; i < 5; ++i)
        AnimEvent(TIMER_DANCE);
    CHECK(AnimState == Dancing);
    CHECK(FrameIndex == 2);
    CHECK(Count == 6);
}

TEST_CASE("no dance frames: a click kills the countdown and nothing dances")
{
    AnimFixture f;
    FrameList = {"n", "h"};
    AnimStart();
    AnimClick();
    CHECK(AnimState == Normal);
    CHECK(f.RunningTimers() == NONE);
    Always = 1;
    AnimEvent(IDM_ALWAYS);
    CHECK(AnimState == Normal);
    Hide = 0;
    AnimEvent(IDM_NOHIDE); // hiding off: still no countdown
    Hide = 1;
    AnimEvent(IDM_NOHIDE); // hiding on again arms it
    CHECK(f.RunningTimers() == HIDE);
}

TEST_CASE("clearing always mid-dance lets the pass finish, then the countdown starts")
{
    AnimFixture f;
    Always = 1;
    AnimStart();
    KillTimer(PanelWindow, TIMER_HIDE);
    AnimEvent(TIMER_DANCE); // frame 3, counted
    Always = 0;
    AnimEvent(IDM_ALWAYS);
    CHECK(AnimState == Dancing);
    AnimEvent(TIMER_DANCE);
    CHECK(AnimState == Normal);
    CHECK(Count == 1);
    CHECK(f.RunningTimers() == HIDE);
}

TEST_CASE("the count never wraps into negative numbers")
{
    AnimFixture f;
    Count = INT32_MAX - 1;
    for (int pass = 0; pass < 3; ++pass) {
        AnimClick();
        AnimEvent(TIMER_DANCE);
        AnimEvent(TIMER_DANCE);
    }
    CHECK(Count == INT32_MAX);
}

TEST_CASE("a dance stopped before its first tick is not counted")
{
    AnimFixture f;
    AnimClick();
    AnimStop();
    CHECK(Count == 0);
    CHECK(AnimState == Dancing);
    CHECK(f.RunningTimers() == NONE);
}

TEST_CASE("the about box is told of each counted pass by a posted message")
{
    AnimFixture f;
    ParentWindow about(100, 100);
    AboutWindow = about.get();
    AnimClick();
    AnimEvent(TIMER_DANCE);
    AnimEvent(TIMER_DANCE);
    MSG msg;
    int posted = 0;
    while (PeekMessageW(&msg, AboutWindow, WM_COUNT_CHANGED, WM_COUNT_CHANGED, PM_REMOVE))
        ++posted;
    CHECK(posted == 1);
    AboutWindow = nullptr;
}

TEST_CASE("real timers drive the dance through the window procedure")
{
    // The panel's own class and procedure, with short periods.
    ModuleInstance = GetModuleHandleW(nullptr);
    ParentWindow parent;
    FrameList = {"n", "h", "d1", "d2"};
    DanceTimer = 30;
    HideTimer = 60000;
    Always = 0;
    Hide = 1;
    Count = 0;
    REQUIRE(CreatePanelWindow(parent.get()));
    AnimStart();
    SendMessageW(PanelWindow, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    CHECK(AnimState == Dancing);
    CHECK(GetFocus() == PanelWindow);
    CHECK(PumpUntil([] { return AnimState == Normal; }, 5000));
    CHECK(Count == 1);
    // Timer messages are answered by the panel, whatever their id.
    CHECK(SendMessageW(PanelWindow, WM_TIMER, 777, 0) == 0);
    AnimStop();
    DestroyPanelWindow();
}
