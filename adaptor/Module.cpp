/* The module's title and the texts handed to the newer host. The module's
 * path may be longer than the 260 characters read, and GetFileTitleW may
 * refuse a buffer too small for the name; either way ModuleTitle stays a
 * terminated text of at most 259 characters. */
#include "Module.h"

#include "OstrelLib.h"

#include <commdlg.h>
#include <string.h>
#include <wchar.h>

HINSTANCE ModuleInstance = nullptr;
wchar_t ModuleTitle[MODULE_TITLE_CHARS];
WpnAdaptor *LiveInstance = nullptr;
bool InPanelTick = false;

void ComputeModuleTitle()
{
    wchar_t path[MAX_PATH];
    ModuleTitle[0] = L'\0';
    DWORD length = GetModuleFileNameW(ModuleInstance, path, MAX_PATH);
    if (length == 0)
        return;
    path[MAX_PATH - 1] = L'\0'; // a truncated name is not terminated everywhere
    if (GetFileTitleW(path, ModuleTitle, MODULE_TITLE_CHARS) != 0) {
        const wchar_t *name = path;
        for (const wchar_t *p = path; *p; ++p)
            if (*p == L'\\' || *p == L'/' || *p == L':')
                name = p + 1;
        lstrcpynW(ModuleTitle, name, MODULE_TITLE_CHARS);
    }
    ModuleTitle[MODULE_TITLE_CHARS - 1] = L'\0';
    if (wchar_t *dot = wcsrchr(ModuleTitle, L'.'))
        *dot = L'\0';
}

wchar_t *HandOutHostText(const wchar_t *text)
{
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    wchar_t *copy = (wchar_t *)OlxGetMemory()->Alloc((uint32_t)bytes);
    if (copy)
        memcpy(copy, text, bytes);
    return copy;
}
