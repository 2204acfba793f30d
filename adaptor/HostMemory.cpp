/* Texts handed to the newer host, in its own memory. */
#include "HostMemory.h"

#include <string.h>
#include <wchar.h>

wchar_t *HandOutHostText(const wchar_t *text, wchar_t **out)
{
    size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    wchar_t *copy = (wchar_t *)OlxGetMemory()->Alloc((uint32_t)bytes);
    if (copy)
        memcpy(copy, text, bytes);
    if (out)
        *out = copy;
    return copy;
}
