/* The ANSI functions that carry text, each with this module's version of it
 * (AnsiRedirects.cpp): the same stdcall signature, converting with the
 * calling plug-in's code page around the wide function. ImportPatch.cpp
 * points a plug-in's imports at them; the plug-in's GetProcAddress hands them
 * out for the same names. */
#pragma once
#include <windows.h>

struct AnsiRedirect {
    const char *Dll;  // the system DLL the plug-in imports it from
    const char *Name; // the import's name
    FARPROC Function; // this module's version
};

/* The row for an import of name from dll (compared without case), or null. */
const AnsiRedirect *FindRedirect(const char *dll, const char *name);
