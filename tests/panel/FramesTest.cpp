/* The frame store in-process, through panel_core: an art file on disk in,
 * LoadFrames' result and FrameList out. Table-driven cases of the art file
 * rules, every number of the built-in set, a differential test against an
 * independent model (FramesModel.h) over thousands of seeded random files, read
 * from the file and a few bytes at a time, the 64 KiB read-buffer boundary, an
 * art file held open by another program, repeated loads, and the section-name
 * comparison under code page 932. */
#include "doctest.h"
#include "FramesModel.h"
#include "ShortReads.h"
#include "TestSupport.h"

#include "ArtReader.h"
#include "BuiltinArt.h"
#include "Frames.h"

#include <algorithm>
#include <random>
#include <string.h>
#include <string>
#include <vector>

namespace {

using FrameTexts = std::vector<std::string>;

// Bytes as a readable C-like string: runs of one byte are counted, so a
// 1023-byte line reads as 'x'*1023.
std::string Show(const std::string &bytes)
{
    std::string out = "\"";
    for (size_t i = 0; i < bytes.size();) {
        size_t run = 1;
        while (i + run < bytes.size() && bytes[i + run] == bytes[i])
            ++run;
        unsigned char c = (unsigned char)bytes[i];
        char one[8];
        if (c == '\n')
            lstrcpyA(one, "\\n");
        else if (c == '\r')
            lstrcpyA(one, "\\r");
        else if (c == '"' || c == '\\')
            wsprintfA(one, "\\%c", c);
        else if (c < 0x20 || c >= 0x7f)
            wsprintfA(one, "\\x%02x", c);
        else
            wsprintfA(one, "%c", c);
        if (run >= 8) {
            char count[32];
            wsprintfA(count, "\"+'%s'*%u+\"", one, (unsigned)run);
            out += count;
            i += run;
        } else {
            out += one;
            ++i;
        }
    }
    return out + "\"";
}

std::string Show(const FrameTexts &frames)
{
    std::string out = "{";
    for (size_t i = 0; i < frames.size(); ++i)
        out += (i ? ", " : "") + Show(frames[i]);
    return out + "}";
}

// Compares two frame lists where it is written; a mismatch shows both lists
// readably (and costs the showing only then).
#define CHECK_FRAMES(actual, expected) \
    do { \
        const FrameTexts actual_ = (actual).Texts(), expected_ = (expected); \
        if (actual_ == expected_) \
            CHECK(true); \
        else \
            CHECK(Show(actual_) == Show(expected_)); \
    } while (0)

// A folder of its own for the art file; Path() is the file's.
struct ArtFolder {
    TempDir dir;
    std::wstring file = dir / L"TuftlingAA.txt";
    std::string path = Narrow(file);

    const char *Path() const { return path.c_str(); }
    bool Load(const std::string &bytes)
    {
        REQUIRE(WriteFileBytes(file, bytes));
        return LoadFrames(Path());
    }
};

// A literal with NUL bytes in it, all of it.
template <size_t N> std::string Bytes(const char (&literal)[N])
{
    return std::string(literal, N - 1);
}

FrameTexts BuiltinTexts()
{
    FrameTexts texts;
    for (int slot = 0; slot < BUILTIN_FRAME_COUNT; ++slot)
        texts.push_back(BuiltinFrames[slot]);
    return texts;
}

std::string Replace(const std::string &text, const std::string &from, const std::string &to)
{
    std::string out;
    size_t start = 0;
    for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, start)) {
        out.append(text, start, at - start).append(to);
        start = at + from.size();
    }
    return out.append(text, start, std::string::npos);
}

const std::string X1022(1022, 'x'), X1023(1023, 'x'), X1024(1024, 'x'), X1100(1100, 'x');

struct Case {
    const char *what;
    std::string file;
    FrameTexts frames;
};

// The art file's rules, one case each: file bytes -> frames.
std::vector<Case> RuleCases()
{
    return {
        {"an empty file", "", {"", ""}},
        {"only $Normal, no line end", "$Normal", {"", ""}},
        {"only $Normal, CR LF", "$Normal\r\n", {"", ""}},
        {"only $End", "$End\r\n", {"", ""}},
        {"no section lines", "some art\r\nmore art\r\n", {"", ""}},
        {"$Normal, two lines, $End", "$Normal\r\none\r\ntwo\r\n$End\r\n", {"one\ntwo\n", ""}},
        {"the same with LF", "$Normal\none\ntwo\n$End\n", {"one\ntwo\n", ""}},
        {"CR LF and LF mixed", "$Normal\none\r\ntwo\n$End\r\n", {"one\ntwo\n", ""}},
        {"last line without a line end", "$Normal\r\none\r\ntwo", {"one\ntwo\n", ""}},
        {"empty lines are lines", "$Normal\r\n\r\na\r\n\n", {"\na\n\n", ""}},
        {"a stray CR inside a line stays", "$Normal\r\na\rb\r\n", {"a\rb\n", ""}},
        {"CR CR LF keeps one CR", "$Normal\r\na\r\r\n", {"a\r\n", ""}},
        {"a CR at the end of the file stays", "$Normal\r\na\r", {"a\r\n", ""}},
        {"a lone CR does not end a line", "$Hide\r\n$Normal\rart\r\n", {"", "$Normal\rart\n"}},
        {"a section name with a stray CR is art", "$Hide\r\n$Normal\r\r\nx\r\n", {"", "$Normal\r\nx\n"}},
        {"Ctrl-Z ends the data", "$Normal\r\nbefore\r\n\x1a\r\nafter\r\n", {"before\n", ""}},
        {"Ctrl-Z in mid-line", "$Normal\r\nbef\x1a" "ore\r\n", {"bef\n", ""}},
        {"Ctrl-Z between CR and LF", "$Normal\r\na\r\x1a\nb\r\n", {"a\r\n", ""}},
        {"Ctrl-Z first", "\x1a$Normal\r\na\r\n", {"", ""}},
        {"Ctrl-Z right after a section line", "$Dance\r\n\x1a", {"", "", ""}},
        {"a 1023-byte line is read whole and reading goes on", "$Normal\r\n" + X1023 + "\r\nnext\r\n",
         {X1023 + "\nnext\n", ""}},
        {"a 1023-byte last line without a line end", "$Normal\r\n" + X1023, {X1023 + "\n", ""}},
        {"a 1023-byte line with LF only", "$Normal\n" + X1023 + "\nnext\n", {X1023 + "\nnext\n", ""}},
        {"a 1024-byte line gives 1023 bytes and ends the reading", "$Normal\r\n" + X1024 + "\r\nnext\r\n",
         {X1023 + "\n", ""}},
        {"a 1100-byte line gives 1023 bytes and ends the reading",
         "$Normal\r\n" + X1100 + "\r\n$Hide\r\nnever\r\n$Dance\r\n", {X1023 + "\n", ""}},
        {"1023 bytes then a stray CR is over-long", "$Normal\r\n" + X1023 + "\rz\r\n$Hide\r\nh\r\n",
         {X1023 + "\n", ""}},
        {"1023 bytes then CR LF is whole", "$Normal\n" + X1023 + "\r\n$Hide\nh\n", {X1023 + "\n", "h\n"}},
        {"a double-byte character across the 1023-byte mark is cut",
         "$Normal\r\n" + X1022 + "\x82\xa0\r\nnext\r\n", {X1022 + "\x82\n", ""}},
        {"an over-long line before any section ends the reading", X1100 + "\r\n$Normal\r\na\r\n", {"", ""}},
        {"an over-long line after $End ends the reading", "$Normal\na\n$End\n" + X1100 + "\n$Normal\nb\n",
         {"a\n", ""}},
        {"lines before the first section are dropped", "title\r\nby us\r\n$Normal\r\na\r\n", {"a\n", ""}},
        {"lines after $End are dropped up to the next section",
         "$Normal\r\na\r\n$End\r\nnote\r\n$Hide\r\nh\r\n", {"a\n", "h\n"}},
        {"two $Normal sections join in file order", "$Normal\r\na\r\n$Hide\r\nh\r\n$Normal\r\nb\r\n",
         {"a\nb\n", "h\n"}},
        {"$Dance $Dance gives an empty dance frame", "$Dance\r\n$Dance\r\nd\r\n", {"", "", "", "d\n"}},
        {"$Dance collects up to the end of the file", "$Dance\r\nd1\r\nd2", {"", "", "d1\nd2\n"}},
        {"$Dance as the last line opens a frame", "$Normal\r\na\r\n$Dance", {"a\n", "", ""}},
        {"$Hide after $Dance adds to frame 1; the next $Dance is new",
         "$Hide\r\nh1\r\n$Dance\r\nd1\r\n$Hide\r\nh2\r\n$Dance\r\nd2\r\n", {"", "h1\nh2\n", "d1\n", "d2\n"}},
        {"a dance frame that was left is never added to again",
         "$Dance\r\nd1\r\n$End\r\nx\r\n$Normal\r\nn\r\n$Dance\r\nd2\r\n", {"n\n", "", "d1\n", "d2\n"}},
        {"dance frames keep the file's order", "$Dance\na\n$Dance\nb\n$Dance\nc\n", {"", "", "a\n", "b\n", "c\n"}},
        {"a NUL ends a line's text", Bytes("$Normal\r\na\0b\r\nc\r\n"), {"a\nc\n", ""}},
        {"a section name followed by a NUL is a section line", Bytes("$Hide\r\n$Normal\0junk\r\nart\r\n"),
         {"art\n", ""}},
        {"cp932 bytes are kept, trail bytes 0x5C and 0x7C included",
         "$Normal\r\n\x83\x5c\x95\x5c\x83\x7c \xc0\xcc\r\n", {"\x83\x5c\x95\x5c\x83\x7c \xc0\xcc\n", ""}},
    };
}

// Lines that look like section names but are not: inside a section each is art.
const char *const NearMisses[] = {
    "$normal", "$NORMAL", "$Normal ", " $Normal", "$Normal\t", "\t$Normal", "$Normal\r", "$Nor\x01mal",
    "$Normal\x01", "\x01$Normal", "$Normal\x7f", "$Normal\x81", "$Normal\x81\x40", "$Norma", "$Normall",
    "\x81\x90\x82\x6d\x82\x8f\x82\x92\x82\x8d\x82\x81\x82\x8c", // ＄Ｎｏｒｍａｌ
    "$hide", "$Hide ", " $Hide", "$Hide\r", "$dance", "$Dance ", "$Dance\t", "$DANCE", "$end", "$End ",
    " $End", "$En", "$Ende", "Normal", "$ Normal",
};

} // namespace

TEST_CASE("art file rules, case by case")
{
    for (const Case &c : RuleCases()) {
        const std::string what = c.what;
        CAPTURE(what);
        ArtFolder art;
        CHECK(art.Load(c.file));
        CHECK_FRAMES(Frames.List, c.frames);
        CHECK(DanceFrameCount() == (int)c.frames.size() - 2);
    }
}

TEST_CASE("near misses of section names are art lines")
{
    for (const char *miss : NearMisses) {
        std::string line = miss;
        CAPTURE(Show(line));
        ArtFolder art;
        CHECK(art.Load("$Hide\r\n" + line + "\r\nafter\r\n"));
        CHECK_FRAMES(Frames.List, (FrameTexts{"", line + "\nafter\n"}));
    }
}

TEST_CASE("a file with CR LF line ends gives the frames of the same file with LF")
{
    const std::string crlf = "title\r\n$Normal\r\n n \r\n\r\n$Hide\r\n|\r\n$Dance\r\n\x83\x5e\r\n$End\r\nx\r\n"
                             "$Dance\r\n\xc0\xcc\r\n$Normal\r\nmore";
    ArtFolder art;
    CHECK(art.Load(crlf));
    const FrameTexts withCrLf = Frames.List.Texts();
    CHECK(art.Load(Replace(crlf, "\r\n", "\n")));
    CHECK_FRAMES(Frames.List, withCrLf);
    CHECK(Frames.List.size() == 4);
}

TEST_CASE("a missing art file gives the built-in frames and false")
{
    ArtFolder art; // the folder exists, the file does not
    CHECK_FALSE(LoadFrames(art.Path()));
    CHECK_FRAMES(Frames.List, BuiltinTexts());
    CHECK(DanceFrameCount() == 2);
}

TEST_CASE("no art path (the host gave no folder) gives the built-in frames and false")
{
    CHECK_FALSE(LoadFrames(""));
    CHECK_FRAMES(Frames.List, BuiltinTexts());
}

TEST_CASE("a folder in place of the art file gives the built-in frames and false")
{
    ArtFolder art;
    REQUIRE(CreateDirectoryW(art.file.c_str(), nullptr));
    CHECK_FALSE(LoadFrames(art.Path()));
    CHECK_FRAMES(Frames.List, BuiltinTexts());
}

TEST_CASE("an art file held open by another program is read unless that program shares no reading")
{
    // An editor holds the file with write access and lets others read and
    // write; a program still writing it may share reading only. The panel
    // only reads, so only a holder that shares nothing keeps the file from it.
    struct Case {
        const char *what;
        DWORD access, sharing;
        bool read;
    } const cases[] = {
        {"without sharing", GENERIC_READ, 0, false},
        {"as an editor holds it", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, true},
        {"while being written, sharing reading", GENERIC_WRITE, FILE_SHARE_READ, true},
    };
    for (const Case &c : cases) {
        CAPTURE(std::string(c.what));
        ArtFolder art;
        REQUIRE(WriteFileBytes(art.file, "$Normal\r\nheld\r\n"));
        HANDLE held = CreateFileW(art.file.c_str(), c.access, c.sharing, nullptr, OPEN_EXISTING, 0, nullptr);
        REQUIRE(held != INVALID_HANDLE_VALUE);
        CHECK(LoadFrames(art.Path()) == c.read);
        CloseHandle(held);
        CHECK_FRAMES(Frames.List, (c.read ? FrameTexts{"held\n", ""} : BuiltinTexts()));
        CHECK(LoadFrames(art.Path())); // and once let go, the file is read
        CHECK(Frames.List[0] == "held\n");
    }
}

TEST_CASE("a second LoadFrames gives exactly what the first gave")
{
    ArtFolder art;
    const std::string file = "$Normal\r\nn\r\n$Hide\r\nh\r\n$Dance\r\nd1\r\n$Dance\r\n$Dance\r\nd3\r\n";
    CHECK(art.Load(file));
    const FrameTexts first = Frames.List.Texts();
    CHECK(LoadFrames(art.Path()));
    CHECK_FRAMES(Frames.List, first);

    SUBCASE("a shorter file later leaves nothing of the longer one")
    {
        CHECK(art.Load("$Hide\r\nonly\r\n"));
        CHECK_FRAMES(Frames.List, (FrameTexts{"", "only\n"}));
    }
    SUBCASE("a file gone by then gives the built-in frames")
    {
        REQUIRE(DeleteFileW(art.file.c_str()));
        CHECK_FALSE(LoadFrames(art.Path()));
        CHECK_FRAMES(Frames.List, BuiltinTexts());
        REQUIRE(WriteFileBytes(art.file, file));
        CHECK(LoadFrames(art.Path()));
        CHECK_FRAMES(Frames.List, first);
    }
}

TEST_CASE("CurrentFrameText is the frame at FrameIndex")
{
    ArtFolder art;
    CHECK(art.Load("$Normal\nn\n$Hide\nh\n$Dance\nd1\n$Dance\nd2\n"));
    const int32_t saved = Anim.FrameIndex;
    const char *const expected[] = {"n\n", "h\n", "d1\n", "d2\n"};
    for (int32_t index = 0; index < 4; ++index) {
        Anim.FrameIndex = index;
        CHECK(std::string(CurrentFrameText()) == expected[index]);
    }
    Anim.FrameIndex = saved;
}

TEST_CASE("the built-in frames have their fixed shape")
{
    struct Shape {
        int lines, widest, length;
    } const shapes[BUILTIN_FRAME_COUNT] = {{9, 25, 221}, {9, 13, 133}, {8, 48, 323}, {8, 52, 354}};
    const std::string indent = "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40"; // six U+3000
    bool ascii = false, halfWidthKana = false, doubleByte = false;

    for (int slot = 0; slot < BUILTIN_FRAME_COUNT; ++slot) {
        CAPTURE(slot);
        const char *bytes = BuiltinFrames[slot];
        const std::string text(bytes, strnlen(bytes, BUILTIN_SLOT_BYTES));
        CHECK((int)text.size() == shapes[slot].length);
        REQUIRE(text.size() < BUILTIN_SLOT_BYTES);
        for (size_t i = text.size(); i < BUILTIN_SLOT_BYTES; ++i)
            REQUIRE(bytes[i] == '\0'); // zero-padded to the end of the slot

        // Lines separated by CR LF, none after the last, no lone CR or LF.
        CHECK(Replace(Replace(text, "\r\n", ""), "\r", "").find('\n') == std::string::npos);
        CHECK(Replace(text, "\r\n", "").find('\r') == std::string::npos);
        CHECK(text.substr(text.size() - 1) != "\n");
        std::vector<std::string> lines;
        for (size_t start = 0;;) {
            size_t end = text.find("\r\n", start);
            lines.push_back(text.substr(start, end == std::string::npos ? std::string::npos : end - start));
            if (end == std::string::npos)
                break;
            start = end + 2;
        }
        CHECK((int)lines.size() == shapes[slot].lines);
        size_t widest = 0;
        for (const std::string &line : lines)
            widest = std::max(widest, line.size());
        CHECK((int)widest == shapes[slot].widest);

        // Valid cp932 throughout; which kinds of characters appear.
        CHECK(MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, text.data(), (int)text.size(), nullptr, 0) > 0);
        for (size_t i = 0; i < text.size(); ++i) {
            unsigned char c = (unsigned char)text[i];
            if (IsDBCSLeadByteEx(932, c)) {
                doubleByte = true;
                ++i;
            } else if (c >= 0xa1 && c <= 0xdf) {
                halfWidthKana = true;
            } else if (c >= 0x21 && c <= 0x7e) {
                ascii = true;
            }
        }

        // The normal and hide frames: six ideographic spaces, then the edge in
        // the same column; the hide frame is that and nothing more.
        if (slot <= 1) {
            for (const std::string &line : lines) {
                CAPTURE(Show(line));
                CHECK(line.compare(0, indent.size(), indent) == 0);
                CHECK(line.size() > indent.size());
                CHECK(line[indent.size()] == BuiltinFrames[1][indent.size()]);
                if (slot == 1)
                    CHECK(line.size() == indent.size() + 1);
            }
        }
        if (slot >= 2)
            CHECK(text.find("Tuftling") != std::string::npos);
    }
    CHECK(ascii);
    CHECK(halfWidthKana);
    CHECK(doubleByte);
}

TEST_CASE("the built-in set has the shape of an art file with its sections")
{
    std::string file = "$Normal\r\n" + std::string(BuiltinFrames[0]) + "\r\n$Hide\r\n" + BuiltinFrames[1] +
                       "\r\n$Dance\r\n" + BuiltinFrames[2] + "\r\n$Dance\r\n" + BuiltinFrames[3] + "\r\n";
    ArtFolder art;
    CHECK(art.Load(file));
    FrameTexts expected;
    for (const std::string &text : BuiltinTexts())
        expected.push_back(Replace(text, "\r\n", "\n") + "\n");
    CHECK_FRAMES(Frames.List, expected);
}

namespace {

// Random art files: section lines and near misses, ASCII, half-width katakana
// and double-byte text, raw bytes, long lines near the limit, every kind of
// line end, and now and then a Ctrl-Z or a NUL.
class ArtGenerator {
public:
    explicit ArtGenerator(unsigned seed) : rng_(seed) {}

    std::string File()
    {
        std::string file;
        const int lines = Pick(0, 40);
        for (int i = 0; i < lines; ++i) {
            file += Line();
            file += i + 1 == lines && Pick(0, 3) == 0 ? "" : LineEnd();
        }
        if (!file.empty() && Pick(0, 40) == 0)
            file.insert(Pick(0, (int)file.size() - 1), 1, '\x1a');
        if (!file.empty() && Pick(0, 40) == 0)
            file.insert(Pick(0, (int)file.size() - 1), 1, '\0');
        return file;
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }

    std::string Line()
    {
        static const char *const names[] = {"$Normal", "$Hide", "$Dance", "$End"};
        switch (Pick(0, 19)) {
        case 0: case 1: case 2: case 3: case 4: case 5:
            return names[Pick(0, 3)];
        case 6: case 7:
            return NearMisses[Pick(0, (int)(sizeof NearMisses / sizeof *NearMisses) - 1)];
        case 8:
            return "";
        case 9:
            return Text(Pick(1018, 1030));
        case 10:
            return Text(Pick(0, 1) ? 1023 : 1024);
        case 11:
            return Raw(Pick(0, 30));
        default:
            return Text(Pick(0, 60));
        }
    }

    std::string LineEnd()
    {
        static const char *const ends[] = {"\n", "\r\n", "\n", "\r\n", "\r\r\n", "\r", "\n\r\n"};
        return ends[Pick(0, 6)];
    }

    // cp932 text: ASCII, half-width katakana and double-byte characters
    // (their trail bytes include 0x5C and 0x7C), cut at exactly `bytes`.
    std::string Text(int bytes)
    {
        std::string text;
        while ((int)text.size() < bytes) {
            switch (Pick(0, 2)) {
            case 0:
                text += (char)Pick(0x20, 0x7e);
                break;
            case 1:
                text += (char)Pick(0xa1, 0xdf);
                break;
            default: {
                int lead = Pick(0, 1) ? Pick(0x81, 0x9f) : Pick(0xe0, 0xef);
                int trail = Pick(0x40, 0xfb);
                text += (char)lead;
                text += (char)(trail == 0x7f ? 0x5c : trail);
            }
            }
        }
        return text.substr(0, bytes);
    }

    std::string Raw(int bytes)
    {
        std::string raw;
        for (int i = 0; i < bytes; ++i)
            raw += (char)Pick(1, 255);
        return raw;
    }

    std::mt19937 rng_;
};

size_t LongestLine(const std::string &file)
{
    size_t longest = 0;
    for (size_t start = 0; start <= file.size();) {
        size_t lf = file.find('\n', start);
        size_t end = lf == std::string::npos ? file.size() : lf;
        longest = std::max(longest, end - start);
        start = end + 1;
    }
    return longest;
}

} // namespace

TEST_CASE("LoadFrames, and the reader fed a few bytes at a time, agree with the model on random art files")
{
    const int FILES = 3000;
    ArtFolder art;
    int mismatches = 0, danceFrames = 0, overLong = 0, ctrlZ = 0;
    for (int n = 0; n < FILES && mismatches < 5; ++n) {
        ArtGenerator generator(20240 + n);
        const std::string file = generator.File();
        CAPTURE(n);
        CAPTURE(Show(file));
        CHECK(art.Load(file));
        const FrameTexts expected = ModelFrames(file);
        // A short read is not the end of the file: the frames after it count.
        FrameStore trickled;
        ShortReads slowly(file, n);
        ReadArt(slowly, trickled);
        if (Frames.List.Texts() != expected || trickled.Texts() != expected) {
            ++mismatches;
            CHECK_FRAMES(Frames.List, expected);
            CHECK_FRAMES(trickled, expected);
        }
        danceFrames += DanceFrameCount();
        overLong += LongestLine(file) > 1023;
        ctrlZ += file.find('\x1a') != std::string::npos;
    }
    CHECK(mismatches == 0);
    // The generator must reach the interesting parts.
    CHECK(danceFrames > FILES / 3);
    CHECK(overLong > FILES / 10);
    CHECK(ctrlZ > FILES / 100);
}

TEST_CASE("the frame store grows and shrinks across loads and keeps every frame whole")
{
    // Thousands of dance frames outgrow the store's buffer several times on
    // the first load; the normal and hide frames gather from many sections in
    // between. A small load must then leave nothing of the big one behind,
    // not even most of its room, and the big one must read the same again.
    std::mt19937 rng(7);
    auto pick = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    std::string big;
    for (int n = 0; n < 4000; ++n) {
        big += pick(0, 9) == 0 ? (pick(0, 1) ? "$Normal\r\n" : "$Hide\r\n") : "$Dance\r\n";
        for (int lines = pick(0, 12); lines > 0; --lines) {
            std::string line(pick(0, 120), (char)('a' + n % 26));
            if (!line.empty() && pick(0, 20) == 0)
                line[pick(0, (int)line.size() - 1)] = '\t'; // a control byte: the general path
            big += line + (pick(0, 3) ? "\r\n" : "\n");
        }
    }
    const std::string small = "$Dance\nonly\n$Normal\nn\n";
    const FrameTexts bigFrames = ModelFrames(big), smallFrames = ModelFrames(small);
    REQUIRE(bigFrames.size() > 3000);

    FrameStore store;
    const std::string *const files[] = {&big, &small, &big, &small};
    for (const std::string *file : files) {
        ArtBytes in(*file);
        ReadArt(in, store);
        CHECK_FRAMES(store, ModelFrames(*file));
        bool terminated = true;
        for (size_t i = 0; i < store.size(); ++i)
            terminated = terminated && strlen(store.Text(i)) == store[i].size();
        CHECK(terminated);
        // The buffer holds the big file's dance frames, and gives most of
        // that back once a small file replaces it.
        if (file == &big)
            CHECK(store.Capacity() > big.size() / 2);
        else
            CHECK(store.Capacity() <= 64 * 1024);
    }
    CHECK(bigFrames.size() > smallFrames.size());
}

TEST_CASE("CR LF pairs across the 64 KiB read boundary read the same")
{
    // The reader takes the file in 64 KiB blocks: put a CR LF, a lone CR, a
    // Ctrl-Z and a double-byte character across each boundary in turn.
    const size_t BLOCK = 64 * 1024;
    struct Straddle {
        const char *what;
        std::string bytes; // its first byte lands on the last byte of a block
    } const straddles[] = {
        {"CR LF", "\r\n"},
        {"CR CR LF", "\r\r\n"},
        {"a lone CR", "\rz"},
        {"a CR at the very end", "\r"},
        {"Ctrl-Z after CR", "\r\x1a"},
        {"a double-byte character", "\x83\x5c"},
    };
    ArtFolder art;
    for (size_t boundary : {BLOCK, 2 * BLOCK, 3 * BLOCK}) {
        for (const Straddle &s : straddles) {
            for (size_t shift : {0u, 1u}) {
                CAPTURE(boundary);
                const std::string what = s.what;
                CAPTURE(what);
                CAPTURE(shift);
                std::string file = "$Normal\r\n";
                for (unsigned n = 0; file.size() + 200 < boundary - 1 - shift; ++n)
                    file += "line " + std::to_string(n) + " \x83\x5e\x83\x74\xc0\xcc of the art\r\n";
                file += std::string(boundary - 1 - shift - file.size(), 'y');
                file += s.bytes;
                if (s.bytes != "\r")
                    file += "tail\r\n$Hide\r\nh\r\n";
                REQUIRE(file.size() >= boundary - shift);
                CHECK(art.Load(file));
                CHECK_FRAMES(Frames.List, ModelFrames(file));
                // The same file with LF line ends gives the same frames (CR CR
                // LF aside, which would become CR LF).
                if (file.find("\r\r") == std::string::npos) {
                    const FrameTexts withCrLf = Frames.List.Texts();
                    CHECK(art.Load(Replace(file, "\r\n", "\n")));
                    CHECK_FRAMES(Frames.List, withCrLf);
                }
            }
        }
    }
}

TEST_CASE("runs of dance frames read the same however many come in one read")
{
    // Hundreds of dance frames, empty ones among them, come in one block; the
    // "$Dance" lines between them are read with the art lines around them.
    std::string run = "$Dance\r\n";
    for (int n = 0; n < 900; ++n)
        run += n % 3 == 0 ? "$Dance\r\n" : n % 3 == 1 ? "ab\r\n$Dance\n" : "a line of the dance frame\r\n$Dance\r\n";
    struct Case {
        const char *what;
        std::string file;
    } const cases[] = {
        {"a run", run},
        {"a run ending in a $Dance line without a line end", run + "$Dance"},
        {"a run after the normal frame and before the hide frame", "$Normal\r\nn\r\n" + run + "$Hide\r\nh\r\n"},
        {"a run with a near miss in it", run + "$Dancf\r\nx\r\n$Dance\r\n$dance\r\ny\r\n"},
    };
    ArtFolder art;
    for (const Case &c : cases) {
        const std::string what = c.what;
        CAPTURE(what);
        CHECK(art.Load(c.file));
        CHECK_FRAMES(Frames.List, ModelFrames(c.file));
    }
    CHECK(DanceFrameCount() > 900);

    // A "$Dance" line, its CR LF, or the line after it across the 64 KiB
    // read boundary.
    const size_t BLOCK = 64 * 1024;
    for (size_t shift = 0; shift <= 9; ++shift) {
        CAPTURE(shift);
        std::string file = "$Dance\r\n";
        while (file.size() + 60 < BLOCK - shift)
            file += "first frame, first lines \x83\x5e\x83\x74\r\n";
        file += std::string(BLOCK - shift - file.size(), 'y') + "\r\n";
        file += "$Dance\r\nsecond\r\n$Dance\r\nthird\r\n";
        CHECK(art.Load(file));
        CHECK_FRAMES(Frames.List, ModelFrames(file));
        CHECK(DanceFrameCount() == 3);
    }
}

TEST_CASE("a CR that ends the file after a block boundary stays a lone CR")
{
    // The last, partial block ends in a CR; the byte after it in the read
    // buffer is left over from the block before, and there it is an LF. It
    // must not make a CR LF.
    const size_t BLOCK = 64 * 1024, TAIL = 100;
    std::string file = "$Normal\n";
    file += std::string(TAIL + 1 - file.size(), 'a') + "\n"; // the LF lands at TAIL + 1
    while (file.size() + 50 < BLOCK + TAIL)
        file += std::string(40, 'b') + "\n";
    file += std::string(BLOCK + TAIL - file.size(), 'c') + "\r";
    REQUIRE(file[TAIL + 1] == '\n');
    REQUIRE(file.size() == BLOCK + TAIL + 1);
    ArtFolder art;
    CHECK(art.Load(file));
    CHECK_FRAMES(Frames.List, ModelFrames(file));
    CHECK(Frames.List[0].substr(Frames.List[0].size() - 2) == "\r\n");
}

TEST_CASE("section names match only whole and byte for byte under code page 932")
{
    REQUIRE(GetACP() == 932);
    const char *const names[] = {"$Normal", "$Hide", "$Dance", "$End"};
    int tried = 0;
    std::string equal; // the near misses taken for a name
    auto check = [&](const std::string &line, const char *name) {
        ++tried;
        if (line != name && IsSectionLine(line.c_str(), name) && equal.size() < 500)
            equal += Show(line) + " ";
    };
    for (const char *name : names) {
        CHECK(IsSectionLine(name, name));
        const std::string base = name;
        for (size_t at = 0; at <= base.size(); ++at) {
            for (int b = 1; b < 256; ++b) {
                check(base.substr(0, at) + (char)b + base.substr(at), name); // one byte more
                if (at < base.size())
                    check(base.substr(0, at) + (char)b + base.substr(at + 1), name); // one byte other
            }
            if (at < base.size())
                check(base.substr(0, at) + base.substr(at + 1), name); // one byte fewer
        }
        // One double-byte character more, at the start, in the middle and at the end.
        for (size_t at : {(size_t)0, base.size() / 2, base.size()})
            for (int lead = 0x81; lead <= 0xfc; ++lead)
                if (IsDBCSLeadByteEx(932, (BYTE)lead))
                    for (int trail = 0x40; trail <= 0xfc; ++trail)
                        check(base.substr(0, at) + (char)lead + (char)trail + base.substr(at), name);
        for (const char *other : names)
            CHECK(IsSectionLine(other, name) == (other == name));
    }
    CAPTURE(tried);
    CHECK(equal == "");
}
