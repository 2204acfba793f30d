/* What every benchmark shares: a clock, and how this run's 32-bit code ran,
 * as `./dev bench` found it and handed down in TUFT_CPU_EMULATED: natively,
 * or under a CPU emulator. An emulator slows ordinary code several times but
 * not the system calls it makes, so a ratio of our code against a system
 * call (the art reader against its raw read) says nothing about the code
 * there; ratios whose two sides are both our or Wine's code stay comparable.
 * The program's folder comes from Paths.h. */
#pragma once

#include <windows.h>

/* Seconds on the performance counter. */
inline double Now()
{
    LARGE_INTEGER t, f;
    QueryPerformanceCounter(&t);
    QueryPerformanceFrequency(&f);
    return (double)t.QuadPart / (double)f.QuadPart;
}

inline bool RunsEmulated()
{
    char value[4] = "";
    return GetEnvironmentVariableA("TUFT_CPU_EMULATED", value, sizeof value) != 0 && value[0] == '1';
}
