/* The hosted plug-in's own code page. Older panel plug-ins pass their texts
 * through the ANSI calls in the code page they were written for, which need
 * not be the system's. RecordCodePage reads it from the plug-in's version
 * resource and records the module; when the code page differs from the
 * system's, ImportPatch.h's GiveCodePage points its imports of the ANSI text
 * functions at this module's versions (AnsiRedirects.cpp), which convert
 * with it and call the wide functions.
 *
 * The redirected functions and the services are shared by every plug-in the
 * module has loaded, so they find the caller's code page from the address
 * they were called from: the plug-in whose image holds it, else the one
 * loaded last (CodePage.cpp says why). Code page 0 is "the system's": the
 * ANSI function unchanged. */
#pragma once
#include <windows.h>

#include "HostLibrary.h"

#if defined(_MSC_VER)
#include <intrin.h>
#define CALLER_ADDRESS() _ReturnAddress()
#else
#define CALLER_ADDRESS() __builtin_return_address(0)
#endif

/* Reads the module's code page and records the module; true when that code
 * page is not the system's, and the module's imports are to be redirected
 * (ImportPatch.h, GiveCodePage). */
bool RecordCodePage(HMODULE module);
/* Calls `each` for every recorded plug-in of another code page still mapped. */
void ForEachForeignPlugin(void (*each)(HMODULE module));

/* The code page that the calling plug-in works in, and its language; 0 for
 * a plug-in of the system's code page, or when none is loaded. */
UINT CodePageAt(const void *address);
LCID LocaleAt(const void *address);
/* True when the address lies inside a plug-in of another code page. */
bool IsForeignPluginCode(const void *address);

/* The code page written in a version resource's first translation; 932,
 * the family's own, when there is none. */
UINT CodePageOfModule(HMODULE module, LCID *locale);

/* A text converted from or to a code page, in a buffer of its own (a small
 * one inside, a heap one beyond). A null text stays null. length: in bytes or
 * characters, -1 for up to the NUL (which the result then includes). */
class WideIn {
public:
    WideIn(UINT codePage, const char *text, int length = -1);
    ~WideIn();
    WideIn(const WideIn &) = delete;
    WideIn &operator=(const WideIn &) = delete;
    const wchar_t *get() const { return text_; }
    /* Characters, without a NUL when the length was -1. */
    int size() const { return size_; }

private:
    wchar_t small_[128];
    wchar_t *text_ = nullptr;
    int size_ = 0;
};

class NarrowIn {
public:
    NarrowIn(UINT codePage, const wchar_t *text, int length = -1);
    ~NarrowIn();
    NarrowIn(const NarrowIn &) = delete;
    NarrowIn &operator=(const NarrowIn &) = delete;
    const char *get() const { return text_; }
    int size() const { return size_; }

private:
    char small_[256];
    char *text_ = nullptr;
    int size_ = 0;
};

/* The services' conversions: with a plug-in's code page, or (page 0) the
 * host library's own, as for every plug-in of the system's code page. */
WideText WidenInPage(UINT page, const char *text);
char *NarrowCopyInPage(UINT page, const wchar_t *text);

/* Copies a narrow text into a caller's buffer of capacity bytes, always
 * NUL-terminated within it and never cutting a character of the code page
 * in two; returns the bytes copied without the NUL. */
int CopyOut(UINT codePage, const char *text, int length, char *buffer, int capacity);
