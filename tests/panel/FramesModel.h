/* A model of the art file rules, for differential tests of the reader: the
 * same frames computed the plainest way, over the whole file at once. It
 * shares no code with panel/ArtReader.cpp and uses the standard library only,
 * so that the Wine tests and the native fuzzer both compare against it. */
#pragma once
#include <algorithm>
#include <string>
#include <vector>

inline std::vector<std::string> ModelFrames(const std::string &file)
{
    // Text mode: the data ends at the first Ctrl-Z, and CR LF reads as LF.
    const std::string data = file.substr(0, file.find('\x1a'));
    std::string text;
    for (size_t i = 0; i < data.size(); ++i)
        if (!(data[i] == '\r' && i + 1 < data.size() && data[i + 1] == '\n'))
            text += data[i];

    enum { NONE, NORMAL, HIDE, DANCE } section = NONE;
    std::vector<std::string> frames(2);
    size_t start = 0;
    while (start < text.size()) {
        const size_t lf = text.find('\n', start);
        const size_t length = (lf == std::string::npos ? text.size() : lf) - start;
        // A line keeps at most 1023 bytes, and up to its first NUL.
        std::string line = text.substr(start, std::min<size_t>(length, 1023));
        line = line.substr(0, line.find('\0'));

        if (line == "$Normal")
            section = NORMAL;
        else if (line == "$Hide")
            section = HIDE;
        else if (line == "$Dance")
            frames.emplace_back(), section = DANCE;
        else if (line == "$End")
            section = NONE;
        else if (section == NORMAL)
            frames[0] += line + "\n";
        else if (section == HIDE)
            frames[1] += line + "\n";
        else if (section == DANCE)
            frames.back() += line + "\n";

        if (length > 1023 || lf == std::string::npos)
            break; // an over-long line or the last line ends the reading
        start = lf + 1;
    }
    return frames;
}
