/* The mascot's frames. Index 0 is the normal frame, 1 the hide frame, 2 and up
 * the dance frames. Filled from the art file, or from the built-in set when
 * the file cannot be opened; kept until the next load or the module unloads. */
#pragma once
#include "FrameStore.h"

extern FrameStore FrameList;

/* Loads FrameList from ArtPath. True when the art file was opened (whatever it
 * held), false when the built-in frames were used. */
bool LoadFrames();

/* The text of FrameList[FrameIndex]; valid until the next LoadFrames. The
 * caller keeps FrameIndex inside the list. */
const char *CurrentFrameText();

/* Number of frames minus 2: the dance frames (-2 before the first load). */
int DanceFrameCount();
