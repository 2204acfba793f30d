/* A stream is a console when GetConsoleMode accepts its handle; anything else
 * (a file, a pipe, a terminal that Wine does not show as a console) gets
 * the UTF-8 bytes. The C runtime's buffer is flushed first, so that nothing
 * printed another way comes out of order. */
#include "Console.h"

#include <windows.h>

#include <stdarg.h>
#include <vector>

namespace {

std::wstring Wide(const std::string &text, UINT codePage)
{
    int n = MultiByteToWideChar(codePage, 0, text.data(), (int)text.size(), nullptr, 0);
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, text.data(), (int)text.size(), &wide[0], n);
    return wide;
}

} // namespace

std::string Utf8(const std::wstring &wide)
{
    int n = WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string text(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_UTF8, 0, wide.data(), (int)wide.size(), &text[0], n, nullptr, nullptr);
    return text;
}

std::string Utf8FromCp932(const std::string &bytes)
{
    return Utf8(Wide(bytes, 932));
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
    HANDLE handle = GetStdHandle(out == stderr ? STD_ERROR_HANDLE : STD_OUTPUT_HANDLE);
    DWORD mode = 0, written = 0;
    if (handle && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
        std::wstring wide = Wide(std::string(text.data(), n), CP_UTF8);
        WriteConsoleW(handle, wide.data(), (DWORD)wide.size(), &written, nullptr);
    } else {
        fwrite(text.data(), 1, n, out);
        fflush(out);
    }
}
