/* What TuftlingArt prints, and how it reaches the reader. Inside the tool
 * every message is UTF-8, so a path or a character in any script survives;
 * on a console it is written through the console's own wide calls, which
 * show it whatever the console's code page, and redirected to a file or a
 * pipe it is written as UTF-8 bytes. */
#pragma once
#include <stdio.h>
#include <string>

/* printf into the stream, out being stdout or stderr; the format and its
 * texts are UTF-8. */
void Say(FILE *out, const char *format, ...)
#if defined(__GNUC__)
    __attribute__((format(printf, 2, 3)))
#endif
    ;

/* Wide text, and code page 932 bytes (the art's own), as UTF-8. */
std::string Utf8(const std::wstring &wide);
std::string Utf8FromCp932(const std::string &bytes);
