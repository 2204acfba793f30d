/* The mascot's frames in Frames.List (PanelState.h): filled from the art file,
 * or from the built-in set when the file cannot be opened; kept until the
 * next load or until the module unloads. */
#pragma once
#include "PanelState.h"

/* Loads Frames.List from the art file at artPath. True when the file was
 * opened (whatever it held), false when the built-in frames were used (no
 * file there, or an empty path). */
bool LoadFrames(const char *artPath);

/* The text of the frame on show, Anim.FrameIndex; valid until the next
 * LoadFrames. The animation keeps the index inside the list. */
const char *CurrentFrameText();

/* The same text in UTF-16, converted from code page 932 the first time the
 * frame is shown; valid until another frame is shown or the frames change.
 * Null when there was no memory for the conversion; never throws. */
const wchar_t *CurrentFrameWide();

/* The number of dance frames: the frames after the normal and hide frames
 * (negative before the first load). */
int DanceFrameCount();
