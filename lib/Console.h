/* The console tools' words out (bridgecheck's, TuftlingArt's), in whatever
 * script they are: wide text to the console as it is, and as UTF-8 to a file
 * or a pipe. */
#pragma once
#include <string>

enum class Stream { Out, Error };

/* Writes the text as one piece. A console gets it through WriteConsoleW,
 * which shows Japanese whatever the console's code page is; a redirected
 * stream gets UTF-8 bytes (no byte order mark), which editors and the tests
 * read without guessing a code page. Line ends are CR LF either way. */
void Print(Stream stream, const std::wstring &text);
