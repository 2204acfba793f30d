/* Code page 932 to UTF-16, for every text the panel shows. */
#include "JapaneseText.h"

int ArtCodePageToWide(const char *bytes, int length, wchar_t *into, int room)
{
    if (length <= 0)
        return 0;
    int chars = MultiByteToWideChar(ART_CODE_PAGE, 0, bytes, length, into, into ? room : 0);
    return chars > 0 ? chars : 0;
}

const wchar_t *FromArtCodePage(const char *bytes, int length, std::vector<wchar_t> &wide)
{
    if (length < 0)
        length = lstrlenA(bytes);
    int chars = ArtCodePageToWide(bytes, length, nullptr, 0);
    wide.assign((size_t)chars + 1, L'\0');
    ArtCodePageToWide(bytes, length, wide.data(), chars);
    return wide.data();
}
