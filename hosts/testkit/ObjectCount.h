/* Counts of the process's GDI objects and of the thread's windows, for tests
 * that prove every object made is released again.
 *
 * Wine does not implement GetGuiResources, so under Wine the GDI objects are
 * counted from the process's GDI handle table, whose address the PEB holds at
 * offset 0x94 (16384 entries of 24 bytes; an entry is live when its type byte
 * at +14 is non-zero, and it is a stock object when bit 7 of byte +12 is set).
 * On Windows the documented call is used. */
#pragma once
#include <windows.h>

int CountGdiObjects();

/* Every window of the calling thread, top-level and child. */
int CountThreadWindows();

/* Committed private memory of the process, summed over its address space
 * (Wine's PrivateUsage does not follow the heap). */
SIZE_T CountCommittedPrivateBytes();

/* Makes the lazily created internal GDI objects exist before a baseline. */
void WarmUpGdi();
