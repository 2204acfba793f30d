/* The module's title. The module's path may be longer than the 260
 * characters read, and GetFileTitleW may refuse a buffer too small for the
 * name; either way Module.Title stays a terminated text of at most 259
 * characters. */
#include "ModuleTitle.h"

#include <commdlg.h>
#include <wchar.h>

void ComputeModuleTitle()
{
    wchar_t path[MAX_PATH];
    Module.Title[0] = L'\0';
    DWORD length = GetModuleFileNameW(Module.Instance, path, MAX_PATH);
    if (length == 0)
        return;
    path[MAX_PATH - 1] = L'\0'; // a truncated name is not terminated everywhere
    if (GetFileTitleW(path, Module.Title, MODULE_TITLE_CHARS) != 0) {
        const wchar_t *name = path;
        for (const wchar_t *p = path; *p; ++p)
            if (*p == L'\\' || *p == L'/' || *p == L':')
                name = p + 1;
        lstrcpynW(Module.Title, name, MODULE_TITLE_CHARS);
    }
    Module.Title[MODULE_TITLE_CHARS - 1] = L'\0';
    if (wchar_t *dot = wcsrchr(Module.Title, L'.'))
        *dot = L'\0';
}
