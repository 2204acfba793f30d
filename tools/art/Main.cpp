/* TuftlingArt: an art author's tool for the Tuftling's art files, built on
 * the panel's own reader, font and painting (linked, not copied), so that
 * what it reports and renders is what the panel will do.
 *
 *   TuftlingArt check FILE [--size N] [--window WxH]
 *   TuftlingArt preview FILE OUT.png [--size N] [--rainbow PHASE]
 *   TuftlingArt preview FILE --frames DIR [--size N] [--rainbow PHASE]
 *   TuftlingArt convert IN OUT [--replace] [--force]
 *   TuftlingArt export-builtin OUT [--force]
 *   TuftlingArt --help | --version
 *
 * Exit codes: 0 done (check: no error), 1 an error in the file (or a
 * preview that could not be written), 2 a file that cannot be read or
 * written, or a command line that is wrong. Messages are UTF-8 when
 * redirected (see Say.h). */
#include "Check.h"
#include "Say.h"
#include "Convert.h"
#include "Files.h"
#include "Preview.h"

#include "ArtReader.h"
#include "BuiltinArt.h"
#include "Paths.h"
#include "PanelState.h"
#include "Rainbow.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

// A format: its one %d is the rainbow's last phase.
const char Usage[] =
    "usage:\n"
    "  TuftlingArt check FILE [--size N] [--window WxH]\n"
    "                                                the traps in an art file, and what the panel shows\n"
    "  TuftlingArt preview FILE OUT.png [--size N] [--rainbow PHASE]\n"
    "                                                every frame as the panel paints it, on one sheet\n"
    "  TuftlingArt preview FILE --frames DIR [...]   one PNG file per frame instead\n"
    "  TuftlingArt convert IN OUT [--replace] [--force]\n"
    "                                                a UTF-8 or UTF-16 art file as code page 932 with CR LF\n"
    "  TuftlingArt export-builtin OUT [--force]      the four built-in drawings as an art file\n"
    "  TuftlingArt --help | --version                this text, or the tool's version\n"
    "The panel reads its art from TuftlingAA.txt in the host's settings folder for plug-ins\n"
    "  (the newer host: <host folder>\\user\\setting\\; a host of the older kind: the folder it names,\n"
    "  such as C:\\Wendrake\\setting\\), in code page 932, whenever the panel is opened.\n"
    "--size: the font size in points (the menu offers 7, 10 and 12; the default is 10).\n"
    "--window: the panel window's size in the host (default 200x200, the size hosts show unless\n"
    "  they enlarge it); check warns of frames larger than it.\n"
    "--rainbow: draw in the rainbow colour of PHASE (0 to %d) instead of grey.\n"
    "--replace: write \"?\" for each character code page 932 lacks, instead of writing nothing.\n"
    "--force: replace OUT when it exists (never the input file itself).\n"
    "Messages go to a console in its own characters, and to a file or pipe as UTF-8.\n";

void ShowUsage(FILE *out)
{
    Say(out, Usage, RAINBOW_LAST_PHASE);
}

int BadCommandLine(const char *why)
{
    Say(stderr, "TuftlingArt: %s\n", why);
    ShowUsage(stderr);
    return 2;
}

struct Arguments {
    std::vector<std::wstring> Files; // the words that are not options
    int Points = 0;
    int WindowWidth = 0, WindowHeight = 0;
    bool Rainbow = false, Replace = false, Force = false;
    double Phase = 0;
    std::wstring Frames;
    const char *Error = nullptr;
};

Arguments Parse(const std::vector<std::wstring> &words)
{
    Arguments a;
    for (size_t i = 0; i < words.size() && !a.Error; ++i) {
        const std::wstring &w = words[i];
        const bool hasValue = i + 1 < words.size();
        wchar_t *end = nullptr;
        if (w == L"--size" && hasValue) {
            long points = wcstol(words[++i].c_str(), &end, 10);
            a.Points = *end || points < 1 || points > 96 ? 0 : (int)points;
            if (!a.Points)
                a.Error = "--size takes a point size from 1 to 96";
        } else if (w == L"--rainbow" && hasValue) {
            a.Phase = wcstod(words[++i].c_str(), &end);
            a.Rainbow = true;
            static char phaseError[64];
            wsprintfA(phaseError, "--rainbow takes a phase from 0 to %d", RAINBOW_LAST_PHASE);
            if (*end || a.Phase < 0 || a.Phase > RAINBOW_LAST_PHASE)
                a.Error = phaseError;
        } else if (w == L"--window" && hasValue) {
            const std::wstring &size = words[++i];
            long width = wcstol(size.c_str(), &end, 10), height = 0;
            if (*end == L'x' || *end == L'X')
                height = wcstol(end + 1, &end, 10);
            if (*end || width < 1 || height < 1 || width > 4096 || height > 4096)
                a.Error = "--window takes the window's size in pixels, such as 200x200";
            a.WindowWidth = (int)width;
            a.WindowHeight = (int)height;
        } else if (w == L"--frames" && hasValue) {
            a.Frames = words[++i];
        } else if (w == L"--replace") {
            a.Replace = true;
        } else if (w == L"--force") {
            a.Force = true;
        } else if (w.compare(0, 2, L"--") == 0) {
            a.Error = "unknown option, or an option without its value";
        } else {
            a.Files.push_back(w);
        }
    }
    return a;
}

int ExportBuiltin(const std::wstring &out, bool force)
{
    if (!MayWrite(out, nullptr, force))
        return 2;
    static const char *const Sections[BUILTIN_FRAME_COUNT] = {SectionNormal, SectionHide, SectionDance,
                                                              SectionDance};
    std::string art;
    for (int i = 0; i < BUILTIN_FRAME_COUNT; ++i)
        art += std::string(Sections[i]) + "\r\n" + BuiltinFrames[i] + "\r\n";
    if (!WriteOutput(out, art))
        return 2;
    Say(stdout, "%s: the %d built-in drawings\n", Utf8(out).c_str(), BUILTIN_FRAME_COUNT);
    return 0;
}

// The version in the tool's own version resource, as major.minor.
int PrintVersion()
{
    wchar_t self[MAX_PATH];
    DWORD ignored = 0, n = GetModuleFileNameW(nullptr, self, MAX_PATH);
    DWORD size = n && n < MAX_PATH ? GetFileVersionInfoSizeW(self, &ignored) : 0;
    std::vector<char> data(size ? size : 1);
    VS_FIXEDFILEINFO *fixed = nullptr;
    UINT length = 0;
    if (!size || !GetFileVersionInfoW(self, 0, size, data.data()) ||
        !VerQueryValueW(data.data(), L"\\", (void **)&fixed, &length) || length < sizeof *fixed) {
        Say(stderr, "TuftlingArt: the program carries no version resource\n");
        return 2;
    }
    Say(stdout, "TuftlingArt %lu.%lu\n", (unsigned long)HIWORD(fixed->dwProductVersionMS),
           (unsigned long)LOWORD(fixed->dwProductVersionMS));
    return 0;
}

int Run(const std::wstring &command, const Arguments &a)
{
    std::string bytes;
    if (command == L"check") {
        if (a.Files.size() != 1 || !a.Frames.empty() || a.Rainbow || a.Replace || a.Force)
            return BadCommandLine("check takes one art file, --size and --window");
        if (!ReadArtFile(a.Files[0], bytes))
            return 2;
        return CheckArt(Utf8(a.Files[0]), bytes, CheckOptions{a.Points, a.WindowWidth, a.WindowHeight}, stdout);
    }
    if (a.WindowWidth)
        return BadCommandLine("only check takes --window");
    if (command == L"preview") {
        if (a.Files.size() != (a.Frames.empty() ? 2u : 1u) || a.Replace || a.Force)
            return BadCommandLine("preview takes an art file and OUT.png, or --frames DIR");
        if (!ReadArtFile(a.Files[0], bytes))
            return 2;
        PreviewOptions options{a.Points ? a.Points : POINTS_MEDIUM, a.Rainbow, a.Phase,
                               a.Frames.empty() ? a.Files[1] : std::wstring(), a.Frames};
        return PreviewArt(Utf8(a.Files[0]), bytes, options);
    }
    if (command == L"convert") {
        if (a.Files.size() != 2 || a.Points || a.Rainbow || !a.Frames.empty())
            return BadCommandLine("convert takes IN, OUT, --replace and --force");
        if (!ReadArtFile(a.Files[0], bytes) || !MayWrite(a.Files[1], &a.Files[0], a.Force))
            return 2;
        return ConvertArt(Utf8(a.Files[0]), bytes, a.Files[1], a.Replace);
    }
    if (command == L"export-builtin") {
        if (a.Files.size() != 1 || a.Points || a.Rainbow || a.Replace || !a.Frames.empty())
            return BadCommandLine("export-builtin takes OUT and --force");
        return ExportBuiltin(a.Files[0], a.Force);
    }
    return BadCommandLine(("unknown command \"" + Utf8(command) +
                           "\" (the commands are check, preview, convert and export-builtin)")
                              .c_str());
}

} // namespace

int main()
{
    std::vector<std::wstring> words;
    if (!ProgramArguments(words))
        return BadCommandLine("cannot read the command line");
    std::wstring command = words.empty() ? L"" : words.front();
    if (!words.empty())
        words.erase(words.begin());
    if (command.empty())
        return BadCommandLine("no command");
    if (command == L"--help" || command == L"-h" || command == L"help" || command == L"/?") {
        ShowUsage(stdout);
        return 0;
    }
    if (command == L"--version")
        return PrintVersion();
    Arguments a = Parse(words);
    if (a.Error)
        return BadCommandLine(a.Error);
    int rc = Run(command, a);
    fflush(stdout);
    return rc;
}
