/* Running this thread's messages while a host program or a test waits. */
#pragma once
#include <windows.h>
#include <functional>

/* Dispatches messages until done() is true or the deadline passes. */
bool PumpUntil(const std::function<bool()> &done, DWORD timeoutMs);
/* Dispatches messages for the given time. */
void PumpFor(DWORD ms);
