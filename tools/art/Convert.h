/* `TuftlingArt convert`: a UTF-8 art file (with or without a byte-order
 * mark) or a UTF-16 one (with either byte-order mark, as Notepad saves
 * "Unicode") as the code page 932 file with CR LF line ends that the panel
 * reads. */
#pragma once
#include <string>

/* Converts the bytes of `in` (named `file` in the findings). Every character
 * code page 932 cannot hold is named with its line; then nothing is written
 * unless `replace` is set, which writes "?" in its place. Returns 0 when
 * `out` was written, 1 when a missing character kept it from being written,
 * 2 when the input is neither UTF-8 nor UTF-16 or the output cannot be
 * written. */
int ConvertArt(const std::string &file, const std::string &in, const std::wstring &out, bool replace);
