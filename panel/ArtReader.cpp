/* Art file reader. See ArtReader.h for the text-mode rules; the section rules:
 * "$Normal" and "$Hide" send the following lines to frames 0 and 1, "$Dance"
 * opens a new frame at the end of the list, "$End" drops lines until the next
 * section line. An ordinary line goes into its frame followed by one LF. */
#include "ArtReader.h"

#include <string.h>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

// Raw bytes in, text-mode bytes out, with one byte of look-ahead.
class TextModeInput {
public:
    explicit TextModeInput(std::istream &raw) : raw_(raw) {}

    int Peek()
    {
        if (pending_ == NONE)
            pending_ = Translate();
        return pending_;
    }

    int Get()
    {
        int c = Peek();
        if (c != END)
            pending_ = NONE;
        return c;
    }

    enum { END = -1, NONE = -2 };

private:
    int Translate()
    {
        if (ended_)
            return END;
        int b = RawGet();
        if (b == END || b == 0x1A) {
            ended_ = true;
            return END;
        }
        if (b == '\r' && RawPeek() == '\n') {
            RawGet();
            return '\n';
        }
        return b;
    }

    int RawPeek()
    {
        if (pos_ == len_ && !Refill())
            return END;
        return (unsigned char)buf_[pos_];
    }

    int RawGet()
    {
        int b = RawPeek();
        if (b != END)
            ++pos_;
        return b;
    }

    // A read error ends the data just as the end of the file does.
    bool Refill()
    {
        if (!raw_.good())
            return false;
        raw_.read(buf_, sizeof buf_);
        len_ = (size_t)raw_.gcount();
        pos_ = 0;
        return len_ != 0;
    }

    std::istream &raw_;
    char buf_[64 * 1024];
    size_t pos_ = 0, len_ = 0;
    int pending_ = NONE;
    bool ended_ = false;
};

enum LineEnd { LINE_LF, LINE_AT_END, LINE_TOO_LONG, NO_LINE };

// Reads up to an LF (consumed, not stored), storing at most
// ART_LINE_BYTES - 1 bytes; a further byte that is not LF is left unread.
LineEnd ReadLine(TextModeInput &in, char (&line)[ART_LINE_BYTES])
{
    size_t n = 0;
    for (;;) {
        int c = in.Peek();
        if (c == TextModeInput::END)
            return n ? LINE_AT_END : NO_LINE;
        if (c == '\n') {
            in.Get();
            return LINE_LF;
        }
        if (n == ART_LINE_BYTES - 1)
            return LINE_TOO_LONG;
        line[n++] = (char)in.Get();
    }
}

enum : unsigned char { SECTION_NORMAL = 0, SECTION_HIDE = 1, SECTION_DANCE = 2, SECTION_NONE = 255 };

} // namespace

bool IsSectionLine(const char *line, const char *name)
{
#ifdef _WIN32
    return lstrcmpA(line, name) == 0;
#else
    return strcmp(line, name) == 0;
#endif
}

void ReadArt(std::istream &raw, std::vector<std::string> &frames)
{
    frames.assign(2, std::string());
    unsigned char section = SECTION_NONE;
    TextModeInput in(raw);
    for (;;) {
        char line[ART_LINE_BYTES] = {};
        LineEnd end = ReadLine(in, line);
        if (end == NO_LINE)
            break;
        if (IsSectionLine(line, "$Normal")) {
            section = SECTION_NORMAL;
        } else if (IsSectionLine(line, "$Hide")) {
            section = SECTION_HIDE;
        } else if (IsSectionLine(line, "$Dance")) {
            frames.emplace_back();
            section = SECTION_DANCE;
        } else if (IsSectionLine(line, "$End")) {
            section = SECTION_NONE;
        } else if (section != SECTION_NONE) {
            std::string &frame = section == SECTION_DANCE ? frames.back() : frames[section];
            frame.append(line); // up to the first NUL, as the line is a C string
            frame.push_back('\n');
        }
        if (end != LINE_LF)
            break;
    }
}
