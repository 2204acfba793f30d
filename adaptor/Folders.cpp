/* The shape of an absolute folder text, read without the platform's help so
 * that nothing here ever looks at the current folder, and the one folder the
 * adaptor makes. */
#include "Folders.h"

#include <windows.h>
#include <wchar.h>

namespace {

bool IsDriveLetter(wchar_t c)
{
    return (c >= L'A' && c <= L'Z') || (c >= L'a' && c <= L'z');
}

/* Past one non-empty name and the backslash that ends it, or null. */
const wchar_t *SkipName(const wchar_t *p)
{
    const wchar_t *start = p;
    while (*p && *p != L'\\')
        ++p;
    return p != start && *p == L'\\' ? p + 1 : nullptr;
}

} // namespace

bool IsAbsoluteFolder(const wchar_t *folder)
{
    if (!folder)
        return false;
    if (IsDriveLetter(folder[0]) && folder[1] == L':' && folder[2] == L'\\')
        return true;
    if (folder[0] != L'\\' || folder[1] != L'\\')
        return false;
    const wchar_t *share = SkipName(folder + 2);
    return share && SkipName(share);
}

void MakeFolderInside(const wchar_t *hostFolder, const wchar_t *path)
{
    if (!IsAbsoluteFolder(hostFolder) || hostFolder[wcslen(hostFolder) - 1] != L'\\')
        return;
    // Fails, and harmlessly, when the folder is there or its host folder is not.
    CreateDirectoryW(path, nullptr);
}
