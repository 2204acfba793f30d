/* The shapes of folder texts, read without the platform's help so that
 * nothing here ever looks at the current folder, the host program's folder,
 * and the one folder the adaptor makes. */
#include "Folders.h"

#include <wchar.h>

namespace {

bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

bool IsSeparator(wchar_t c)
{
    return c == L'\\' || c == L'/';
}

/* Past one non-empty name and the separator that ends it, or null. */
const wchar_t *SkipName(const wchar_t *p)
{
    const wchar_t *start = p;
    while (*p && !IsSeparator(*p))
        ++p;
    return p != start && IsSeparator(*p) ? p + 1 : nullptr;
}

} // namespace

bool IsAbsoluteFolder(const wchar_t *folder)
{
    if (!folder)
        return false;
    if (IsDriveLetter(folder[0]) && folder[1] == L':' && IsSeparator(folder[2]))
        return true;
    if (!IsSeparator(folder[0]) || !IsSeparator(folder[1]))
        return false;
    const wchar_t *share = SkipName(folder + 2);
    return share && SkipName(share);
}

FolderShape ShapeOfFolder(const wchar_t *folder)
{
    if (!folder || !folder[0])
        return FolderShape::None;
    if (IsAbsoluteFolder(folder))
        return FolderShape::Absolute;
    if (IsSeparator(folder[0]) || (IsDriveLetter(folder[0]) && folder[1] == L':'))
        return FolderShape::None;
    return FolderShape::Relative;
}

bool HostProgramFolder(wchar_t (&folder)[MAX_PATH])
{
    DWORD length = GetModuleFileNameW(nullptr, folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) // a full buffer may hold a cut path
        return false;
    wchar_t *name = wcsrchr(folder, L'\\');
    if (!name || !IsAbsoluteFolder(folder))
        return false;
    name[1] = L'\0';
    return true;
}

void MakeFolderInside(const wchar_t *hostFolder, const wchar_t *path)
{
    if (!IsAbsoluteFolder(hostFolder) || hostFolder[wcslen(hostFolder) - 1] != L'\\')
        return;
    // Fails, and harmlessly, when the folder is there or its host folder is not.
    CreateDirectoryW(path, nullptr);
}
