/* Walks a loaded module's import table and rewrites the slots of the ANSI
 * text functions of the redirect table. Only the module's own table changes:
 * every other module, the host and this adaptor keep calling the system.
 *
 * Imports are matched by the name the module imports them under, with the
 * DLL they come from. An import by ordinal carries no name and is left
 * alone, as is a table without its list of names (the slots alone tell
 * nothing once bound). Each slot is made writable for the one write and
 * given its protection back at once. */
#include "ImportPatch.h"

#include "AnsiRedirects.h"
#include "CodePage.h"

namespace {

/* The image's part at rva, or null when it lies outside the image. */
template <class T> T *At(HMODULE module, DWORD rva, DWORD imageSize)
{
    if (!rva || rva >= imageSize || imageSize - rva < sizeof(T))
        return nullptr;
    return (T *)((BYTE *)module + rva);
}

bool WriteSlot(ULONG_PTR *slot, ULONG_PTR value)
{
    DWORD was;
    if (!VirtualProtect(slot, sizeof *slot, PAGE_READWRITE, &was))
        return false;
    *slot = value;
    VirtualProtect(slot, sizeof *slot, was, &was);
    return true;
}

} // namespace

int PatchImports(HMODULE module, bool redirect)
{
    const IMAGE_DOS_HEADER *dos = (const IMAGE_DOS_HEADER *)module;
    if (!dos || dos->e_magic != IMAGE_DOS_SIGNATURE)
        return 0;
    const IMAGE_NT_HEADERS *nt = (const IMAGE_NT_HEADERS *)((const BYTE *)module + dos->e_lfanew);
    if (nt->Signature != IMAGE_NT_SIGNATURE || nt->OptionalHeader.Magic != IMAGE_NT_OPTIONAL_HDR_MAGIC)
        return 0;
    DWORD size = nt->OptionalHeader.SizeOfImage;
    const IMAGE_DATA_DIRECTORY &directory = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    int written = 0;
    for (auto *entry = At<IMAGE_IMPORT_DESCRIPTOR>(module, directory.VirtualAddress, size); entry && entry->Name;
         ++entry) {
        const char *dll = At<char>(module, entry->Name, size);
        auto *names = At<IMAGE_THUNK_DATA>(module, entry->OriginalFirstThunk, size);
        auto *slots = At<IMAGE_THUNK_DATA>(module, entry->FirstThunk, size);
        if (!dll || !names || !slots)
            continue;
        for (; names->u1.AddressOfData; ++names, ++slots) {
            if (IMAGE_SNAP_BY_ORDINAL(names->u1.Ordinal))
                continue;
            auto *byName = At<IMAGE_IMPORT_BY_NAME>(module, (DWORD)names->u1.AddressOfData, size);
            const AnsiRedirect *row = byName ? FindRedirect(dll, (const char *)byName->Name) : nullptr;
            if (!row)
                continue;
            ULONG_PTR *slot = (ULONG_PTR *)&slots->u1.Function;
            ULONG_PTR ours = (ULONG_PTR)row->Function;
            if (redirect) {
                if (*slot != ours && WriteSlot(slot, ours))
                    ++written;
            } else if (*slot == ours) {
                FARPROC system = GetProcAddress(GetModuleHandleA(row->Dll), row->Name);
                if (system && WriteSlot(slot, (ULONG_PTR)system))
                    ++written;
            }
        }
    }
    return written;
}

void GiveCodePage(HMODULE module)
{
    // Recorded first: a redirected call finds its code page from the start.
    if (RecordCodePage(module))
        PatchImports(module, true);
}

namespace {

void PutBack(HMODULE module)
{
    PatchImports(module, false);
}

/* Should this module go while a plug-in it redirected is still mapped (held
 * by something else), that plug-in's slots call the system's functions
 * again: nothing is left calling code that is gone. */
struct PutBackAtDetach {
    ~PutBackAtDetach() { ForEachForeignPlugin(PutBack); }
} AtDetach;

} // namespace
