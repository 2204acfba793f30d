/* Code page 932 to UTF-16, for every text the panel shows. */
#include "JapaneseText.h"

std::wstring FromArtCodePage(const char *bytes, int length)
{
    if (length < 0)
        length = lstrlenA(bytes);
    std::wstring wide;
    if (length == 0)
        return wide;
    int chars = MultiByteToWideChar(ART_CODE_PAGE, 0, bytes, length, nullptr, 0);
    if (chars <= 0)
        return wide;
    wide.resize((size_t)chars);
    MultiByteToWideChar(ART_CODE_PAGE, 0, bytes, length, &wide[0], chars);
    return wide;
}
