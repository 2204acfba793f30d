/* The check. Text findings come from the lines as the panel reads them
 * (ArtLayout); sizes come from the panel's own surface, font and text
 * format, at each point size the menu offers or at the one asked for, held
 * against the panel's picture and against the window a host shows it in.
 *
 * A file in another encoding is named as that first. UTF-16 gives the panel
 * no line it could use, so nothing else is said of it; of a UTF-8 file only
 * what does not depend on its characters is checked, since everything
 * measured on characters the panel misreads would be wrong. Positions within
 * a line are counted in characters, as an editor counts them. */
#include "Check.h"


#include "ArtLayout.h"
#include "ArtReader.h"
#include "Say.h"
#include "Encoding.h"
#include "Findings.h"
#include "JapaneseText.h"
#include "Paint.h"
#include "PanelWindow.h"
#include "Settings.h"
#include "Surface.h"

#include <windows.h>

#include <algorithm>
#include <ctype.h>
#include <string_view>

namespace {

const int MenuSizes[] = {POINTS_SMALL, POINTS_MEDIUM, POINTS_LARGE};
const char Bom[] = "\xEF\xBB\xBF";

bool IsBlank(const std::string &line)
{
    return line.find_first_not_of(" \t\r") == std::string::npos;
}

// The section line this line was probably meant to be, and what keeps it
// from being one; null when it is nothing like a section line.
const char *MeantSection(std::string line, std::string &why)
{
    std::vector<std::string> reasons;
    if (line.compare(0, 3, Bom) == 0) {
        line.erase(0, 3);
        reasons.push_back("a byte-order mark before it");
    }
    // Blanks: ASCII space, tab, a stray CR, and the ideographic space.
    auto blankAt = [&](size_t at) -> size_t {
        if (at < line.size() && (line[at] == ' ' || line[at] == '\t' || line[at] == '\r'))
            return 1;
        return line.compare(at, 2, "\x81\x40") == 0 ? 2 : 0;
    };
    size_t start = 0, stop = line.size();
    while (size_t n = blankAt(start))
        start += n;
    while (stop > start) {
        size_t n = blankAt(stop - 1) == 1 ? 1 : stop - start >= 2 && blankAt(stop - 2) == 2 ? 2 : 0;
        if (!n)
            break;
        stop -= n;
    }
    if (start > 0 || stop < line.size())
        reasons.push_back("blanks around it");
    line = line.substr(start, stop - start);
    if (line.compare(0, 2, "\x81\x90") == 0) { // ＄ in code page 932
        line.replace(0, 2, "$");
        reasons.push_back("a full-width dollar sign");
    } else if (line.compare(0, 3, "\xEF\xBC\x84") == 0) { // ＄ in UTF-8
        line.replace(0, 3, "$");
        reasons.push_back("a full-width dollar sign");
    }
    for (const char *name : SectionNames) {
        if (lstrcmpiA(line.c_str(), name) != 0 || line.size() != strlen(name))
            continue;
        if (line != name)
            reasons.push_back("letters in another case");
        if (reasons.empty())
            return nullptr;
        why.clear();
        for (const std::string &r : reasons)
            why += (why.empty() ? "" : ", ") + r;
        return name;
    }
    return nullptr;
}

// The character, counted from 1, at which byte `at` of a code page 932 line starts.
int CharacterAt(const std::string &line, size_t at)
{
    int column = 1;
    for (size_t i = 0; i < at && i < line.size(); ++column)
        i += IsDBCSLeadByteEx(932, (BYTE)line[i]) ? 2 : 1;
    return column;
}

// Edits (letters put in, left out or changed) from one word to another,
// regardless of case.
size_t Distance(const std::string &a, const std::string &b)
{
    std::vector<size_t> row(b.size() + 1);
    for (size_t j = 0; j <= b.size(); ++j)
        row[j] = j;
    for (size_t i = 1; i <= a.size(); ++i) {
        size_t diagonal = row[0];
        row[0] = i;
        for (size_t j = 1; j <= b.size(); ++j) {
            size_t above = row[j];
            bool same = tolower((unsigned char)a[i - 1]) == tolower((unsigned char)b[j - 1]);
            row[j] = std::min({row[j] + 1, row[j - 1] + 1, diagonal + (same ? 0 : 1)});
            diagonal = above;
        }
    }
    return row[b.size()];
}

// For a line that is "$" and a word, such as "$Dnace", but no section line
// (nor a near miss that MeantSection names): the nearest section name.
const char *NearestSection(const std::string &line)
{
    size_t start = line.find_first_not_of(" \t\r");
    size_t stop = line.find_last_not_of(" \t\r");
    if (start == std::string::npos || line[start] != '$' || stop == start)
        return nullptr;
    const std::string word = line.substr(start, stop - start + 1);
    for (size_t i = 1; i < word.size(); ++i)
        if (!isalpha((unsigned char)word[i]))
            return nullptr;
    const char *nearest = nullptr;
    size_t best = (size_t)-1;
    for (const char *name : SectionNames) {
        size_t d = Distance(word, name);
        if (d < best)
            best = d, nearest = name;
    }
    return nearest;
}

// The first byte of the line that is not part of a code page 932 character,
// or npos; `pair` tells whether it starts a two-byte sequence.
size_t FirstInvalidCp932(const std::string &line, bool &pair)
{
    if (line.empty() ||
        MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, line.data(), (int)line.size(), nullptr, 0) > 0)
        return std::string::npos;
    for (size_t i = 0; i < line.size();) {
        pair = IsDBCSLeadByteEx(932, (BYTE)line[i]) != 0;
        size_t n = pair ? 2 : 1;
        if (i + n > line.size() ||
            MultiByteToWideChar(932, MB_ERR_INVALID_CHARS, line.data() + i, (int)n, nullptr, 0) == 0)
            return i;
        i += n;
    }
    return std::string::npos;
}

// The first "&" that DrawText takes as a prefix of the next character.
size_t FirstLoneAmpersand(const std::string &line)
{
    for (size_t i = 0; i < line.size(); ++i) {
        if (IsDBCSLeadByteEx(932, (BYTE)line[i]))
            ++i;
        else if (line[i] == '&' && i + 1 < line.size() && line[i + 1] == '&')
            ++i;
        else if (line[i] == '&')
            return i;
    }
    return std::string::npos;
}

// What a line of a frame holds that the panel draws otherwise than meant.
void CheckCharacters(const ArtLine &line, Findings &found)
{
    const size_t nul = line.Bytes.find('\0');
    const std::string drawn = line.Bytes.substr(0, nul);
    if (nul != std::string::npos)
        found.Warning(line.Number, Format("a NUL byte ends what the panel keeps of this line after %d characters",
                                          CharacterAt(drawn, nul) - 1));
    bool pair = false;
    size_t bad = FirstInvalidCp932(drawn, pair);
    if (bad != std::string::npos && pair && bad + 1 >= drawn.size())
        found.Error(line.Number, Format("character %d (byte 0x%02X) begins a double-byte code page 932 character "
                                        "that the line ends before",
                                        CharacterAt(drawn, bad), (unsigned char)drawn[bad]));
    else if (bad != std::string::npos && pair)
        found.Error(line.Number, Format("character %d (bytes 0x%02X 0x%02X) is no code page 932 character",
                                        CharacterAt(drawn, bad), (unsigned char)drawn[bad],
                                        (unsigned char)drawn[bad + 1]));
    else if (bad != std::string::npos)
        found.Error(line.Number, Format("character %d (byte 0x%02X) is no code page 932 character",
                                        CharacterAt(drawn, bad), (unsigned char)drawn[bad]));
    size_t amp = FirstLoneAmpersand(drawn);
    if (amp != std::string::npos)
        found.Warning(line.Number, Format("the \"&\" at character %d underlines the character after it instead "
                                          "of drawing itself: write \"&&\" to draw one",
                                          CharacterAt(drawn, amp)));
}

// Tabs, which the panel's text drawing does not expand: each is drawn as a box.
void CheckTabs(const ArtLine &line, Findings &found)
{
    const std::string drawn = line.Bytes.substr(0, line.Bytes.find('\0'));
    std::string at;
    int tabs = 0;
    for (size_t i = drawn.find('\t'); i != std::string::npos; i = drawn.find('\t', i + 1))
        at += Format("%s%d", tabs++ ? ", " : "", CharacterAt(drawn, i));
    if (tabs)
        found.Warning(line.Number, Format("%s at character%s %s: the panel draws each tab as a box, not as "
                                          "blanks (write spaces instead)",
                                          tabs == 1 ? "a tab" : Format("%d tabs", tabs).c_str(),
                                          tabs == 1 ? "" : "s", at.c_str()));
}

void CheckText(const ArtLayout &art, Encoding encoding, Findings &found)
{
    if (art.Bom)
        found.Error(1, "the file starts with a UTF-8 byte-order mark, but the panel reads code page 932: "
                       "it takes the mark as part of the first line (TuftlingArt convert writes the file "
                       "without it)");
    if (encoding == Encoding::Utf8) {
        int line = 1;
        for (const ArtLine &l : art.Lines)
            if (std::any_of(l.Bytes.begin(), l.Bytes.end(), [](char c) { return (unsigned char)c >= 0x80; })) {
                line = l.Number;
                break;
            }
        found.Error(line, EncodingTrouble(encoding));
    }
    if (art.TooLongLine)
        found.Error(art.TooLongLine,
                    Format("this line is %u bytes long, but the panel reads lines of at most %u bytes: it keeps "
                           "the first %u and reads nothing after them (%d more lines lost)",
                           (unsigned)art.Lines.back().Length, (unsigned)ART_LINE_BYTES - 1,
                           (unsigned)ART_LINE_BYTES - 1, art.UnreadLines));
    if (art.CtrlZLine)
        found.Error(art.CtrlZLine, Format("a Ctrl-Z (byte 0x1A) ends the panel's reading here: the %d lines "
                                          "with text after it are never read",
                                          art.UnreadLines));
    for (const ArtLine &line : art.Lines) {
        std::string why;
        const char *effect = line.Role == ROLE_FRAME ? "draws it as a line of art" : "ignores it";
        if (line.Role == ROLE_SECTION)
            continue;
        if (const char *meant = MeantSection(line.Bytes, why))
            found.Warning(line.Number, Format("this line looks like the section line \"%s\" but is not one (%s): "
                                              "the panel %s",
                                              meant, why.c_str(), effect));
        else if (const char *nearest = NearestSection(line.Bytes))
            found.Warning(line.Number, Format("this line starts with \"$\" but is no section line (the section "
                                              "lines are $Normal, $Hide, $Dance and $End; the nearest is \"%s\"): "
                                              "the panel %s",
                                              nearest, effect));
        if (line.Role == ROLE_FRAME)
            CheckTabs(line, found);
        if (line.Role == ROLE_FRAME && encoding == Encoding::Cp932)
            CheckCharacters(line, found);
    }
}

void CheckSections(const ArtLayout &art, Findings &found)
{
    const FrameStore &frames = art.Frames;
    if (!art.FrameLine[FRAME_NORMAL])
        found.Error(1, "there is no $Normal section, so the standing mascot is an empty panel (an art file "
                       "replaces all of the built-in drawings)");
    else if (frames[FRAME_NORMAL].empty())
        found.Error(art.FrameLine[FRAME_NORMAL], "the $Normal frame has no lines: the standing mascot is an "
                                                 "empty panel");
    if (!art.FrameLine[FRAME_HIDE])
        found.Warning(1, "there is no $Hide section, so the hiding mascot is an empty panel");
    if (frames.size() == FRAME_FIRST_DANCE)
        found.Warning(1, "there is no $Dance section, so a click does nothing");
    for (size_t i = FRAME_FIRST_DANCE; i < frames.size(); ++i)
        if (frames[i].empty())
            found.Warning(art.FrameLine[i], Format("this %s frame is empty: the panel shows nothing for one "
                                                   "step of the dance",
                                                   FrameName(i).c_str()));
}

// Per frame, its lines in the order the panel draws them.
typedef std::vector<std::vector<const ArtLine *>> FrameLines;

FrameLines LinesByFrame(const ArtLayout &art)
{
    FrameLines lines(art.Frames.size());
    for (const ArtLine &line : art.Lines)
        if (line.Role == ROLE_FRAME && line.Frame < lines.size())
            lines[line.Frame].push_back(&line);
    return lines;
}

// Each frame's size at one point size, in the panel's own font and format,
// and, for a frame wider than `widthLimit`, which of its lines is widest.
struct Measured {
    int Points;
    int LineHeight;
    std::vector<SIZE> Sizes;
    std::vector<size_t> Widest;
};

bool Measure(const ArtLayout &art, const FrameLines &lines, int points, int widthLimit, Measured &out)
{
    out = Measured{points, 0, {}, {}};
    TEXTMETRICA metrics;
    bool ok = CreateSurface() && CreatePanelFont(points) && GetTextMetricsA(Surface.DC, &metrics);
    if (ok)
        out.LineHeight = metrics.tmHeight;
    for (size_t i = 0; ok && i < art.Frames.size(); ++i) {
        std::vector<wchar_t> wide;
        out.Sizes.push_back(MeasureFrame(Surface.DC, FromArtCodePage(art.Frames.Text(i), -1, wide)));
        size_t widest = 0;
        LONG widestWidth = -1;
        for (size_t k = 0; out.Sizes.back().cx > widthLimit && k < lines[i].size(); ++k) {
            const std::string &bytes = lines[i][k]->Bytes;
            LONG width = MeasureFrame(Surface.DC, FromArtCodePage(bytes.c_str(), -1, wide)).cx;
            if (width > widestWidth) {
                widest = k;
                widestWidth = width;
            }
        }
        out.Widest.push_back(widest);
    }
    ReleaseSurface();
    return ok;
}

enum Axis { WIDTH, HEIGHT };

LONG Along(SIZE size, Axis axis)
{
    return axis == WIDTH ? size.cx : size.cy;
}

// The line where a frame meets the limit: its widest line, or the first line
// that reaches past the bottom.
int CutLine(const Measured &m, size_t frame, const FrameLines &lines, Axis axis, int limit)
{
    const std::vector<const ArtLine *> &own = lines[frame];
    if (own.empty())
        return 1;
    size_t k = axis == WIDTH ? m.Widest[frame] : m.LineHeight ? (size_t)(limit / m.LineHeight) : 0;
    return own[std::min(k, own.size() - 1)]->Number;
}

// For each frame and direction, the sizes at which it reaches beyond the
// panel's picture (an error at the size it must fit at), and apart from those
// the sizes at which it reaches beyond the panel window.
void CheckSizes(const ArtLayout &art, const FrameLines &lines, const std::vector<Measured> &measured, int mustFit,
                int windowWidth, int windowHeight, Findings &found)
{
    const int picture[] = {SURFACE_WIDTH - TEXT_INSET, SURFACE_HEIGHT - TEXT_INSET};
    const int window[] = {windowWidth - TEXT_INSET, windowHeight - TEXT_INSET};
    const bool ownWindow = windowWidth != PANEL_WIDTH || windowHeight != PANEL_HEIGHT;
    const std::string windowText = Format("a %d x %d panel window shows%s", windowWidth, windowHeight,
                                          ownWindow ? "" : " (the size hosts give the panel unless they enlarge it)");
    for (size_t i = 0; i < art.Frames.size(); ++i)
        for (Axis axis : {WIDTH, HEIGHT})
            for (bool inPicture : {true, false}) {
                const int limit = inPicture ? picture[axis] : window[axis];
                std::string sizes;
                const Measured *first = nullptr;
                bool error = false;
                for (const Measured &m : measured) {
                    LONG extent = Along(m.Sizes[i], axis);
                    if (extent <= limit || (!inPicture && extent > picture[axis]))
                        continue;
                    sizes += first ? Format(", %ld at %d points", (long)extent, m.Points)
                                   : Format("%ld pixels %s at %d points", (long)extent,
                                            axis == WIDTH ? "wide" : "tall", m.Points);
                    first = first ? first : &m;
                    error = error || (inPicture && m.Points == mustFit);
                }
                if (!first)
                    continue;
                const std::string where =
                    axis == WIDTH ? "at the right (this is its widest line"
                                  : Format("at the bottom from this line on (at %d points", first->Points);
                std::string message =
                    inPicture ? Format("the %s frame is %s, more than the %d the panel shows: it is cut off %s)",
                                       FrameName(i).c_str(), sizes.c_str(), limit, where.c_str())
                              : Format("the %s frame is %s, more than the %d %s: there it is cut off %s; "
                                       "--window WxH checks another size)",
                                       FrameName(i).c_str(), sizes.c_str(), limit, windowText.c_str(), where.c_str());
                int line = CutLine(*first, i, lines, axis, limit);
                if (error)
                    found.Error(line, message);
                else
                    found.Warning(line, message);
            }
}

int LinesOf(std::string_view frame)
{
    return (int)std::count(frame.begin(), frame.end(), '\n');
}

// Lines in no section that hold something: notes, which the panel ignores.
int NoteLines(const ArtLayout &art)
{
    return (int)std::count_if(art.Lines.begin(), art.Lines.end(),
                              [](const ArtLine &line) { return line.Role == ROLE_NONE && !IsBlank(line.Bytes); });
}

void PrintSummary(FILE *out, const std::string &file, const ArtLayout &art, const Measured *at)
{
    const FrameStore &frames = art.Frames;
    const int dances = (int)frames.size() - FRAME_FIRST_DANCE;
    const int timer = SettingDefault("DanceTimer");
    auto lines = [](int n) { return Format("%d line%s", n, n == 1 ? "" : "s"); };
    Say(out, "%s: what the panel will show\n", file.c_str());
    Say(out, "  standing: the $Normal frame, %s\n", lines(LinesOf(frames[FRAME_NORMAL])).c_str());
    Say(out, "  hiding:   the $Hide frame, %s\n", lines(LinesOf(frames[FRAME_HIDE])).c_str());
    if (dances)
        Say(out, "  dancing:  %d $Dance frame%s; a dance lasts %.1f s at the default DanceTimer of %d ms\n",
                dances, dances == 1 ? "" : "s", dances * timer / 1000.0, timer);
    else
        Say(out, "  dancing:  no $Dance frames, so no dance\n");
    size_t largest = 0;
    for (size_t i = 1; at && i < at->Sizes.size(); ++i)
        if (at->Sizes[i].cx * at->Sizes[i].cy > at->Sizes[largest].cx * at->Sizes[largest].cy)
            largest = i;
    if (at && at->Sizes[largest].cx * at->Sizes[largest].cy > 0)
        Say(out, "  largest:  the %s frame, %d x %d pixels at %d points (the panel shows up to %d x %d)\n",
                FrameName(largest).c_str(), (int)at->Sizes[largest].cx, (int)at->Sizes[largest].cy, at->Points,
                SURFACE_WIDTH - TEXT_INSET, SURFACE_HEIGHT - TEXT_INSET);
    if (int notes = NoteLines(art))
        Say(out, "  notes:    %s in no section, which the panel ignores\n", lines(notes).c_str());
    Say(out, "  to use:   save it as TuftlingAA.txt in the host's settings folder for plug-ins (the newer host: "
             "<host folder>\\user\\setting\\), then close and open the panel\n");
}

void PrintCounts(FILE *out, const std::string &file, const Findings &found)
{
    Say(out, "%s: %d error%s, %d warning%s\n", file.c_str(), found.Errors(), found.Errors() == 1 ? "" : "s",
            found.Warnings(), found.Warnings() == 1 ? "" : "s");
}

} // namespace

int CheckArt(const std::string &file, const std::string &bytes, const CheckOptions &options, FILE *out)
{
    const Encoding encoding = EncodingOf(bytes);
    Findings found;
    if (encoding == Encoding::Utf16Le || encoding == Encoding::Utf16Be) {
        found.Error(1, EncodingTrouble(encoding));
        found.Print(out, file);
        PrintCounts(out, file, found);
        return 1;
    }
    if (bytes.empty()) {
        found.Error(0, "the file is empty: the panel shows an empty picture and never dances (TuftlingArt "
                       "export-builtin writes the built-in drawings as a start)");
        found.Print(out, file);
        PrintCounts(out, file, found);
        return 1;
    }
    ArtLayout art;
    if (!LayOut(bytes, art)) {
        Say(out, "%s: TuftlingArt cannot follow this file as the panel reads it (a fault of the tool)\n",
                file.c_str());
        return 2;
    }
    CheckText(art, encoding, found);
    CheckSections(art, found);

    const int windowWidth = options.WindowWidth ? options.WindowWidth : PANEL_WIDTH;
    const int windowHeight = options.WindowHeight ? options.WindowHeight : PANEL_HEIGHT;
    const int mustFit = options.Points ? options.Points : POINTS_MEDIUM;
    std::vector<int> sizes(std::begin(MenuSizes), std::end(MenuSizes));
    if (options.Points)
        sizes.assign(1, options.Points);
    std::vector<Measured> measured(sizes.size());
    const FrameLines lines = LinesByFrame(art);
    const int widthLimit = std::min<int>(SURFACE_WIDTH, windowWidth) - TEXT_INSET;
    bool measuredAll = encoding == Encoding::Cp932;
    for (size_t i = 0; measuredAll && i < sizes.size(); ++i)
        measuredAll = Measure(art, lines, sizes[i], widthLimit, measured[i]);
    const Measured *summaryAt = nullptr;
    if (measuredAll) {
        CheckSizes(art, lines, measured, mustFit, windowWidth, windowHeight, found);
        for (const Measured &m : measured)
            if (m.Points == mustFit)
                summaryAt = &m;
    }

    found.Print(out, file);
    if (encoding != Encoding::Cp932)
        Say(out, "%s: note: the frames were not measured: the panel misreads their characters until the file "
                     "is code page 932\n",
                file.c_str());
    else if (!measuredAll)
        Say(out, "%s: note: the frames were not measured (no screen to make the panel's font on)\n",
                file.c_str());
    PrintSummary(out, file, art, summaryAt);
    PrintCounts(out, file, found);
    return found.Errors() ? 1 : 0;
}
