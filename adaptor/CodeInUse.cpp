/* Looking for code of a module that could still run: return addresses into
 * its image on this thread's stack, and this thread's windows whose
 * procedures lie in it. The stack is read conservatively, one aligned word at
 * a time; a word counts only when it points into executable code of the
 * image right after a call instruction, which keeps stale numbers and
 * pointers to data from putting an unload off for no reason. */
#include "CodeInUse.h"

#include "StackFrames.h"
#include "PanelHook.h"

#include <initializer_list>

namespace {

const uint8_t CALL_RELATIVE = 0xE8; // E8 rel32
const uint8_t GROUP_FF = 0xFF;      // FF /2 is an indirect call
enum { LONGEST_CALL = 7 };          // FF /2 with a SIB byte and a 32-bit displacement
/* How much dead stack is cleared below a call that returned, and how far
 * below the clearing function's own variable it starts: more than its frame. */
enum { DEAD_STACK_CLEARED = 64 * 1024, OWN_FRAME_MARGIN = 256 };

/* The length of the indirect call whose opcode byte is at[0], or 0 when the
 * bytes are no indirect call. Only the first `available` bytes are read. */
int IndirectCallLength(const uint8_t *at, int available)
{
    uint8_t modrm = at[1];
    if (((modrm >> 3) & 7) != 2)
        return 0;
    int mod = modrm >> 6, rm = modrm & 7;
    if (mod == 3)
        return 2; // call reg
    int length = 2;
    if (rm == 4) { // a SIB byte follows
        if (available < 3)
            return 0;
        ++length;
        if (mod == 0 && (at[2] & 7) == 5)
            length += 4; // no base: a 32-bit displacement
    } else if (mod == 0 && rm == 5) {
        length += 4; // call [disp32]
    }
    if (mod == 1)
        length += 1;
    else if (mod == 2)
        length += 4;
    return length;
}

/* A committed page that can be read and run. */
bool ReadableCode(uintptr_t address)
{
    MEMORY_BASIC_INFORMATION info;
    if (!VirtualQuery((const void *)address, &info, sizeof info) || info.State != MEM_COMMIT ||
        (info.Protect & (PAGE_GUARD | PAGE_NOACCESS)))
        return false;
    return (info.Protect & (PAGE_EXECUTE_READ | PAGE_EXECUTE_READWRITE | PAGE_EXECUTE_WRITECOPY)) != 0;
}

/* True when the bytes just before `value` end with a call instruction; they
 * are read only inside the image's readable code. */
bool FollowsCall(const ImageRange &image, uintptr_t value)
{
    if (value - image.Base < LONGEST_CALL || !ReadableCode(value - LONGEST_CALL) || !ReadableCode(value - 1))
        return false;
    const uint8_t *end = (const uint8_t *)value;
    if (end[-5] == CALL_RELATIVE)
        return true;
    for (int length : {2, 3, 4, 6, 7}) {
        const uint8_t *start = end - length;
        if (start[0] == GROUP_FF && IndirectCallLength(start, length) == length)
            return true;
    }
    return false;
}

/* This thread's stack: its lowest committed address and its base. */
void StackBounds(uintptr_t *limit, uintptr_t *base)
{
    const NT_TIB *tib = ThreadBlock();
    *limit = (uintptr_t)tib->StackLimit;
    *base = (uintptr_t)tib->StackBase;
}

struct WindowSearch {
    ImageRange Image;
    bool Found;
};

/* The window's procedure, read with the getter of its own character set: the
 * other one may hand out a thunk that lies nowhere near the code. */
bool RunsIn(HWND window, const ImageRange &image)
{
    bool wide = IsWindowUnicode(window) != FALSE;
    uintptr_t procedure = wide ? GetWindowLongPtrW(window, GWLP_WNDPROC) : GetWindowLongPtrA(window, GWLP_WNDPROC);
    uintptr_t classProcedure =
        wide ? GetClassLongPtrW(window, GCLP_WNDPROC) : GetClassLongPtrA(window, GCLP_WNDPROC);
    return image.Contains(procedure) || image.Contains(classProcedure) ||
           image.Contains((uintptr_t)HookedProcedure(window));
}

BOOL CALLBACK CheckWindow(HWND window, LPARAM data)
{
    WindowSearch *search = (WindowSearch *)data;
    search->Found = search->Found || RunsIn(window, search->Image);
    return !search->Found;
}

BOOL CALLBACK CheckTree(HWND window, LPARAM data)
{
    if (CheckWindow(window, data))
        EnumChildWindows(window, CheckWindow, data); // every descendant
    return !((WindowSearch *)data)->Found;
}

} // namespace

ImageRange ImageOf(HMODULE module)
{
    ImageRange image;
    if (!module)
        return image;
    const IMAGE_DOS_HEADER *dos = (const IMAGE_DOS_HEADER *)module;
    const IMAGE_NT_HEADERS *nt = (const IMAGE_NT_HEADERS *)((const char *)module + dos->e_lfanew);
    image.Base = (uintptr_t)module;
    image.Size = nt->OptionalHeader.SizeOfImage;
    return image;
}

bool StackReturnsInto(const ImageRange &image, uintptr_t from)
{
    if (!image.Size)
        return false;
    uintptr_t limit, base;
    StackBounds(&limit, &base);
    volatile uintptr_t here = 0;
    if (from < limit || from >= base)
        from = (uintptr_t)&here; // not on this stack: look at all of it
    for (uintptr_t slot = (from + 3) & ~(uintptr_t)3; slot + sizeof(uintptr_t) <= base; slot += sizeof(uintptr_t)) {
        uintptr_t value = *(const uintptr_t *)slot;
        if (image.Contains(value) && FollowsCall(image, value))
            return true;
    }
    return false;
}

// Not inlined, so that its frame is small and its own; the words are written
// one by one, as a call to memset would build its frame where they lie.
ADAPTOR_NOINLINE void ClearDeadStack()
{
    uintptr_t limit, base;
    StackBounds(&limit, &base);
    volatile uintptr_t here = 0;
    uintptr_t top = ((uintptr_t)&here - OWN_FRAME_MARGIN) & ~(uintptr_t)3;
    uintptr_t bottom = top - limit > DEAD_STACK_CLEARED ? top - DEAD_STACK_CLEARED : limit;
    for (volatile uintptr_t *word = (volatile uintptr_t *)bottom; (uintptr_t)word < top; ++word)
        *word = 0;
}

bool WindowRunsIn(const ImageRange &image)
{
    if (!image.Size)
        return false;
    WindowSearch search = {image, false};
    EnumThreadWindows(GetCurrentThreadId(), CheckTree, (LPARAM)&search);
    // Message-only windows are no thread's top-level windows.
    for (HWND window = nullptr; !search.Found && (window = FindWindowExW(HWND_MESSAGE, window, nullptr, nullptr));)
        if (GetWindowThreadProcessId(window, nullptr) == GetCurrentThreadId())
            CheckTree(window, (LPARAM)&search);
    return search.Found;
}
