/* The host library's classes behind the plain texts of HostLibrary.h. Each
 * call makes its OString or OCharConv, takes the result and copies it out,
 * so no object of the library outlives the call. A host library may give an
 * empty text as a null pointer: every text it gives is read through OrEmpty. */
#include "HostLibrary.h"

#include "OstrelLib.h"

#include <new>
#include <string.h>
#include <wchar.h>

namespace {

const wchar_t *OrEmpty(const wchar_t *text)
{
    return text ? text : L"";
}

const char *OrEmpty(const char *text)
{
    return text ? text : "";
}

WideText CopyWide(const wchar_t *text)
{
    size_t length = wcslen(text);
    wchar_t *copy = new (std::nothrow) wchar_t[length + 1];
    if (copy)
        memcpy(copy, text, (length + 1) * sizeof(wchar_t));
    return WideText(copy);
}

} // namespace

WideText JoinTexts(std::initializer_list<const wchar_t *> parts)
{
    OString joined;
    for (const wchar_t *part : parts)
        joined += OString(OrEmpty(part));
    return CopyWide(OrEmpty(joined.c_str()));
}

WideText WidenText(const char *text)
{
    OCharConv conv;
    return CopyWide(OrEmpty(conv.a2t(OrEmpty(text))));
}

char *NarrowCopy(const wchar_t *text)
{
    OCharConv conv;
    const char *narrow = OrEmpty(conv.t2a(OrEmpty(text)));
    size_t bytes = strlen(narrow) + 1;
    char *copy = new (std::nothrow) char[bytes];
    if (copy)
        memcpy(copy, narrow, bytes);
    return copy;
}

bool FileExists(const wchar_t *path)
{
    return path && OMisc::IsFileExist(path);
}
