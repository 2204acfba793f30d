/* Art file benchmark: LoadFrames on a 10 MB art file against its floor, the
 * same file's bytes read through the same file source in 64 KiB blocks.
 * Both run in this process on the same (cached) file, in interleaved rounds,
 * and the best round of each is reported; the goal is LoadFrames within 3x of
 * the raw read. The file is realistic: a normal and a hide section, then dance
 * sections of cp932 art lines (double-byte, half-width katakana and ASCII)
 * with CR LF line ends, a comment line here and there before "$End". */
#include "ArtSource.h"
#include "Bench.h"
#include "BuiltinArt.h"
#include "Frames.h"

#include <windows.h>
#include <fstream>
#include <stdio.h>
#include <string>

namespace {

const size_t FILE_BYTES = 10 * 1024 * 1024;
const int ROUNDS = 30;

// A slot's lines, each with CR LF, as an art file section would hold them.
std::string SectionBody(int slot)
{
    std::string body = BuiltinFrames[slot];
    return body + "\r\n";
}

std::string MakeArtFile()
{
    std::string art = "Tuftling art, written by bench_art\r\n$Normal\r\n" + SectionBody(0) + "$Hide\r\n" +
                      SectionBody(1);
    const std::string dances[] = {SectionBody(2), SectionBody(3)};
    for (unsigned n = 0; art.size() < FILE_BYTES; ++n) {
        art += "$Dance\r\n";
        art += dances[n % 2];
        if (n % 16 == 15)
            art += "$End\r\n\x83\x81\x83\x82: a note between sections\r\n"; // メモ
    }
    return art;
}

bool WriteAll(const std::string &path, const std::string &bytes)
{
    std::ofstream out(path, std::ios::out | std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), (std::streamsize)bytes.size());
    return (bool)out;
}

volatile unsigned Sink; // keeps the raw read's bytes from being optimised away

// The floor: every byte of the file through the art reader's own file
// source, 64 KiB at a time.
size_t RawRead(const char *path)
{
    static char block[64 * 1024];
    ArtFile in(path);
    size_t total = 0;
    for (size_t got; (got = in.Read(block, sizeof block)) != 0;) {
        total += got;
        Sink += (unsigned char)block[0];
    }
    return total;
}

} // namespace

int main()
{
    char folder[MAX_PATH], path[MAX_PATH + 40];
    GetTempPathA(MAX_PATH, folder);
    wsprintfA(path, "%sbench_art_%lu.txt", folder, GetCurrentProcessId());

    const std::string art = MakeArtFile();
    if (!WriteAll(path, art)) {
        printf("bench_art: cannot write %s\n", path);
        return 1;
    }

    double bestLoad = 1e9, bestRaw = 1e9;
    bool loaded = true;
    size_t rawBytes = 0;
    for (int round = 0; round < ROUNDS; ++round) {
        double t0 = Now();
        loaded = LoadFrames(path) && loaded;
        double t1 = Now();
        rawBytes = RawRead(path);
        double t2 = Now();
        if (t1 - t0 < bestLoad)
            bestLoad = t1 - t0;
        if (t2 - t1 < bestRaw)
            bestRaw = t2 - t1;
    }
    DeleteFileA(path);

    const double mb = (double)art.size() / (1024.0 * 1024.0);
    printf("bench_art: art file of %.1f MB (%u bytes read raw), %d frames, best of %d rounds\n", mb,
           (unsigned)rawBytes, (int)Frames.List.size(), ROUNDS);
    printf("  LoadFrames       %8.1f ms  %7.1f MB/s%s\n", bestLoad * 1e3, mb / bestLoad,
           loaded ? "" : "  (the file did not open!)");
    printf("  raw read (floor) %8.1f ms  %7.1f MB/s\n", bestRaw * 1e3, mb / bestRaw);
    printf("  ratio %.2f (goal: LoadFrames within 3x of the raw read)%s\n", bestLoad / bestRaw,
           RunsEmulated() ? "\n  not comparable here: emulated code against a system call; judge the goal where"
                            " 32-bit code runs natively"
                          : "");
    return 0;
}
