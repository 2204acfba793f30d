/* The mascot's animation: standing (ANIM_NORMAL), hiding behind its edge
 * (ANIM_HIDDEN) or dancing through the dance frames (ANIM_DANCING), in Anim
 * (PanelState.h). It moves on a click, on two window timers of the panel
 * window and when one of the menu's two switches has been flipped. */
#pragma once
#include "PanelState.h"

enum : UINT_PTR { TIMER_DANCE = 10002, TIMER_HIDE = 10004 };

/* What moves the animation besides a click. */
enum AnimEvents : int32_t {
    ANIM_DANCE_TICK = 1,   // TIMER_DANCE ran out
    ANIM_HIDE_TICK,        // TIMER_HIDE ran out
    ANIM_ALWAYS_SWITCHED,  // Settings.Always has just been flipped
    ANIM_HIDE_SWITCHED,    // Settings.Hide has just been flipped
};

/* Sets TIMER_HIDE (period Settings.HideTimer) when hiding is on, kills it
 * otherwise; callers pass the Hide setting as it stands. */
void ArmHideTimer(int32_t hide);
/* Starts a dance at the first dance frame, if there is one. */
void BeginDance();
/* Puts the animation in its first state and arms its timers; the panel
 * window exists. */
void AnimStart();
/* Kills both timers; the state stays and nothing is repainted. */
void AnimStop();
void AnimClick();
/* One of AnimEvents; any other code only repaints, as every event does. */
void AnimEvent(int32_t event);
