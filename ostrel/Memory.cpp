/* Host memory: blocks from the process heap, each recorded while it is out
 * so the accounting can tell what was never given back, and a block given
 * back twice or from elsewhere is counted instead of freed. */
#include "Host.h"

namespace {

class Memory final : public HostObject<OIMemory> {
public:
    void *Alloc(uint32_t size) override;
    void Free(void *block) override;
};

void *Memory::Alloc(uint32_t size)
{
    void *block = HeapAlloc(GetProcessHeap(), 0, size ? size : 1);
    if (block)
        State().Blocks.insert(block);
    State().Counters.Blocks = (int)State().Blocks.size();
    return block;
}

void Memory::Free(void *block)
{
    if (!block)
        return;
    if (State().Blocks.erase(block))
        HeapFree(GetProcessHeap(), 0, block);
    else
        ++State().Counters.BadFrees;
    State().Counters.Blocks = (int)State().Blocks.size();
}

Memory &TheMemory()
{
    static Memory memory;
    return memory;
}

} // namespace

wchar_t *HostMemoryText(const std::wstring &text)
{
    size_t bytes = (text.size() + 1) * sizeof(wchar_t);
    wchar_t *copy = (wchar_t *)TheMemory().Alloc((uint32_t)bytes);
    if (copy)
        memcpy(copy, text.c_str(), bytes);
    return copy;
}

extern "C" OIMemory *OlxGetMemory(void)
{
    return &TheMemory();
}
