/* Encodings told apart by their byte-order marks and by whether the bytes
 * read as UTF-8: code page 932 text beyond ASCII almost never does. */
#include "Encoding.h"

#include <windows.h>

namespace {

const char Utf8Bom[] = "\xEF\xBB\xBF";

} // namespace

Encoding EncodingOf(const std::string &bytes)
{
    if (bytes.compare(0, 2, "\xFF\xFE") == 0)
        return Encoding::Utf16Le;
    if (bytes.compare(0, 2, "\xFE\xFF") == 0)
        return Encoding::Utf16Be;
    const size_t from = bytes.compare(0, 3, Utf8Bom) == 0 ? 3 : 0;
    bool beyondAscii = false;
    for (size_t i = from; i < bytes.size() && !beyondAscii; ++i)
        beyondAscii = (unsigned char)bytes[i] >= 0x80;
    if (beyondAscii && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data() + from,
                                           (int)(bytes.size() - from), nullptr, 0) > 0)
        return Encoding::Utf8;
    return Encoding::Cp932;
}

const char *EncodingName(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Cp932: return "code page 932";
    case Encoding::Utf8: return "UTF-8";
    case Encoding::Utf16Le: return "UTF-16 little-endian";
    case Encoding::Utf16Be: return "UTF-16 big-endian";
    }
    return "?";
}

bool DecodeUtf16(const std::string &bytes, Encoding order, std::wstring &text)
{
    text.clear();
    if (bytes.size() % 2)
        return false;
    const int high = order == Encoding::Utf16Be ? 0 : 1;
    for (size_t i = 2; i < bytes.size(); i += 2)
        text += (wchar_t)((unsigned char)bytes[i + high] << 8 | (unsigned char)bytes[i + 1 - high]);
    return true;
}

std::string EncodingTrouble(Encoding encoding)
{
    switch (encoding) {
    case Encoding::Cp932: return "";
    case Encoding::Utf8:
        return "the file is UTF-8, but the panel reads code page 932 (Shift_JIS): every character beyond ASCII "
               "shows as garbage (TuftlingArt convert makes a code page 932 copy)";
    case Encoding::Utf16Le:
    case Encoding::Utf16Be: break;
    }
    return std::string("the file is ") + EncodingName(encoding) +
           " (what Notepad saves as \"Unicode\"), but the panel reads code page 932 (Shift_JIS) and finds none of "
           "its lines: TuftlingArt convert makes a code page 932 copy";
}
