/* Where the bytes go depends on what the handle is: GetConsoleMode succeeds
 * only on a console. The console's own code page (often 932 or 437) could
 * not hold every path, so a console never gets narrow text; a file gets
 * UTF-8 because the console's code page says nothing about who reads it. */
#include "Console.h"

#include "Paths.h"

#include <windows.h>

#include <string>

namespace {

std::wstring WithCrLf(const std::wstring &text)
{
    std::wstring out;
    out.reserve(text.size() + text.size() / 16);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\n' && (i == 0 || text[i - 1] != L'\r'))
            out += L'\r';
        out += text[i];
    }
    return out;
}

} // namespace

void Print(Stream stream, const std::wstring &text)
{
    HANDLE handle = GetStdHandle(stream == Stream::Out ? STD_OUTPUT_HANDLE : STD_ERROR_HANDLE);
    if (!handle || handle == INVALID_HANDLE_VALUE || text.empty())
        return;
    const std::wstring lines = WithCrLf(text);
    DWORD mode = 0, written = 0;
    if (GetConsoleMode(handle, &mode)) {
        WriteConsoleW(handle, lines.data(), (DWORD)lines.size(), &written, nullptr);
        return;
    }
    const std::string bytes = Narrow(lines, CP_UTF8);
    WriteFile(handle, bytes.data(), (DWORD)bytes.size(), &written, nullptr);
}
