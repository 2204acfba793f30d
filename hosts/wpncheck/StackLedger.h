/* Every stdcall call the checker makes into a plug-in goes through Call: it
 * pushes the 32-bit arguments itself and measures how far the stack pointer
 * moved over the call, which is 0 when the callee removed exactly its
 * arguments. Where the measuring call cannot be built (no GNU x86 inline
 * assembly), the call is made through an ordinary typed pointer and the
 * balance is reported as skipped. */
#pragma once
#include <stdint.h>
#include <initializer_list>
#include <string>
#include <vector>

class StackLedger {
public:
    uint32_t Call(const char *name, const void *fn, std::initializer_list<uint32_t> args);
    /* One line: every function balanced, or one failure line per function. */
    void Report() const;

private:
    struct Entry {
        std::string Name;
        uint32_t ArgBytes;
        int Calls, Unbalanced;
        int32_t Moved; // of the first unbalanced call
    };
    std::vector<Entry> entries_;
};

extern StackLedger Stack;
