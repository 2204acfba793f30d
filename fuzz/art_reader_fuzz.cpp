/* libFuzzer target for the art file reader, built natively with clang and
 * AddressSanitizer and UndefinedBehaviorSanitizer (see CMakeLists.txt and
 * run.sh). Any bytes are an art file: ReadArt must read them without fault,
 * keep the invariants of the frame store, agree with the independent model of
 * the rules (tests/panel/FramesModel.h), give the same frames when the same
 * bytes come a few at a time or sit across its 64 KiB read-buffer boundary,
 * and agree with the model when they follow a section longer than its copy
 * room. The first reading goes through the file source the panel uses, from
 * a file holding the bytes; the others read them from memory. */
#include "ArtReader.h"
#include "FramesModel.h"
#include "ShortReads.h"

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <unistd.h>
#include <vector>

namespace {

const size_t READ_BLOCK = 64 * 1024; // the reader's buffer

[[noreturn]] void Fail(const char *what, const std::string &detail = "")
{
    fprintf(stderr, "art_reader_fuzz: %s %s\n", what, detail.c_str());
    abort();
}

std::vector<std::string> Read(ArtSource &source)
{
    FrameStore frames;
    frames = {"stale", "frames", "from before", "and more"};
    ReadArt(source, frames);
    return frames.Texts();
}

std::vector<std::string> Read(const std::string &bytes)
{
    ArtBytes source(bytes);
    return Read(source);
}

std::vector<std::string> ReadThroughFile(const std::string &bytes)
{
    static const struct Scratch {
        std::string path = "/tmp/art_reader_fuzz." + std::to_string(getpid());
        ~Scratch() { unlink(path.c_str()); }
    } scratch;
    const std::string &path = scratch.path;
    FILE *out = fopen(path.c_str(), "wb");
    if (!out || fwrite(bytes.data(), 1, bytes.size(), out) != bytes.size() || fclose(out) != 0)
        Fail("cannot write", path);
    ArtFile file(path.c_str());
    if (!file.IsOpen())
        Fail("cannot open", path);
    return Read(file);
}

bool IsSectionName(const std::string &line)
{
    return line == "$Normal" || line == "$Hide" || line == "$Dance" || line == "$End";
}

void CheckInvariants(const std::string &bytes, const std::vector<std::string> &frames)
{
    if (frames.size() < 2)
        Fail("fewer than two frames");
    size_t dances = 0, total = 0;
    for (size_t at = bytes.find("$Dance"); at != std::string::npos; at = bytes.find("$Dance", at + 1))
        ++dances;
    if (frames.size() - 2 > dances)
        Fail("more dance frames than $Dance lines");
    for (const std::string &frame : frames) {
        total += frame.size();
        if (!frame.empty() && frame.back() != '\n')
            Fail("a frame that does not end with LF");
        if (frame.find('\0') != std::string::npos || frame.find('\x1a') != std::string::npos)
            Fail("a NUL or Ctrl-Z byte in a frame");
        for (size_t start = 0; start < frame.size();) {
            size_t lf = frame.find('\n', start);
            if (lf - start > ART_LINE_BYTES - 1)
                Fail("a frame line longer than 1023 bytes");
            if (IsSectionName(frame.substr(start, lf - start)))
                Fail("a section line inside a frame");
            start = lf + 1;
        }
    }
    // Every frame line comes from one file line: CR LF shrinks to LF, and only
    // a last line without a line end gains one.
    if (total > bytes.size() + 1)
        Fail("frames larger than the file");
}

// Lines of 1000 bytes and a shorter last one, `bytes` in all, ending with LF.
std::string Filler(size_t bytes)
{
    std::string filler;
    filler.reserve(bytes);
    while (bytes - filler.size() > 1001)
        filler.append(1000, 'f').push_back('\n');
    if (bytes > filler.size())
        filler.append(bytes - filler.size() - 1, 'f').push_back('\n');
    return filler;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes((const char *)data, size);
    const std::vector<std::string> frames = ReadThroughFile(bytes);
    CheckInvariants(bytes, frames);
    if (frames != ModelFrames(bytes))
        Fail("frames differ from the model");

    // The same bytes handed out 1 to 100 at a time, as a slow file gives them.
    ShortReads slowly(bytes, (unsigned)size);
    if (Read(slowly) != frames)
        Fail("frames differ when read a few bytes at a time");

    // The same bytes after filler lines (dropped: no section yet), placed so
    // that the 64 KiB boundary falls just after the first CR, or else in the
    // middle of the input.
    if (size > 0) {
        size_t cr = bytes.find('\r');
        size_t split = cr != std::string::npos && cr < READ_BLOCK ? cr + 1 : (size + 1) / 2;
        if (split <= READ_BLOCK) {
            if (Read(Filler(READ_BLOCK - split) + bytes) != frames)
                Fail("frames differ across the read-buffer boundary");
        }
    }

    // The same bytes after a dance section longer than the reader copies in
    // one go, so that they arrive while its copy room is full.
    const std::string inSection = "$Dance\n" + Filler(9000) + bytes;
    if (Read(inSection) != ModelFrames(inSection))
        Fail("frames differ from the model after a long section");
    return 0;
}
