/* Art file reader. See ArtReader.h for the text-mode rules; the section rules:
 * "$Normal" and "$Hide" send the following lines to frames 0 and 1, "$Dance"
 * opens a new frame at the end of the list, "$End" drops lines until the next
 * section line. An ordinary line goes into its frame followed by one LF.
 *
 * The raw bytes come a 64 KiB block at a time. A line that lies whole in the
 * block, ends in LF or CR LF and holds no NUL, lone CR or Ctrl-Z (nearly every
 * line of an art file) is taken straight from the block; any other line is
 * cut byte by byte into a 1024-byte buffer by the general path, which follows
 * the text-mode rules to the letter. A CR LF split between two blocks reads
 * as one LF all the same, because the CR is consumed before the next block is
 * fetched. */
#include "ArtReader.h"

#include <stdint.h>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#endif

namespace {

enum LineEnd { LINE_LF, LINE_AT_END, LINE_TOO_LONG, NO_LINE };

// A line as a C string would see it: its bytes up to the first NUL.
struct Line {
    const char *text;
    size_t length;
    LineEnd end;
};

bool IsStopByte(char c)
{
    return c == '\n' || c == '\r' || c == '\x1a' || c == '\0';
}

// The first LF, CR, Ctrl-Z or NUL in [p, stop), or stop. Four bytes at a time:
// a word without a byte below 0x1B holds none of them.
const char *FindStopByte(const char *p, const char *stop)
{
    for (;;) {
        while (stop - p >= 4) {
            uint32_t word;
            memcpy(&word, p, 4);
            if ((word - 0x1b1b1b1bu) & ~word & 0x80808080u)
                break;
            p += 4;
        }
        const char *end = stop - p >= 4 ? p + 4 : stop;
        for (; p < end; ++p)
            if (IsStopByte(*p))
                return p;
        if (p == stop)
            return stop;
    }
}

class ArtInput {
public:
    explicit ArtInput(std::istream &raw) : raw_(raw) {}

    // Reads up to an LF (consumed, not stored), keeping at most
    // ART_LINE_BYTES - 1 bytes. When the line is full and the next character
    // is not LF, the line is too long and the reading ends.
    Line ReadLine()
    {
        if (!ended_ && pos_ < len_) {
            const char *start = buf_ + pos_, *stop = buf_ + len_;
            const char *p = FindStopByte(start, stop);
            size_t length = (size_t)(p - start);
            if (length < ART_LINE_BYTES && p < stop) {
                if (*p == '\n') {
                    pos_ += length + 1;
                    return {start, length, LINE_LF};
                }
                if (*p == '\r' && p + 1 < stop && p[1] == '\n') {
                    pos_ += length + 2;
                    return {start, length, LINE_LF};
                }
            }
        }
        LineEnd end = ReadLineBytes();
        return {line_, strlen(line_), end};
    }

private:
    enum { END = -1 };

    // The general path: the line's bytes into line_, with a NUL after them.
    LineEnd ReadLineBytes()
    {
        const size_t room = ART_LINE_BYTES - 1;
        size_t n = 0;
        LineEnd end;
        for (;;) {
            if (n == room) {
                end = FullLineEnd();
                break;
            }
            if (Peek() == END) {
                end = n ? LINE_AT_END : NO_LINE;
                break;
            }
            char c = buf_[pos_++];
            if (c == '\n') {
                end = LINE_LF;
                break;
            }
            if (c == '\x1a') {
                ended_ = true;
                end = n ? LINE_AT_END : NO_LINE;
                break;
            }
            if (c == '\r' && Peek() == '\n') {
                ++pos_;
                end = LINE_LF;
                break;
            }
            line_[n++] = c; // a lone CR included
        }
        line_[n] = '\0';
        return end;
    }

    // The line holds ART_LINE_BYTES - 1 bytes: it ends well only at an LF
    // (alone or from CR LF) or at the end of the data.
    LineEnd FullLineEnd()
    {
        int c = Peek();
        if (c == END || c == 0x1a) {
            ended_ = true;
            return LINE_AT_END;
        }
        if (c == '\n') {
            ++pos_;
            return LINE_LF;
        }
        if (c == '\r') {
            ++pos_; // nothing is read after a line that is too long
            if (Peek() == '\n') {
                ++pos_;
                return LINE_LF;
            }
        }
        return LINE_TOO_LONG;
    }

    // The next raw byte, left in place; END at the end of the data.
    int Peek()
    {
        if (ended_ || (pos_ == len_ && !Refill()))
            return END;
        return (unsigned char)buf_[pos_];
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
    bool ended_ = false; // a Ctrl-Z was met
    char line_[ART_LINE_BYTES];
};

// lstrcmpA compares by the locale's collation, and "equal" there need not mean
// the same bytes: Windows gives some characters no weight at all, so a name
// with such a character added could compare equal. A section line is the whole
// line, so the lengths must agree as well. (Wine 8 under code page 932 weighs
// every near miss tried: CR, tab, blanks, control bytes, case, double-byte
// characters; FramesTest tries them all.) Identical bytes are equal under any
// collation, which spares lstrcmpA (a microsecond under Wine) for every real
// section line.
bool IsSection(const char *line, size_t length, const char *name, size_t nameLength)
{
    if (length != nameLength)
        return false;
    if (memcmp(line, name, length) == 0)
        return true;
#ifdef _WIN32
    return lstrcmpA(line, name) == 0;
#else
    return false;
#endif
}

enum : unsigned char { SECTION_NORMAL = 0, SECTION_HIDE = 1, SECTION_DANCE = 2, SECTION_NONE = 255 };

} // namespace

bool IsSectionLine(const char *line, const char *name)
{
    return IsSection(line, strlen(line), name, strlen(name));
}

void ReadArt(std::istream &raw, std::vector<std::string> &frames)
{
    // The list's strings are reused, emptied but with their room kept: a
    // panel reloads the same file every time it is made, and under some heaps
    // (Wine's) freeing and allocating thousands of frames would cost more
    // than reading them. Whatever happens, the list ends with exactly the
    // frames read: those left over from an earlier load go.
    size_t used = 0;
    struct Trim {
        std::vector<std::string> &frames;
        size_t &used;
        ~Trim() { frames.resize(used); }
    } trim{frames, used};
    auto openFrame = [&] {
        if (used < frames.size())
            frames[used].clear();
        else
            frames.emplace_back();
        ++used;
    };
    openFrame();
    openFrame();

    unsigned char section = SECTION_NONE;
    // The current section's lines gather here and go into their frame in one
    // piece when the section ends: one allocation per frame at most, not one
    // per growth step. (Frames 0 and 1 may get several pieces, in file order.)
    std::string pending;
    auto endSection = [&] {
        if (section != SECTION_NONE && !pending.empty())
            frames[section == SECTION_DANCE ? used - 1 : section].append(pending);
        pending.clear();
    };
    ArtInput in(raw);
    for (;;) {
        Line line = in.ReadLine();
        if (line.end == NO_LINE)
            break;
        // lstrcmpA needs a terminated string, and a line taken from the block
        // has none: a line as long as a name is copied out first.
        char name[8];
        const char *text = line.text;
        if (line.length >= 4 && line.length <= 7) {
            memcpy(name, line.text, line.length);
            name[line.length] = '\0';
            text = name;
        }
        if (IsSection(text, line.length, "$Normal", 7)) {
            endSection();
            section = SECTION_NORMAL;
        } else if (IsSection(text, line.length, "$Hide", 5)) {
            endSection();
            section = SECTION_HIDE;
        } else if (IsSection(text, line.length, "$Dance", 6)) {
            endSection();
            openFrame();
            section = SECTION_DANCE;
        } else if (IsSection(text, line.length, "$End", 4)) {
            endSection();
            section = SECTION_NONE;
        } else if (section != SECTION_NONE) {
            pending.append(line.text, line.length);
            pending.push_back('\n');
        }
        if (line.end != LINE_LF)
            break;
    }
    endSection();
}
