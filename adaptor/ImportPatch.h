/* Pointing a loaded module's imports of the ANSI text functions at this
 * module's versions, and back. */
#pragma once
#include <windows.h>

/* redirect: every import of the module named in the redirect table now
 * calls this module's version. Otherwise every slot that calls one of this
 * module's versions calls the system's function again. Returns the number
 * of slots written. */
int PatchImports(HMODULE module, bool redirect);

/* Records the module's code page (CodePage.h) and, when it is not the
 * system's, redirects its imports; a module whose code page is the system's
 * is left untouched. Called once for every load of a plug-in, before its
 * first export runs. */
void GiveCodePage(HMODULE module);
