/* What can be seen, at one moment on this thread, of code in a loaded
 * module's image that could still run: a return address into it on the
 * stack, or a window whose procedure lies in it. A module is unloaded only
 * when neither is seen (PluginModule.cpp).
 *
 * Both looks are conservative in the safe direction: a value on the stack
 * that merely looks like a return address only puts the unload off. What they
 * cannot see at all: threads of the module's own, timers, hooks and other
 * callbacks it handed to the system, window classes with no window left, and
 * a procedure of the module that something else calls from its own. */
#pragma once
#include <windows.h>
#include <stdint.h>

/* The address range a module's image occupies. */
struct ImageRange {
    uintptr_t Base = 0;
    uintptr_t Size = 0;
    bool Contains(uintptr_t address) const { return address - Base < Size; }
};

/* The image of a module loaded as code; empty for null. */
ImageRange ImageOf(HMODULE module);

/* True when a value on this thread's stack, from `from` up to the stack's
 * base, is a return address into the image: it lies in executable code of
 * the image right after a call instruction. `from` is the frame of the
 * adaptor's entry from the host or a timer (StackFrames.h): everything below
 * it is the adaptor's own, and no code of the plug-in runs between. */
bool StackReturnsInto(const ImageRange &image, uintptr_t from);

/* Zeroes the dead stack just below the caller: called when code of a plug-in
 * has returned to the adaptor, so that the return addresses its frames left
 * there cannot later lie, unwritten, inside frames that a host builds over
 * them and look like code still running. */
void ClearDeadStack();

/* True when a window of this thread, top-level, child or message-only, has
 * its procedure or its class's procedure in the image, or the adaptor's hook
 * on it forwards into the image. */
bool WindowRunsIn(const ImageRange &image);
