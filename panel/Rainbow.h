/* The rainbow that the text runs through while colour cycling is on: blue to
 * cyan to green to yellow to red over phases 0 to 80. */
#pragma once
#include <stdint.h>

/* A colour value (red in the low byte) for the phase; black outside 0..80. */
uint32_t RainbowColour(double phase);
