/* Art file reader. See ArtReader.h for the text-mode rules; the section rules:
 * "$Normal" and "$Hide" send the following lines to frames 0 and 1, "$Dance"
 * opens a new frame at the end of the list, "$End" drops lines until the next
 * section line. An ordinary line goes into its frame followed by one LF.
 *
 * The raw bytes come a 64 KiB block at a time. Nearly every line of an art
 * file lies whole in the block, ends in LF or CR LF, holds no other control
 * byte, and is too long or too short to be a section line: inside a section
 * such a line is found sixteen bytes at a time and copied straight from the
 * block into the frame store. So is a "$Dance" line inside the dance frames,
 * the one section line met thousands of times in a large file: its bytes are
 * the name's, which every collation calls equal. Any other line is cut byte
 * by byte into a 1024-byte buffer by the general path, which follows the
 * text-mode rules to the letter. A CR LF split between two blocks reads as
 * one LF all the same, because the CR is consumed before the next block is
 * fetched. */
#include "ArtReader.h"

#include <memory>
#include <string.h>
#ifdef _WIN32
#include <windows.h>
#endif
#if defined(__SSE2__) || defined(_M_X64) || (defined(_M_IX86_FP) && _M_IX86_FP >= 2)
#include <emmintrin.h>
#define ART_SSE2 1
#endif
#ifdef _MSC_VER
#include <intrin.h>
#endif

namespace {

enum LineEnd { LINE_LF, LINE_AT_END, LINE_TOO_LONG, NO_LINE };

// A line as a C string would see it: its bytes up to the first NUL.
struct Line {
    const char *text;
    size_t length;
    LineEnd end;
};

const size_t BLOCK_BYTES = 64 * 1024;
const size_t LANE = 16; // bytes looked at in one step of the quick path

// Bit i is set when p[i] is a control byte up to Ctrl-Z (0x1A), for the LANE
// bytes at p: LF, CR, Ctrl-Z and NUL among them. One comparison finds them
// all; the rare tab or other control byte in a line only sends that line
// down the general path.
inline unsigned ControlBits(const char *p)
{
#ifdef ART_SSE2
    const __m128i v = _mm_loadu_si128((const __m128i *)p);
    return (unsigned)_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_min_epu8(v, _mm_set1_epi8('\x1a')), v));
#else
    unsigned bits = 0;
    for (unsigned i = 0; i < LANE; ++i)
        if ((unsigned char)p[i] <= 0x1a)
            bits |= 1u << i;
    return bits;
#endif
}

// The index of the lowest set bit; bits is not 0.
inline unsigned LowestBit(unsigned bits)
{
#ifdef _MSC_VER
    unsigned long index;
    _BitScanForward(&index, bits);
    return (unsigned)index;
#else
    return (unsigned)__builtin_ctz(bits);
#endif
}

// Only lines of these lengths can be section lines ("$End" to "$Normal").
const size_t SHORTEST_SECTION = sizeof SectionEnd - 1, LONGEST_SECTION = sizeof SectionNormal - 1;

constexpr bool MayBeSectionLength(size_t length)
{
    return length >= SHORTEST_SECTION && length <= LONGEST_SECTION;
}

// The quick path copies a line of any other length as art without comparing
// it, and ReadArt compares a line of these lengths in a buffer of
// LONGEST_SECTION bytes and a NUL: a name of another length would be taken
// for art.
static_assert(MayBeSectionLength(sizeof SectionNormal - 1) && MayBeSectionLength(sizeof SectionHide - 1) &&
                  MayBeSectionLength(sizeof SectionDance - 1) && MayBeSectionLength(sizeof SectionEnd - 1),
              "every section name lies between the shortest and the longest");

class ArtInput {
public:
    explicit ArtInput(ArtSource &raw) : raw_(raw) {}

    // Room the quick path writes into for each line: the line in whole
    // lanes, at least four of them, and its LF.
    enum { COPY_ROOM = ART_LINE_BYTES + 4 * LANE };
    // Dance frames the quick path may end in one call.
    enum { FRAME_ENDS = 64 };

    // The quick path for art lines: copies, each with an LF after it, the
    // lines from here on that lie whole in the block, end in LF or CR LF,
    // hold no other control byte, are at most ART_LINE_BYTES - 1 bytes long
    // and cannot be section lines, as many as fit in `room` bytes at `out`.
    // With `frameEnds`, the lines are those of the dance frames, and a
    // "$Dance" line ends the newest frame instead: a NUL goes in its place
    // and its offset into `frameEnds` (at most FRAME_ENDS of them).
    // Consumes the lines taken and returns the bytes written; stops before
    // the first line it cannot take, which the general path then takes;
    // `full` tells whether it stopped only for want of room. (Locals, not
    // members, in the loop: the compiler must assume that a store through
    // `out` may change any member.)
    size_t TakeArtLines(char *out, size_t room, bool &full, size_t *frameEnds, size_t &frameEndCount)
    {
        full = false;
        frameEndCount = 0;
        if (ended_ || room < COPY_ROOM)
            return 0;
        const char *line = buf_ + pos_;
        const char *const stop = buf_ + len_;
        char *to = out;
        char *const last = out + (room - COPY_ROOM); // the last place a line may start
        size_t ends = 0;
        while (line < stop && to <= last) {
            // The NUL after the data ends the search within the block.
            const char *lane = line;
            unsigned bits;
            while (!(bits = ControlBits(lane)))
                lane += LANE;
            const char *const end = lane + LowestBit(bits);
            const size_t length = (size_t)(end - line);
            if (end >= stop || length >= ART_LINE_BYTES)
                break; // not whole in the block, or too long for this path
            // CR LF first: the line end of art files made on Windows.
            const char *next;
            if (end[0] == '\r' && end[1] == '\n')
                next = end + 2;
            else if (end[0] == '\n')
                next = end + 1;
            else
                break;
            if (MayBeSectionLength(length)) {
                if (!frameEnds || ends == FRAME_ENDS || length != sizeof SectionDance - 1 ||
                    memcmp(line, SectionDance, sizeof SectionDance - 1) != 0)
                    break;
                frameEnds[ends++] = (size_t)(to - out);
                *to++ = '\0';
                line = next;
                continue;
            }
            // Four lanes whatever the length (the block and the room both
            // have space for them), then the rest of a longer line.
            memcpy(to, line, LANE);
            memcpy(to + LANE, line + LANE, LANE);
            memcpy(to + 2 * LANE, line + 2 * LANE, LANE);
            memcpy(to + 3 * LANE, line + 3 * LANE, LANE);
            for (size_t done = 4 * LANE; done < length; done += LANE)
                memcpy(to + done, line + done, LANE);
            to[length] = '\n';
            to += length + 1;
            line = next;
        }
        full = to > last || ends == FRAME_ENDS;
        frameEndCount = ends;
        pos_ = (size_t)(line - buf_);
        return (size_t)(to - out);
    }

    // Reads up to an LF (consumed, not stored), keeping at most
    // ART_LINE_BYTES - 1 bytes. When the line is full and the next character
    // is not LF, the line is too long and the reading ends.
    Line ReadLine()
    {
        size_t length;
        const char *start = buf_ + pos_;
        if (const char *next = PlainLine(length)) {
            pos_ = (size_t)(next - buf_);
            return {start, length, LINE_LF};
        }
        LineEnd end = ReadLineBytes();
        return {line_, strlen(line_), end};
    }

private:
    enum { END = -1 };

    // Looks for a plain line at pos_: whole in the block, ended by LF or
    // CR LF, no other control byte, at most ART_LINE_BYTES - 1 bytes. Returns
    // where the next line starts, or null. The lanes read may run past the
    // block's data into the padding after it; nothing found there counts.
    const char *PlainLine(size_t &length)
    {
        if (ended_ || pos_ >= len_)
            return nullptr;
        const char *start = buf_ + pos_, *stop = buf_ + len_;
        const char *p = start;
        unsigned bits;
        for (;;) {
            if (p >= stop || (size_t)(p - start) >= ART_LINE_BYTES)
                return nullptr;
            bits = ControlBits(p);
            if (bits)
                break;
            p += LANE;
        }
        p += LowestBit(bits);
        length = (size_t)(p - start);
        if (p >= stop || length >= ART_LINE_BYTES)
            return nullptr;
        if (*p == '\n')
            return p + 1;
        if (*p == '\r' && p + 1 < stop && p[1] == '\n')
            return p + 2;
        return nullptr;
    }

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

    // A read error ends the data just as the end of the file does, and
    // nothing is read after either.
    bool Refill()
    {
        if (drained_)
            return false;
        len_ = raw_.Read(buf_, BLOCK_BYTES);
        buf_[len_] = '\0';
        pos_ = 0;
        drained_ = len_ == 0;
        return len_ != 0;
    }

    ArtSource &raw_;
    // The quick path reads whole lanes, four of them from a line's start, so
    // that much padding follows the block. The byte after the data is always
    // a NUL; the rest is zeroed once so that no byte read is ever undefined.
    char buf_[BLOCK_BYTES + 4 * LANE] = {};
    size_t pos_ = 0, len_ = 0;
    bool ended_ = false;   // a Ctrl-Z was met
    bool drained_ = false; // the source gave nothing more
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

// The section being read; the normal and hide sections double as the slots
// of the frames they fill.
enum : unsigned char {
    SECTION_NORMAL = FRAME_NORMAL,
    SECTION_HIDE = FRAME_HIDE,
    SECTION_DANCE = 2,
    SECTION_NONE = 255
};

} // namespace

bool IsSectionLine(const char *line, const char *name)
{
    return IsSection(line, strlen(line), name, strlen(name));
}

void ReadArt(ArtSource &raw, FrameStore &frames)
{
    // Whatever happens, the frames read so far stay, the newest dance frame
    // closed; a section cut short by an exception may lose its lines.
    frames.Reset();
    struct Close {
        FrameStore &frames;
        ~Close() { frames.CloseDance(); }
    } close{frames};

    // The quick path writes this much at a time behind the newest dance
    // frame; lines of the normal and hide frames pass through there too.
    const size_t QUICK_ROOM = 8 * 1024;
    // On the heap: 65 KiB is too much for the stack of a host's thread.
    std::unique_ptr<ArtInput> input(new ArtInput(raw));
    ArtInput &in = *input;
    unsigned char section = SECTION_NONE;
    for (;;) {
        for (bool full = section != SECTION_NONE; full;) {
            char *out = frames.Room(QUICK_ROOM);
            size_t ends[ArtInput::FRAME_ENDS], endCount;
            const bool dance = section == SECTION_DANCE;
            size_t taken = in.TakeArtLines(out, QUICK_ROOM, full, dance ? ends : nullptr, endCount);
            if (dance)
                frames.AddDances(taken, ends, endCount);
            else
                frames.Fixed(section).append(out, taken);
        }
        Line line = in.ReadLine();
        if (line.end == NO_LINE)
            break;
        // lstrcmpA needs a terminated string, and a line taken from the block
        // has none: a line as long as a name is copied out first.
        char name[LONGEST_SECTION + 1];
        const char *text = line.text;
        if (MayBeSectionLength(line.length)) {
            memcpy(name, line.text, line.length);
            name[line.length] = '\0';
            text = name;
        }
        if (IsSection(text, line.length, SectionNormal, sizeof SectionNormal - 1)) {
            section = SECTION_NORMAL;
        } else if (IsSection(text, line.length, SectionHide, sizeof SectionHide - 1)) {
            section = SECTION_HIDE;
        } else if (IsSection(text, line.length, SectionDance, sizeof SectionDance - 1)) {
            frames.OpenDance();
            section = SECTION_DANCE;
        } else if (IsSection(text, line.length, SectionEnd, sizeof SectionEnd - 1)) {
            section = SECTION_NONE;
        } else if (section == SECTION_DANCE) {
            char *out = frames.Room(line.length + 1);
            memcpy(out, line.text, line.length);
            out[line.length] = '\n';
            frames.Add(line.length + 1);
        } else if (section != SECTION_NONE) {
            frames.Fixed(section).append(line.text, line.length).push_back('\n');
        }
        if (line.end != LINE_LF)
            break;
    }
    frames.CloseDance();
    frames.Fit();
}
