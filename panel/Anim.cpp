/* Animation state machine. Every entry point runs on the panel window's
 * thread; timers are plain window timers of the panel window arriving as
 * WM_TIMER, and a repaint is always a whole-window invalidation without
 * erasing. */
#include "Anim.h"

#include "Frames.h"

static void Repaint()
{
    InvalidateRect(Panel.Window, nullptr, FALSE);
}

static void Stand()
{
    Anim.State = ANIM_NORMAL;
    Anim.FrameIndex = FRAME_NORMAL;
}

static void HideBehindEdge()
{
    Anim.State = ANIM_HIDDEN;
    Anim.FrameIndex = FRAME_HIDE;
}

void ArmHideTimer(int32_t hide)
{
    if (hide)
        SetTimer(Panel.Window, TIMER_HIDE, (UINT)Settings.HideTimer, nullptr);
    else
        KillTimer(Panel.Window, TIMER_HIDE);
}

void BeginDance()
{
    if (DanceFrameCount() == 0)
        return;
    Anim.FrameIndex = FRAME_FIRST_DANCE;
    Anim.State = ANIM_DANCING;
    SetTimer(Panel.Window, TIMER_DANCE, (UINT)Settings.DanceTimer, nullptr);
}

void AnimStart()
{
    Stand();
    ArmHideTimer(Settings.Hide); // no timer runs yet on a new window
    // An endless dance starts at once; the hide timer stays armed under it and
    // its ticks only repaint until the dance ends.
    if (Settings.Always)
        BeginDance();
}

void AnimStop()
{
    KillTimer(Panel.Window, TIMER_HIDE);
    KillTimer(Panel.Window, TIMER_DANCE);
}

void AnimClick()
{
    switch (Anim.State) {
    case ANIM_NORMAL:
        BeginDance();
        KillTimer(Panel.Window, TIMER_HIDE);
        Repaint();
        break;
    case ANIM_HIDDEN:
        Stand();
        ArmHideTimer(Settings.Hide);
        Repaint();
        break;
    default: // a click never interrupts a dance
        break;
    }
}

// One TIMER_DANCE tick while dancing. A pass is counted at its first frame.
static void DanceStep()
{
    if (Anim.FrameIndex == FRAME_FIRST_DANCE) {
        // A hand-edited count at the top of the range stays there rather
        // than overflowing into negative numbers.
        if (Settings.Count < INT32_MAX)
            ++Settings.Count;
        if (About.Window)
            PostMessageA(About.Window, WM_COUNT_CHANGED, 0, 0);
    }
    ++Anim.FrameIndex;
    if (Anim.FrameIndex == DanceFrameCount() + FRAME_FIRST_DANCE) {
        if (Settings.Always) {
            Anim.FrameIndex = FRAME_FIRST_DANCE;
        } else {
            Stand();
            KillTimer(Panel.Window, TIMER_DANCE);
            ArmHideTimer(Settings.Hide);
        }
    }
}

void AnimEvent(int32_t event)
{
    switch (event) {
    case ANIM_DANCE_TICK:
        if (Anim.State == ANIM_DANCING)
            DanceStep();
        break;
    case ANIM_HIDE_TICK:
        if (Anim.State == ANIM_NORMAL) {
            KillTimer(Panel.Window, TIMER_HIDE);
            HideBehindEdge();
        }
        break;
    case ANIM_ALWAYS_SWITCHED:
        if (!Settings.Always)
            break;
        if (Anim.State == ANIM_NORMAL) {
            BeginDance();
            KillTimer(Panel.Window, TIMER_HIDE);
        } else if (Anim.State == ANIM_HIDDEN) {
            BeginDance();
        }
        break;
    case ANIM_HIDE_SWITCHED:
        if (Anim.State == ANIM_HIDDEN)
            Stand();
        if (Anim.State != ANIM_DANCING)
            ArmHideTimer(Settings.Hide);
        break;
    default:
        break;
    }
    Repaint();
}
