/* The animation state machine, in-process against the panel's own code with a
 * real window and real window timers. Every (state, event) cell of the
 * transition table is one row: the state and frame it leaves, the timers that
 * run afterwards and whether the panel was invalidated. */
#include "doctest.h"
#include "TestSupport.h"

#include "Anim.h"
#include "Frames.h"
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
    // ANIM_NORMAL
    {"normal click dances", ANIM_NORMAL, 0, 0, 1, HIDE, CLICK, ANIM_DANCING, 2, DANCE, true, 0},
    {"normal dance tick repaints", ANIM_NORMAL, 0, 0, 1, HIDE, TICK_DANCE, ANIM_NORMAL, 0, HIDE, true, 0},
    {"normal hide tick hides", ANIM_NORMAL, 0, 0, 1, HIDE, TICK_HIDE, ANIM_HIDDEN, 1, NONE, true, 0},
    {"normal always on dances", ANIM_NORMAL, 0, 0, 1, HIDE, SWITCH_ALWAYS, ANIM_DANCING, 2, DANCE, true, 0},
    {"normal always off repaints", ANIM_NORMAL, 0, 1, 1, HIDE, SWITCH_ALWAYS, ANIM_NORMAL, 0, HIDE, true, 0},
    {"normal nohide stops countdown", ANIM_NORMAL, 0, 0, 1, HIDE, SWITCH_NOHIDE, ANIM_NORMAL, 0, NONE, true, 0},
    {"normal nohide off arms countdown", ANIM_NORMAL, 0, 0, 0, NONE, SWITCH_NOHIDE, ANIM_NORMAL, 0, HIDE, true, 0},
    {"normal other code repaints", ANIM_NORMAL, 0, 0, 1, HIDE, OTHER_CODE, ANIM_NORMAL, 0, HIDE, true, 0},
    {"normal stop", ANIM_NORMAL, 0, 0, 1, HIDE, STOP, ANIM_NORMAL, 0, NONE, false, 0},
    // ANIM_HIDDEN
    {"hidden click stands", ANIM_HIDDEN, 1, 0, 1, NONE, CLICK, ANIM_NORMAL, 0, HIDE, true, 0},
    {"hidden click stands, no hiding", ANIM_HIDDEN, 1, 0, 0, NONE, CLICK, ANIM_NORMAL, 0, NONE, true, 0},
    {"hidden dance tick repaints", ANIM_HIDDEN, 1, 0, 1, NONE, TICK_DANCE, ANIM_HIDDEN, 1, NONE, true, 0},
    {"hidden hide tick repaints", ANIM_HIDDEN, 1, 0, 1, HIDE, TICK_HIDE, ANIM_HIDDEN, 1, HIDE, true, 0},
    {"hidden always on dances", ANIM_HIDDEN, 1, 0, 1, NONE, SWITCH_ALWAYS, ANIM_DANCING, 2, DANCE, true, 0},
    {"hidden always off repaints", ANIM_HIDDEN, 1, 1, 1, NONE, SWITCH_ALWAYS, ANIM_HIDDEN, 1, NONE, true, 0},
    {"hidden nohide stands", ANIM_HIDDEN, 1, 0, 1, NONE, SWITCH_NOHIDE, ANIM_NORMAL, 0, NONE, true, 0},
    {"hidden nohide off stands, countdown", ANIM_HIDDEN, 1, 0, 0, NONE, SWITCH_NOHIDE, ANIM_NORMAL, 0, HIDE, true, 0},
    {"hidden other code repaints", ANIM_HIDDEN, 1, 0, 1, NONE, OTHER_CODE, ANIM_HIDDEN, 1, NONE, true, 0},
    {"hidden stop", ANIM_HIDDEN, 1, 0, 1, HIDE, STOP, ANIM_HIDDEN, 1, NONE, false, 0},
    // ANIM_DANCING
    {"dancing click does nothing", ANIM_DANCING, 2, 0, 1, DANCE, CLICK, ANIM_DANCING, 2, DANCE, false, 0},
    {"first dance tick counts", ANIM_DANCING, 2, 0, 1, DANCE, TICK_DANCE, ANIM_DANCING, 3, DANCE, true, 1},
    {"last dance tick stands", ANIM_DANCING, 3, 0, 1, DANCE, TICK_DANCE, ANIM_NORMAL, 0, HIDE, true, 0},
    {"last dance tick stands, no hiding", ANIM_DANCING, 3, 0, 0, DANCE, TICK_DANCE, ANIM_NORMAL, 0, NONE, true, 0},
    {"last dance tick repeats when always", ANIM_DANCING, 3, 1, 1, DANCE, TICK_DANCE, ANIM_DANCING, 2, DANCE, true, 0},
    {"dancing hide tick repaints", ANIM_DANCING, 2, 1, 1, BOTH, TICK_HIDE, ANIM_DANCING, 2, BOTH, true, 0},
    {"dancing always on repaints", ANIM_DANCING, 3, 0, 1, DANCE, SWITCH_ALWAYS, ANIM_DANCING, 3, DANCE, true, 0},
    {"dancing always off repaints", ANIM_DANCING, 3, 1, 1, DANCE, SWITCH_ALWAYS, ANIM_DANCING, 3, DANCE, true, 0},
    {"dancing nohide repaints", ANIM_DANCING, 2, 0, 1, DANCE, SWITCH_NOHIDE, ANIM_DANCING, 2, DANCE, true, 0},
    {"dancing other code repaints", ANIM_DANCING, 2, 0, 1, DANCE, OTHER_CODE, ANIM_DANCING, 2, DANCE, true, 0},
    {"dancing stop keeps state", ANIM_DANCING, 3, 0, 1, BOTH, STOP, ANIM_DANCING, 3, NONE, false, 0},
};

const UINT LONG_PERIOD = 600000; // never fires during a test

// A real window stands in for the panel window; its timers are real.
struct AnimFixture {
    ParentWindow window{220, 220};
    AnimFixture()
    {
        Panel.Window = window.get();
        Frames.List = {"normal", "hide", "dance 1", "dance 2"};
        Settings.DanceTimer = Settings.HideTimer = (int32_t)LONG_PERIOD;
        Settings.Count = 0;
        About.Window = nullptr;
        Settings.Always = 0;
        Settings.Hide = 1;
    }
    ~AnimFixture()
    {
        KillTimer(Panel.Window, TIMER_DANCE);
        KillTimer(Panel.Window, TIMER_HIDE);
        Panel.Window = nullptr;
    }

    void Validate()
    {
        UpdateWindow(Panel.Window);
        ValidateRect(Panel.Window, nullptr);
    }
    bool RepaintPending() { return GetUpdateRect(Panel.Window, nullptr, FALSE) != 0; }
    // Destructive: stops the timers it finds running.
    int RunningTimers()
    {
        int t = NONE;
        if (KillTimer(Panel.Window, TIMER_DANCE))
            t |= DANCE;
        if (KillTimer(Panel.Window, TIMER_HIDE))
            t |= HIDE;
        return t;
    }
};

void Fire(Event event)
{
    switch (event) {
    case CLICK: AnimClick(); break;
    case TICK_DANCE: AnimEvent(ANIM_DANCE_TICK); break;
    case TICK_HIDE: AnimEvent(ANIM_HIDE_TICK); break;
    case SWITCH_ALWAYS: Settings.Always = Settings.Always ? 0 : 1; AnimEvent(ANIM_ALWAYS_SWITCHED); break;
    case SWITCH_NOHIDE: Settings.Hide = Settings.Hide ? 0 : 1; AnimEvent(ANIM_HIDE_SWITCHED); break;
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
        Anim.State = row.state;
        Anim.FrameIndex = row.frame;
        Settings.Always = row.always;
        Settings.Hide = row.hide;
        if (row.timersBefore & DANCE)
            SetTimer(Panel.Window, TIMER_DANCE, LONG_PERIOD, nullptr);
        if (row.timersBefore & HIDE)
            SetTimer(Panel.Window, TIMER_HIDE, LONG_PERIOD, nullptr);
        f.Validate();

        Fire(row.event);

        CHECK(Anim.State == row.wantState);
        CHECK(Anim.FrameIndex == row.wantFrame);
        CHECK(Settings.Count == row.wantCountDelta);
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
        {0, 1, 4, ANIM_NORMAL, 0, HIDE},   {0, 0, 4, ANIM_NORMAL, 0, NONE},
        // The hide timer keeps running under the dance.
        {1, 0, 4, ANIM_DANCING, 2, DANCE}, {1, 1, 4, ANIM_DANCING, 2, BOTH},
        // No dance frames: always leaves it standing.
        {1, 1, 2, ANIM_NORMAL, 0, HIDE},   {1, 0, 2, ANIM_NORMAL, 0, NONE},
    };
    for (const Case &c : cases) {
        CAPTURE(c.always);
        CAPTURE(c.hide);
        CAPTURE(c.frames);
        AnimFixture f;
        Frames.List.resize(c.frames);
        Settings.Always = c.always;
        Settings.Hide = c.hide;
        Anim.State = ANIM_HIDDEN;
        Anim.FrameIndex = 1;
        f.Validate();
        AnimStart();
        CHECK(Anim.State == c.wantState);
        CHECK(Anim.FrameIndex == c.wantFrame);
        CHECK_FALSE(f.RepaintPending()); // the new window paints itself
        CHECK(f.RunningTimers() == c.wantTimers);
    }
}

TEST_CASE("a pass is counted at its first tick and shows every dance frame")
{
    AnimFixture f;
    Frames.List = {"n", "h", "d1", "d2", "d3"};
    AnimStart();
    AnimClick();
    std::vector<int32_t> shown{Anim.FrameIndex};
    while (Anim.State == ANIM_DANCING && shown.size() < 10) {
        AnimEvent(ANIM_DANCE_TICK);
        shown.push_back(Anim.FrameIndex);
    }
    CHECK(shown == std::vector<int32_t>{2, 3, 4, 0});
    CHECK(Settings.Count == 1);
}

TEST_CASE("one dance frame: every tick is a whole pass")
{
    AnimFixture f;
    Frames.List = {"n", "h", "d"};
    AnimClick();
    AnimEvent(ANIM_DANCE_TICK);
    CHECK(Anim.State == ANIM_NORMAL);
    CHECK(Settings.Count == 1);

    Settings.Always = 1;
    AnimEvent(ANIM_ALWAYS_SWITCHED);
    for (int i = 0; i < 5; ++i)
        AnimEvent(ANIM_DANCE_TICK);
    CHECK(Anim.State == ANIM_DANCING);
    CHECK(Anim.FrameIndex == 2);
    CHECK(Settings.Count == 6);
}

TEST_CASE("no dance frames: a click kills the countdown and nothing dances")
{
    AnimFixture f;
    Frames.List = {"n", "h"};
    AnimStart();
    AnimClick();
    CHECK(Anim.State == ANIM_NORMAL);
    CHECK(f.RunningTimers() == NONE);
    Settings.Always = 1;
    AnimEvent(ANIM_ALWAYS_SWITCHED);
    CHECK(Anim.State == ANIM_NORMAL);
    Settings.Hide = 0;
    AnimEvent(ANIM_HIDE_SWITCHED); // hiding off: still no countdown
    Settings.Hide = 1;
    AnimEvent(ANIM_HIDE_SWITCHED); // hiding on again arms it
    CHECK(f.RunningTimers() == HIDE);
}

TEST_CASE("clearing always mid-dance lets the pass finish, then the countdown starts")
{
    AnimFixture f;
    Settings.Always = 1;
    AnimStart();
    KillTimer(Panel.Window, TIMER_HIDE);
    AnimEvent(ANIM_DANCE_TICK); // frame 3, counted
    Settings.Always = 0;
    AnimEvent(ANIM_ALWAYS_SWITCHED);
    CHECK(Anim.State == ANIM_DANCING);
    AnimEvent(ANIM_DANCE_TICK);
    CHECK(Anim.State == ANIM_NORMAL);
    CHECK(Settings.Count == 1);
    CHECK(f.RunningTimers() == HIDE);
}

TEST_CASE("the count never wraps into negative numbers")
{
    AnimFixture f;
    Settings.Count = INT32_MAX - 1;
    for (int pass = 0; pass < 3; ++pass) {
        AnimClick();
        AnimEvent(ANIM_DANCE_TICK);
        AnimEvent(ANIM_DANCE_TICK);
    }
    CHECK(Settings.Count == INT32_MAX);
}

TEST_CASE("a dance stopped before its first tick is not counted")
{
    AnimFixture f;
    AnimClick();
    AnimStop();
    CHECK(Settings.Count == 0);
    CHECK(Anim.State == ANIM_DANCING);
    CHECK(f.RunningTimers() == NONE);
}

TEST_CASE("the about box is told of each counted pass by a posted message")
{
    AnimFixture f;
    ParentWindow about(100, 100);
    About.Window = about.get();
    AnimClick();
    AnimEvent(ANIM_DANCE_TICK);
    AnimEvent(ANIM_DANCE_TICK);
    MSG msg;
    int posted = 0;
    while (PeekMessageW(&msg, About.Window, WM_COUNT_CHANGED, WM_COUNT_CHANGED, PM_REMOVE))
        ++posted;
    CHECK(posted == 1);
    About.Window = nullptr;
}

TEST_CASE("real timers drive the dance through the window procedure")
{
    // The panel's own class and procedure, with short periods.
    Module.Instance = GetModuleHandleW(nullptr);
    ParentWindow parent;
    Frames.List = {"n", "h", "d1", "d2"};
    Settings.DanceTimer = 30;
    Settings.HideTimer = 60000;
    Settings.Always = 0;
    Settings.Hide = 1;
    Settings.Count = 0;
    REQUIRE(CreatePanelWindow(parent.get()));
    AnimStart();
    SendMessageW(Panel.Window, WM_LBUTTONDOWN, 0, MAKELPARAM(5, 5));
    CHECK(Anim.State == ANIM_DANCING);
    CHECK(GetFocus() == Panel.Window);
    CHECK(PumpUntil([] { return Anim.State == ANIM_NORMAL; }, 5000));
    CHECK(Settings.Count == 1);
    // Timer messages are answered by the panel, whatever their id.
    CHECK(SendMessageW(Panel.Window, WM_TIMER, 777, 0) == 0);
    AnimStop();
    DestroyPanelWindow();
}
