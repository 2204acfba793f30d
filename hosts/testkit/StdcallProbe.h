/* Calls a function with 32-bit arguments pushed right to left and reports how
 * far the stack pointer moved over the call: 0 when the callee removed exactly
 * its arguments, as stdcall requires. x86 with GNU inline assembly only;
 * elsewhere STDCALL_PROBE is 0 and the stack checks are skipped. */
#pragma once
#include <stdint.h>

#if defined(__GNUC__) && defined(__i386__)
#define STDCALL_PROBE 1
inline uint32_t CallMeasuringStack(const void *fn, const uint32_t *args, uint32_t count, int32_t *moved)
{
    uint32_t result;
    int32_t delta;
    __asm__ volatile("movl %%esp, %%esi\n\t"
                     "1:\n\t"
                     "testl %%ecx, %%ecx\n\t"
                     "jz 2f\n\t"
                     "pushl -4(%%edi,%%ecx,4)\n\t"
                     "decl %%ecx\n\t"
                     "jmp 1b\n\t"
                     "2:\n\t"
                     "call *%%ebx\n\t"
                     "movl %%esp, %%edx\n\t"
                     "subl %%esi, %%edx\n\t"
                     "movl %%esi, %%esp\n\t"
                     : "=a"(result), "=d"(delta), "+c"(count)
                     : "b"(fn), "D"(args)
                     : "esi", "memory", "cc");
    *moved = delta;
    return result;
}
#else
#define STDCALL_PROBE 0
inline uint32_t CallMeasuringStack(const void *, const uint32_t *, uint32_t, int32_t *moved)
{
    *moved = 0;
    return 0;
}
#endif
