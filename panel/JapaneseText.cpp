/* Code page 932 to UTF-16, for every text the panel shows. */
#include "JapaneseText.h"

const wchar_t *FromArtCodePage(const char *bytes, int length, std::vector<wchar_t> &wide)
{
    if (length < 0)
        length = lstrlenA(bytes);
    int chars = length > 0 ? MultiByteToWideChar(ART_CODE_PAGE, 0, bytes, length, nullptr, 0) : 0;
    wide.assign((size_t)(chars > 0 ? chars : 0) + 1, L'\0');
    if (chars > 0)
        MultiByteToWideChar(ART_CODE_PAGE, 0, bytes, length, wide.data(), chars);
    return wide.data();
}
