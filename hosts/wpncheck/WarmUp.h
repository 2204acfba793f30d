/* Brings the process to a steady GDI state before the first count: Wine makes
 * some objects of its own on the first use of a memory surface, of a font for
 * the system's code page, of text drawing and of a popup menu, and keeps them.
 * Counted without this, a panel's first cycle would look like a leak. Some
 * such objects depend on what exactly a plug-in draws, so the verdict on
 * leaks comes from the second, warm cycle. */
#pragma once
#include <windows.h>

void WarmUpHost(HWND owner);
