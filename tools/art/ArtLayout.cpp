/* The line walk follows the reader's text rules: LF or CR LF ends a line, a
 * lone CR stays in it, the first Ctrl-Z ends the data, a line keeps at most
 * ART_LINE_BYTES - 1 bytes and a longer one ends the reading, and a NUL ends
 * what the panel sees of a line. Section lines are recognised by the reader's
 * own IsSectionLine. The frames themselves come from ReadArt, and the two
 * must agree on how many there are. */
#include "ArtLayout.h"

#include "ArtReader.h"

#include <algorithm>

namespace {

const char *SectionOf(const std::string &line)
{
    std::string visible = line.substr(0, line.find('\0'));
    for (const char *name : SectionNames)
        if (IsSectionLine(visible.c_str(), name))
            return name;
    return nullptr;
}

bool HasInk(const std::string &bytes, size_t from)
{
    return bytes.find_first_not_of(" \t\r\n\x1a", from) != std::string::npos;
}

// Lines from `from` on that hold more than blanks.
int InkedLines(const std::string &bytes, size_t from)
{
    int lines = 0;
    while (from < bytes.size()) {
        size_t lf = bytes.find('\n', from);
        size_t stop = lf == std::string::npos ? bytes.size() : lf;
        if (HasInk(bytes.substr(from, stop - from), 0))
            ++lines;
        from = stop + 1;
    }
    return lines;
}

} // namespace

std::string FrameName(size_t index)
{
    if (index == FRAME_NORMAL)
        return SectionNormal;
    if (index == FRAME_HIDE)
        return SectionHide;
    return SectionDance + (" " + std::to_string(index - FRAME_FIRST_DANCE + 1));
}

bool LayOut(const std::string &bytes, ArtLayout &layout)
{
    layout.Bom = bytes.compare(0, 3, "\xEF\xBB\xBF") == 0;
    layout.FrameLine.assign(FRAME_FIRST_DANCE, 0);
    const size_t end = std::min(bytes.find('\x1a'), bytes.size());
    if (end < bytes.size() && HasInk(bytes, end + 1)) {
        layout.CtrlZLine = 1 + (int)std::count(bytes.begin(), bytes.begin() + end, '\n');
        layout.UnreadLines = InkedLines(bytes, end + 1);
    }

    size_t section = (size_t)-1, pos = 0;
    for (int number = 1; pos < end; ++number) {
        size_t lf = bytes.find('\n', pos);
        const bool ended = lf < end;
        size_t stop = ended ? lf : end;
        if (ended && stop > pos && bytes[stop - 1] == '\r')
            --stop;
        ArtLine line{number, bytes.substr(pos, stop - pos), stop - pos, ROLE_NONE, 0};
        const bool tooLong = line.Bytes.size() > ART_LINE_BYTES - 1;
        if (tooLong)
            line.Bytes.resize(ART_LINE_BYTES - 1);
        if (const char *name = SectionOf(line.Bytes)) {
            line.Role = ROLE_SECTION;
            if (name == SectionNormal)
                section = FRAME_NORMAL;
            else if (name == SectionHide)
                section = FRAME_HIDE;
            else if (name == SectionDance)
                section = layout.FrameLine.size(), layout.FrameLine.push_back(number);
            else
                section = (size_t)-1;
            if (section < FRAME_FIRST_DANCE && !layout.FrameLine[section])
                layout.FrameLine[section] = number;
        } else if (section != (size_t)-1) {
            line.Role = ROLE_FRAME;
            line.Frame = section;
        }
        layout.Lines.push_back(line);
        if (tooLong) {
            layout.TooLongLine = number;
            layout.CtrlZLine = 0; // never reached
            layout.UnreadLines = InkedLines(bytes, ended ? lf + 1 : end);
            break;
        }
        if (!ended)
            break;
        pos = lf + 1;
    }

    ArtBytes source(bytes);
    ReadArt(source, layout.Frames);
    return layout.Frames.size() == layout.FrameLine.size();
}
