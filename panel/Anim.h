/* The mascot's animation: standing (Normal), hiding behind its edge (Hidden)
 * or dancing through the dance frames (Dancing), driven by clicks, two window
 * timers of the panel window and the two switches of the menu. */
#pragma once
#include <windows.h>
#include <stdint.h>

enum AnimStates : int32_t { Normal = 0, Hidden = 1, Dancing = 2 };

enum : UINT_PTR { TIMER_DANCE = 10002, TIMER_HIDE = 10004 };
enum : UINT { WM_COUNT_CHANGED = WM_APP + 1 };

extern int32_t AnimState;
extern int32_t FrameIndex;
extern HWND AboutWindow; // the open about box, told when Count grows

void ArmHideTimer(int32_t flag);
void BeginDance();
void AnimStart();
void AnimStop();
void AnimClick();
void AnimEvent(int32_t code);
