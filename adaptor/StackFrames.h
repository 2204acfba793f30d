/* What the adaptor reads of this thread's stack, in the one place that needs
 * the compiler's words for it.
 *
 * ENTRY_FRAME(): the frame of the function that the host, or the system on a
 * timer or a message, called into the adaptor: everything on the stack above
 * it was there before the call, everything below it is the adaptor's own.
 * Taken in the entry function itself, never in a helper, whose frame lies
 * lower. ADAPTOR_NOINLINE keeps a function's frame its own, below its
 * caller's. ThreadBlock(): the thread's information block, with the stack's
 * bounds and the chain of exception handler registrations. */
#pragma once
#include <windows.h>
#include <stdint.h>

#if defined(_MSC_VER)
#include <intrin.h>
#define ENTRY_FRAME() ((uintptr_t)_AddressOfReturnAddress())
#define ADAPTOR_NOINLINE __declspec(noinline)
#else
#define ENTRY_FRAME() ((uintptr_t)__builtin_frame_address(0))
#define ADAPTOR_NOINLINE __attribute__((noinline))
#endif

/* GCC takes the inlined read through fs for an access out of an array's
 * bounds. */
inline NT_TIB *ThreadBlock()
{
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Warray-bounds"
#endif
    return (NT_TIB *)NtCurrentTeb();
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic pop
#endif
}
