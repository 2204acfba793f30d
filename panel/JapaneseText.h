/* The panel's own texts are Japanese and stored as code page 932 bytes: the
 * art, built in or read from the art file, the menu's labels and the font's
 * name. They are shown through the platform's wide calls, converted from 932
 * here, never through the narrow calls, which would read them in the
 * system's code page: a Western system (1252) or one set to UTF-8 (65001)
 * shows the mascot as it shows on a Japanese one. What comes from the host
 * (its folder texts, so the settings and art file paths) stays in the
 * system's code page, as any program of its kind has it. */
#pragma once
#include <windows.h>

#include <vector>

enum : UINT { ART_CODE_PAGE = 932 };
enum : LCID { ART_LOCALE = 0x0411 }; // Japanese, the clipboard's CF_LOCALE

/* Converts `bytes` (length bytes, or up to their NUL when length is -1) to
 * UTF-16 in `wide`, which then holds the text and a NUL; returns its start.
 * A byte that is no code page 932 character, or a lead byte cut off at the
 * end, becomes the platform's default character, as the narrow calls would
 * have made it. (A vector, not a wide string: the module then carries no
 * wide string code of the C++ library.) */
const wchar_t *FromArtCodePage(const char *bytes, int length, std::vector<wchar_t> &wide);

/* The same conversion of `length` bytes into the caller's memory, which
 * allocates nothing and so cannot throw: with `into` null, the number of
 * UTF-16 characters they make (no NUL counted); otherwise they are written
 * to `into`, which has room for `room` of them, and their number returned. */
int ArtCodePageToWide(const char *bytes, int length, wchar_t *into, int room);
