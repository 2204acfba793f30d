/* Conversion a line at a time: UTF-8 to UTF-16 (refusing bytes that are not
 * UTF-8; UTF-16 input is that already), then to code page 932 without
 * best-fit substitutes, so that a character the code page lacks is reported,
 * never silently swapped for a look-alike. Only a line that loses something
 * is walked character by character to name what it loses; that walk also
 * writes the line, so that a character beyond U+FFFF (two UTF-16 units, to
 * which the system would give two "?") becomes exactly one "?". */
#include "Convert.h"


#include "Say.h"
#include "Encoding.h"
#include "Files.h"
#include "Findings.h"
#include "Paths.h"

#include <windows.h>

#include <vector>

namespace {

const UINT Cp932 = 932;

std::wstring FromUtf8(const std::string &bytes, bool &ok)
{
    ok = true;
    if (bytes.empty())
        return std::wstring();
    int n = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), (int)bytes.size(), nullptr, 0);
    ok = n > 0;
    std::wstring wide(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, bytes.data(), (int)bytes.size(), &wide[0], n);
    return wide;
}

// Code page 932 bytes for the text; `lost` tells whether a character had none.
std::string ToCp932(const std::wstring &wide, bool &lost)
{
    BOOL usedDefault = FALSE;
    lost = false;
    if (wide.empty())
        return std::string();
    int n = WideCharToMultiByte(Cp932, WC_NO_BEST_FIT_CHARS, wide.data(), (int)wide.size(), nullptr, 0, "?",
                                &usedDefault);
    std::string bytes(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(Cp932, WC_NO_BEST_FIT_CHARS, wide.data(), (int)wide.size(), &bytes[0], n, "?",
                            &usedDefault);
    lost = usedDefault || n <= 0;
    return bytes;
}

// Names each character of the line that code page 932 lacks, shown as
// itself beside its code point, and returns the line with one "?" for each.
std::string NameLosses(const std::wstring &line, int number, bool replace, Findings &found)
{
    std::string converted;
    int column = 0;
    for (size_t i = 0; i < line.size(); ++column) {
        size_t n = IS_HIGH_SURROGATE(line[i]) && i + 1 < line.size() && IS_LOW_SURROGATE(line[i + 1]) ? 2 : 1;
        bool lost = false;
        const std::wstring character = line.substr(i, n);
        std::string bytes = ToCp932(character, lost);
        if (lost) {
            unsigned code = n == 2 ? 0x10000 + ((line[i] - 0xD800u) << 10) + (line[i + 1] - 0xDC00u) : line[i];
            const bool visible = code >= 0x20 && !(code >= 0x7F && code < 0xA0) && !(n == 1 && line[i] >= 0xD800 && line[i] <= 0xDFFF);
            std::string message =
                Format("character %d, U+%04X%s%s%s, has no form in code page 932%s", column + 1, code,
                       visible ? " (" : "", visible ? Utf8(character).c_str() : "", visible ? ")" : "",
                       replace ? ": written as \"?\"" : "");
            if (replace)
                found.Warning(number, message);
            else
                found.Error(number, message);
            bytes = "?";
        }
        converted += bytes;
        i += n;
    }
    return converted;
}

// The lines of a text, without their LF or CR LF; `lastEnded` tells whether
// the last line had a line end.
template <class Text>
std::vector<Text> SplitLines(const Text &text, bool &lastEnded)
{
    std::vector<Text> lines;
    lastEnded = false;
    for (size_t pos = 0; pos < text.size();) {
        size_t lf = text.find('\n', pos);
        lastEnded = lf != Text::npos;
        size_t stop = lastEnded ? lf : text.size();
        if (lastEnded && stop > pos && text[stop - 1] == '\r')
            --stop;
        lines.push_back(text.substr(pos, stop - pos));
        pos = lastEnded ? lf + 1 : text.size();
    }
    return lines;
}

// The file's lines as wide text; false, with the reason printed, when it is
// neither UTF-8 nor UTF-16.
bool ReadLines(const std::string &file, const std::string &in, std::vector<std::wstring> &lines, bool &lastEnded)
{
    const Encoding encoding = EncodingOf(in);
    if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
        std::wstring text;
        if (!DecodeUtf16(in, encoding, text)) {
            Say(stderr, "%s: error: the file starts as %s but ends half-way through a character\n",
                    file.c_str(), EncodingName(encoding));
            return false;
        }
        lines = SplitLines(text, lastEnded);
        return true;
    }
    std::vector<std::string> raw = SplitLines(in.compare(0, 3, "\xEF\xBB\xBF") == 0 ? in.substr(3) : in, lastEnded);
    for (size_t i = 0; i < raw.size(); ++i) {
        bool utf8 = true;
        lines.push_back(FromUtf8(raw[i], utf8));
        if (!utf8) {
            Say(stderr, "%s:%d: error: this line is not UTF-8 (is the file code page 932 already?)\n",
                    file.c_str(), (int)i + 1);
            return false;
        }
    }
    return true;
}

} // namespace

int ConvertArt(const std::string &file, const std::string &in, const std::wstring &out, bool replace)
{
    std::vector<std::wstring> lines;
    bool lastEnded = false;
    if (!ReadLines(file, in, lines, lastEnded))
        return 2;
    Findings found;
    std::string converted;
    for (size_t i = 0; i < lines.size(); ++i) {
        bool lost = false;
        std::string line = ToCp932(lines[i], lost);
        converted += lost ? NameLosses(lines[i], (int)i + 1, replace, found) : line;
        if (i + 1 < lines.size() || lastEnded)
            converted += "\r\n";
    }
    found.Print(stdout, file);
    if (found.Errors()) {
        Say(stdout, "%s: %d character%s missing from code page 932: nothing written (--replace writes \"?\" "
               "for them)\n",
               file.c_str(), found.Errors(), found.Errors() == 1 ? "" : "s");
        return 1;
    }
    if (!WriteOutput(out, converted))
        return 2;
    Say(stdout, "%s: written as code page 932 to %s", file.c_str(), Utf8(out).c_str());
    if (found.Warnings())
        Say(stdout, ", with %d character%s written as \"?\"", found.Warnings(), found.Warnings() == 1 ? "" : "s");
    Say(stdout, "\n");
    return 0;
}
