/* The rainbow that the text runs through while colour cycling is on: blue to
 * cyan to green to yellow to red as the phase runs from 0 to its last. */
#pragma once
#include <stdint.h>

/* Painting steps the phase by RAINBOW_PHASE_STEP, and after the last phase
 * starts again at 0: nine colours. */
enum { RAINBOW_PHASE_STEP = 10, RAINBOW_LAST_PHASE = 80 };

/* A colour value (red in the low byte) for the phase; black outside 0 to
 * RAINBOW_LAST_PHASE. */
uint32_t RainbowColour(double phase);
