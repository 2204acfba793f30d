/* Animation state machine. Every entry point runs on the panel window's
 * thread; timers are plain window timers of PanelWindow arriving as WM_TIMER,
 * and a repaint is always a whole-window invalidation without erasing. */
#include "Anim.h"

#include "Commands.h"
#include "Frames.h"
#include "PanelWindow.h"
#include "Settings.h"

int32_t AnimState = Normal;
int32_t FrameIndex = 0;
HWND AboutWindow = nullptr;

static void Repaint()
{
    InvalidateRect(PanelWindow, nullptr, FALSE);
}

static void Stand()
{
    AnimState = Normal;
    FrameIndex = 0;
}

void ArmHideTimer(int32_t flag)
{
    if (flag)
        SetTimer(PanelWindow, TIMER_HIDE, (UINT)HideTimer, nullptr);
    else
        KillTimer(PanelWindow, TIMER_HIDE);
}

void BeginDance()
{
    if (DanceFrameCount() == 0)
        return;
    FrameIndex = 2;
    AnimState = Dancing;
    SetTimer(PanelWindow, TIMER_DANCE, (UINT)DanceTimer, nullptr);
}

void AnimStart()
{
    Stand();
    if (Hide)
        SetTimer(PanelWindow, TIMER_HIDE, (UINT)HideTimer, nullptr);
    // An endless dance starts at once; the hide timer stays armed under it and
    // its ticks only repaint until the dance ends.
    if (Always)
        BeginDance();
}

void AnimStop()
{
    KillTimer(PanelWindow, TIMER_HIDE);
    KillTimer(PanelWindow, TIMER_DANCE);
}

void AnimClick()
{
    switch (AnimState) {
    case Normal:
        BeginDance();
        KillTimer(PanelWindow, TIMER_HIDE);
        Repaint();
        break;
    case Hidden:
        Stand();
        ArmHideTimer(Hide);
        Repaint();
        break;
    default: // a click never interrupts a dance
        break;
    }
}

// One TIMER_DANCE tick while dancing. A pass is counted at its first frame.
static void DanceStep()
{
    if (FrameIndex == 2) {
        // A hand-edited count at the top of the range stays there rather
        // than overflowing into negative numbers.
        if (Count < INT32_MAX)
            ++Count;
        if (AboutWindow)
            PostMessageA(AboutWindow, WM_COUNT_CHANGED, 0, 0);
    }
    ++FrameIndex;
    if (FrameIndex == DanceFrameCount() + 2) {
        if (Always) {
            FrameIndex = 2;
        } else {
            Stand();
            KillTimer(PanelWindow, TIMER_DANCE);
            ArmHideTimer(Hide);
        }
    }
}

void AnimEvent(int32_t code)
{
    switch (code) {
    case TIMER_DANCE:
        if (AnimState == Dancing)
            DanceStep();
        break;
    case TIMER_HIDE:
        if (AnimState == Normal) {
            KillTimer(PanelWindow, TIMER_HIDE);
            AnimState = Hidden;
            FrameIndex = 1;
        }
        break;
    case IDM_ALWAYS:
        if (!Always)
            break;
        if (AnimState == Normal) {
            BeginDance();
            KillTimer(PanelWindow, TIMER_HIDE);
        } else if (AnimState == Hidden) {
            BeginDance();
        }
        break;
    case IDM_NOHIDE:
        if (AnimState == Hidden)
            Stand();
        if (AnimState != Dancing)
            ArmHideTimer(Hide);
        break;
    default:
        break;
    }
    Repaint();
}
