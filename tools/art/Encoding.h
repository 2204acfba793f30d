/* What an art file was saved as: code page 932 (what the panel reads), UTF-8,
 * or UTF-16 with either byte order (Notepad's "Unicode"): for the check to
 * name, and for convert to read. */
#pragma once
#include <string>

enum class Encoding { Cp932, Utf8, Utf16Le, Utf16Be };

/* UTF-16 by its byte-order mark; UTF-8 when it has bytes beyond ASCII and
 * all of them read as UTF-8; code page 932 otherwise. */
Encoding EncodingOf(const std::string &bytes);

/* "UTF-16 little-endian", "UTF-8", ... */
const char *EncodingName(Encoding encoding);

/* UTF-16 text, after its byte-order mark, as wide characters; false for an
 * odd number of bytes. */
bool DecodeUtf16(const std::string &bytes, Encoding order, std::wstring &text);

/* What the panel makes of a file in this encoding, as check and preview
 * both say it; empty for code page 932. */
std::string EncodingTrouble(Encoding encoding);
