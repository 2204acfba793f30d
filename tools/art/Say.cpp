/* TuftlingArt's messages are formatted as UTF-8 and written through the
 * console tools' one writer (Console.h). The C runtime's buffer is flushed
 * first, so that nothing printed another way comes out of order. */
#include "Say.h"

#include "Console.h"
#include "Paths.h"

#include <windows.h>

#include <stdarg.h>
#include <vector>

std::string Utf8(const std::wstring &wide)
{
    return Narrow(wide, CP_UTF8);
}

std::string Utf8FromCp932(const std::string &bytes)
{
    return Utf8(Widen(bytes, 932));
}

void Say(FILE *out, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    std::vector<char> text(256);
    va_list again;
    va_copy(again, args);
    int n = vsnprintf(text.data(), text.size(), format, args);
    if (n >= (int)text.size()) {
        text.resize(n + 1);
        vsnprintf(text.data(), text.size(), format, again);
    }
    va_end(again);
    va_end(args);
    if (n <= 0)
        return;
    fflush(out);
    Print(out == stderr ? Stream::Error : Stream::Out, Widen(std::string(text.data(), n), CP_UTF8));
}
