#include "StackLedger.h"

#include "Report.h"
#include "StdcallProbe.h"
#include "WpnContract.h"

StackLedger Stack;

namespace {

#if !STDCALL_PROBE
uint32_t PlainCall(const void *fn, const uint32_t *a, size_t count)
{
    typedef uint32_t(WPN_CALL * F0)();
    typedef uint32_t(WPN_CALL * F1)(uint32_t);
    typedef uint32_t(WPN_CALL * F2)(uint32_t, uint32_t);
    typedef uint32_t(WPN_CALL * F4)(uint32_t, uint32_t, uint32_t, uint32_t);
    switch (count) {
    case 0: return ((F0)fn)();
    case 1: return ((F1)fn)(a[0]);
    case 2: return ((F2)fn)(a[0], a[1]);
    default: return ((F4)fn)(a[0], a[1], a[2], a[3]);
    }
}
#endif

} // namespace

uint32_t StackLedger::Call(const char *name, const void *fn, std::initializer_list<uint32_t> args)
{
    Entry *entry = nullptr;
    for (Entry &e : entries_)
        if (e.Name == name)
            entry = &e;
    if (!entry) {
        entries_.push_back({name, (uint32_t)(args.size() * 4), 0, 0, 0});
        entry = &entries_.back();
    }
    ++entry->Calls;
#if STDCALL_PROBE
    int32_t moved = 0;
    uint32_t result = CallMeasuringStack(fn, args.begin(), (uint32_t)args.size(), &moved);
    if (moved != 0 && entry->Unbalanced++ == 0)
        entry->Moved = moved;
    return result;
#else
    return PlainCall(fn, args.begin(), args.size());
#endif
}

void StackLedger::Report() const
{
    if (entries_.empty())
        return;
    if (!STDCALL_PROBE) {
        Out.Line(Verdict::Skip, "stack balance", "measuring needs GNU inline assembly for x86");
        return;
    }
    std::string names;
    int calls = 0;
    bool balanced = true;
    for (const Entry &e : entries_) {
        names += (names.empty() ? "" : ", ") + e.Name;
        calls += e.Calls;
        if (!e.Unbalanced)
            continue;
        balanced = false;
        // Moved < 0: arguments left behind (a caller-pops function); > 0: too many removed.
        if (e.Moved < 0)
            Out.Line(Verdict::Fail, "stack balance",
                     "%s left %ld of its %lu argument bytes on the stack (%d of %d calls), as a cdecl function "
                     "does: declare it with WPN_CALL (__stdcall), as the header's types are",
                     e.Name.c_str(), (long)-e.Moved, (unsigned long)e.ArgBytes, e.Unbalanced, e.Calls);
        else
            Out.Line(Verdict::Fail, "stack balance",
                     "%s removed %ld bytes beyond its %lu argument bytes (%d of %d calls): declare it with exactly "
                     "the header's arguments, and assign it to its slot without a cast",
                     e.Name.c_str(), (long)e.Moved, (unsigned long)e.ArgBytes, e.Unbalanced, e.Calls);
    }
    if (balanced)
        Out.Line(Verdict::Pass, "stack balance", "%s remove exactly their arguments (%d calls)", names.c_str(), calls);
}
