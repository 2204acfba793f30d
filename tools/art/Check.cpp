/* The check. Text findings come from the lines as the panel reads them
 * (ArtLayout); sizes come from the panel's own surface, font and text
 * format, at each point size the menu offers or at the one asked for. */
#include "Check.h"

#include "ArtLayout.h"
#include "ArtReader.h"
#include "Findings.h"
#include "Paint.h"
#include "Settings.h"
#include "Surface.h"

#include <windows.h>

#include <algorithm>
#include <string_view>

namespace {

const int MenuSizes[] = {POINTS_SMALL, POINTS_MEDIUM, POINTS_LARGE};
const int LimitWidth = SURFACE_WIDTH - TEXT_INSET, LimitHeight = SURFACE_HEIGHT - TEXT_INSET;
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
    for (const char *name : {"$Normal", "$Hide", "$Dance", "$End"}) {
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

bool LooksLikeUtf8(const std::string &bytes)
{
    std::string text = bytes.compare(0, 3, Bom) == 0 ? bytes.substr(3) : bytes;
    bool wide = false;
    for (char c : text)
        wide = wide || (unsigned char)c >= 0x80;
    return wide && MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), (int)text.size(), nullptr, 0) > 0;
}

void CheckText(const ArtLayout &art, bool utf8, Findings &found)
{
    if (art.Bom)
        found.Error(1, "the file starts with a UTF-8 byte-order mark, but the panel reads code page 932: "
                       "it takes the mark as part of the first line (TuftlingArt convert writes the file "
                       "without it)");
    if (utf8) {
        int line = 1;
        for (const ArtLine &l : art.Lines)
            if (std::any_of(l.Bytes.begin(), l.Bytes.end(), [](char c) { return (unsigned char)c >= 0x80; })) {
                line = l.Number;
                break;
            }
        found.Error(line, "the file is UTF-8, but the panel reads code page 932 (Shift_JIS): every character "
                          "beyond ASCII shows as garbage (TuftlingArt convert makes a code page 932 copy)");
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

    int ignoredFrom = 0, ignoredTo = 0;
    auto flushIgnored = [&] {
        if (ignoredFrom && ignoredFrom == ignoredTo)
            found.Warning(ignoredFrom, "this line is in no section, so the panel ignores it (fine for a note)");
        else if (ignoredFrom)
            found.Warning(ignoredFrom, Format("lines %d to %d are in no section, so the panel ignores them "
                                              "(fine for notes)",
                                              ignoredFrom, ignoredTo));
        ignoredFrom = 0;
    };
    for (const ArtLine &line : art.Lines) {
        std::string why;
        if (const char *meant = MeantSection(line.Bytes, why))
            found.Warning(line.Number,
                          Format("this line looks like the section line \"%s\" but is not one (%s): the panel %s",
                                 meant, why.c_str(),
                                 line.Role == ROLE_FRAME ? "draws it as a line of art" : "ignores it"));
        if (line.Role == ROLE_NONE && !IsBlank(line.Bytes)) {
            if (!ignoredFrom)
                ignoredFrom = line.Number;
            ignoredTo = line.Number;
        } else if (line.Role != ROLE_NONE) {
            flushIgnored();
        }
        if (line.Role != ROLE_FRAME)
            continue;
        const size_t nul = line.Bytes.find('\0');
        const std::string drawn = line.Bytes.substr(0, nul);
        if (nul != std::string::npos)
            found.Warning(line.Number, Format("a NUL byte ends what the panel keeps of this line after %u bytes",
                                              (unsigned)nul));
        bool pair = false;
        size_t bad = utf8 ? std::string::npos : FirstInvalidCp932(drawn, pair);
        if (bad != std::string::npos && pair && bad + 1 >= drawn.size())
            found.Error(line.Number, Format("byte %u (0x%02X) begins a double-byte code page 932 character "
                                            "that the line ends before",
                                            (unsigned)bad + 1, (unsigned char)drawn[bad]));
        else if (bad != std::string::npos && pair)
            found.Error(line.Number, Format("bytes %u and %u (0x%02X 0x%02X) are no code page 932 character",
                                            (unsigned)bad + 1, (unsigned)bad + 2, (unsigned char)drawn[bad],
                                            (unsigned char)drawn[bad + 1]));
        else if (bad != std::string::npos)
            found.Error(line.Number, Format("byte %u (0x%02X) is no code page 932 character", (unsigned)bad + 1,
                                            (unsigned char)drawn[bad]));
        size_t amp = FirstLoneAmpersand(drawn);
        if (amp != std::string::npos)
            found.Warning(line.Number, Format("the \"&\" at byte %u underlines the character after it instead "
                                              "of drawing itself: write \"&&\" to draw one",
                                              (unsigned)amp + 1));
    }
    flushIgnored();
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

// Each frame's size at each point size, in the panel's own font and format.
struct Measured {
    int Points;
    std::vector<SIZE> Sizes;
};

bool Measure(const FrameStore &frames, int points, Measured &out)
{
    out.Points = points;
    out.Sizes.clear();
    bool ok = CreateSurface() && CreatePanelFont(points);
    for (size_t i = 0; ok && i < frames.size(); ++i)
        out.Sizes.push_back(MeasureFrame(Surface.DC, frames.Text(i)));
    ReleaseSurface();
    return ok;
}

bool Fits(SIZE size)
{
    return size.cx <= LimitWidth && size.cy <= LimitHeight;
}

void CheckSizes(const ArtLayout &art, const std::vector<Measured> &measured, int mustFit, Findings &found)
{
    for (size_t i = 0; i < art.Frames.size(); ++i) {
        std::string sizes;
        bool errorSize = false;
        SIZE first = {0, 0};
        for (const Measured &m : measured) {
            SIZE s = m.Sizes[i];
            if (Fits(s))
                continue;
            if (sizes.empty())
                first = s;
            sizes += Format("%s%d x %d pixels at %d points", sizes.empty() ? "" : ", ", (int)s.cx, (int)s.cy,
                            m.Points);
            errorSize = errorSize || m.Points == mustFit;
        }
        if (sizes.empty())
            continue;
        const char *where = first.cx > LimitWidth && first.cy > LimitHeight ? "at the right and the bottom"
                            : first.cx > LimitWidth                         ? "at the right"
                                                                            : "at the bottom";
        std::string message = Format("the %s frame takes %s, more than the %d x %d the panel shows: it is cut "
                                     "off %s",
                                     FrameName(i).c_str(), sizes.c_str(), LimitWidth, LimitHeight, where);
        int line = art.FrameLine[i] ? art.FrameLine[i] : 1;
        if (errorSize)
            found.Error(line, message);
        else
            found.Warning(line, message);
    }
}

int LinesOf(std::string_view frame)
{
    return (int)std::count(frame.begin(), frame.end(), '\n');
}

void PrintSummary(FILE *out, const std::string &file, const ArtLayout &art, const Measured *at)
{
    const FrameStore &frames = art.Frames;
    const int dances = (int)frames.size() - FRAME_FIRST_DANCE;
    const int timer = SettingDefault("DanceTimer");
    auto lines = [](std::string_view frame) {
        int n = LinesOf(frame);
        return Format("%d line%s", n, n == 1 ? "" : "s");
    };
    fprintf(out, "%s: what the panel will show\n", file.c_str());
    fprintf(out, "  standing: the $Normal frame, %s\n", lines(frames[FRAME_NORMAL]).c_str());
    fprintf(out, "  hiding:   the $Hide frame, %s\n", lines(frames[FRAME_HIDE]).c_str());
    if (dances)
        fprintf(out, "  dancing:  %d $Dance frame%s; a dance lasts %.1f s at the default DanceTimer of %d ms\n",
                dances, dances == 1 ? "" : "s", dances * timer / 1000.0, timer);
    else
        fprintf(out, "  dancing:  no $Dance frames, so no dance\n");
    size_t largest = 0;
    for (size_t i = 1; at && i < at->Sizes.size(); ++i)
        if (at->Sizes[i].cx * at->Sizes[i].cy > at->Sizes[largest].cx * at->Sizes[largest].cy)
            largest = i;
    if (at && at->Sizes[largest].cx * at->Sizes[largest].cy > 0)
        fprintf(out, "  largest:  the %s frame, %d x %d pixels at %d points (the panel shows up to %d x %d)\n",
                FrameName(largest).c_str(), (int)at->Sizes[largest].cx, (int)at->Sizes[largest].cy, at->Points,
                LimitWidth, LimitHeight);
}

} // namespace

int CheckArt(const std::string &file, const std::string &bytes, int points, FILE *out)
{
    ArtLayout art;
    if (!LayOut(bytes, art)) {
        fprintf(out, "%s: TuftlingArt cannot follow this file as the panel reads it (a fault of the tool)\n",
                file.c_str());
        return 2;
    }
    Findings found;
    CheckText(art, LooksLikeUtf8(bytes), found);
    CheckSections(art, found);

    const int mustFit = points ? points : POINTS_MEDIUM;
    std::vector<int> sizes(std::begin(MenuSizes), std::end(MenuSizes));
    if (points)
        sizes.assign(1, points);
    std::vector<Measured> measured(sizes.size());
    bool measuredAll = true;
    for (size_t i = 0; i < sizes.size(); ++i)
        measuredAll = Measure(art.Frames, sizes[i], measured[i]) && measuredAll;
    const Measured *summaryAt = nullptr;
    if (measuredAll) {
        CheckSizes(art, measured, mustFit, found);
        for (const Measured &m : measured)
            if (m.Points == mustFit)
                summaryAt = &m;
    } else {
        fprintf(out, "%s: note: the frames were not measured (no screen to make the panel's font on)\n",
                file.c_str());
    }

    found.Print(out, file);
    PrintSummary(out, file, art, summaryAt);
    fprintf(out, "%s: %d error%s, %d warning%s\n", file.c_str(), found.Errors(), found.Errors() == 1 ? "" : "s",
            found.Warnings(), found.Warnings() == 1 ? "" : "s");
    return found.Errors() ? 1 : 0;
}
