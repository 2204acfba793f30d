#include "Rainbow.h"

static uint32_t Rgb(int red, int green, int blue)
{
    return (uint32_t)red + 256u * (uint32_t)green + 65536u * (uint32_t)blue;
}

uint32_t RainbowColour(double x)
{
    // Each range runs one channel through 0..255; casts truncate toward zero.
    if (x >= 0 && x <= 20)
        return Rgb(0, (int)(12.75 * x), 255);
    if (x > 20 && x <= 35)
        return Rgb(0, 255, (int)(17 * (15 - (x - 20))));
    if (x > 35 && x <= 50)
        return Rgb((int)(17 * (x - 35)), 255, 0);
    if (x > 50 && x <= RAINBOW_LAST_PHASE)
        return Rgb(255, (int)(8.5 * (30 - (x - 50))), 0);
    return 0;
}
