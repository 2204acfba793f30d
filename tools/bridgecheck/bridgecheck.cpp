/* bridgecheck: will PanelBridge work in this newer host?
 *
 *   bridgecheck [HOST_FOLDER] [--panels PANEL_FOLDER]
 *
 * Reads, without loading either, the names each PanelBridge copy imports from
 * OstrelLib.dll and the names the OstrelLib.dll in HOST_FOLDER (by default
 * the current folder) exports, and says in one line per copy whether every
 * name is there; when not, why, and what to do. The copies are those in
 * HOST_FOLDER or, when it holds none, those beside bridgecheck.exe: the ones
 * a package is about to install. A copy is known by its version resource, so
 * it is found under any file title.
 *
 * Given the host's panel folder, it also names the plug-in each copy will
 * look for, PANEL_FOLDER\wpn\<the copy's title>.wpn, and takes it through
 * wpncheck's load steps: a 32-bit module that loads, both exports, the
 * information byte.
 *
 * Exit codes: 0 all is well, 1 something will not work, 2 a wrong command
 * line. */
#include "Compatibility.h"
#include "LoadSteps.h"
#include "Paths.h"
#include "PeImage.h"

#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const char LibraryName[] = "OstrelLib.dll";
const char Usage[] = "usage: bridgecheck [HOST_FOLDER] [--panels PANEL_FOLDER]\n"
                     "  HOST_FOLDER   the newer host's folder, where its OstrelLib.dll is (default: here)\n"
                     "  PANEL_FOLDER  its panel folder, whose wpn\\ holds the panel plug-ins\n";

int BadCommandLine(const std::string &why)
{
    fprintf(stderr, "bridgecheck: %s\n%s", why.c_str(), Usage);
    return 2;
}

bool IsFolder(const std::wstring &path)
{
    DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::wstring AsFolder(const std::wstring &path)
{
    std::wstring full = FullPath(path);
    return full.empty() || full.back() == L'\\' ? full : full + L'\\';
}

// A copy of PanelBridge keeps its version resource under any file name.
bool IsPanelBridge(const std::wstring &path)
{
    DWORD ignored = 0, size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    if (!size)
        return false;
    std::vector<char> data(size);
    void *value = nullptr;
    UINT length = 0;
    return GetFileVersionInfoW(path.c_str(), 0, size, data.data()) &&
           VerQueryValueW(data.data(), L"\\StringFileInfo\\041104b0\\InternalName", &value, &length) && length &&
           lstrcmpW((const wchar_t *)value, L"PanelBridge") == 0;
}

std::vector<std::wstring> PanelBridgeCopies(const std::wstring &folder)
{
    std::vector<std::wstring> copies;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*.dll").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return copies;
    do {
        std::wstring path = folder + found.cFileName;
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && IsPanelBridge(path))
            copies.push_back(path);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(copies.begin(), copies.end());
    return copies;
}

std::wstring TitleOf(const std::wstring &path)
{
    std::wstring name = path.substr(FolderOf(path).size());
    return name.substr(0, name.find_last_of(L'.'));
}

// One line per copy, then what to do when a name is missing; true when none is.
bool CheckLibrary(const std::wstring &library, const PeImage &host, const std::vector<std::wstring> &copies)
{
    const std::string libraryPath = Narrow(library);
    bool ok = true;
    for (const std::wstring &copy : copies) {
        const std::string copyPath = Narrow(copy);
        std::string bytes;
        PeImage adaptor = ReadFileBytes(copy, bytes) ? ReadPeImage(bytes) : PeImage();
        const PeImport *imports = adaptor.Valid ? FindImport(adaptor, LibraryName) : nullptr;
        if (!imports) {
            printf("%s: cannot read what it imports from %s\n", copyPath.c_str(), LibraryName);
            ok = false;
            continue;
        }
        NameMatch match = MatchNames(imports->Names, host.Exports);
        if (match.Missing.empty()) {
            printf("%s: compatible with %s: all %u names it imports from it are there\n", copyPath.c_str(),
                   libraryPath.c_str(), (unsigned)match.Imported);
            continue;
        }
        ok = false;
        printf("%s: not compatible with %s: %u of the %u names it imports from it are missing\n", copyPath.c_str(),
               libraryPath.c_str(), (unsigned)match.Missing.size(), (unsigned)match.Imported);
        if (match.OtherCompiler())
            printf("  This OstrelLib.dll was built by another compiler than the adaptor: the adaptor asks for\n"
                   "  C++ names as %s spells them, such as\n    %s\n"
                   "  and the library exports them as %s spells them, such as\n    %s\n",
                   CompilerOf(match.Wanted), match.MissingExample.c_str(), CompilerOf(match.Offered),
                   match.ExportExample.c_str());
        else
            printf("  This OstrelLib.dll is not the one the adaptor was built against; it lacks, for one,\n"
                   "    %s\n",
                   match.MissingExample.c_str());
        printf("  The host cannot load this adaptor. It must be built against this host's own OstrelLib,\n"
               "  with the compiler the host was built with: the README of the Tuftling sources gives the\n"
               "  steps, under \"PanelBridge and the newer host's library\".\n");
    }
    return ok;
}

uint32_t CallInfo(const void *info)
{
    return ((WpnGetPluginInfoFn)info)();
}

// One line per copy: the plug-in it will look for, and how it fares.
bool CheckPanels(const std::wstring &panels, const std::vector<std::wstring> &copies)
{
    bool ok = true;
    for (const std::wstring &copy : copies) {
        const std::wstring plugin = panels + L"wpn\\" + TitleOf(copy) + L".wpn";
        PluginSteps steps;
        const char *step = "load";
        StepResult result = LoadStep(plugin, steps);
        if (result.Passed) {
            step = "exports";
            result = ExportsStep(steps);
        }
        if (result.Passed) {
            step = "info byte";
            result = InfoByteStep(steps, CallInfo);
        }
        if (steps.Module)
            FreeLibrary(steps.Module);
        printf("%s looks for %s: ", Narrow(copy.substr(FolderOf(copy).size())).c_str(), Narrow(plugin).c_str());
        if (result.Passed)
            printf("it passes the load steps (a 32-bit module, both exports, information 0x%04lX)\n",
                   (unsigned long)steps.InfoValue);
        else
            printf("it fails the load steps: %s: %s\n", step, result.Detail.c_str());
        ok = ok && result.Passed;
    }
    return ok;
}

} // namespace

int main()
{
    std::vector<std::wstring> words;
    if (!ProgramArguments(words))
        return BadCommandLine("cannot read the command line");
    std::wstring host, panels;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring &word = words[i];
        if (word == L"--help" || word == L"-h" || word == L"/?") {
            printf("%s", Usage);
            return 0;
        }
        if (word == L"--panels" && i + 1 < words.size())
            panels = words[++i];
        else if (word.compare(0, 1, L"-") == 0 || !host.empty())
            return BadCommandLine("unknown option, an option without its value, or a second host folder");
        else
            host = word;
    }
    if (host.empty())
        host = L".";
    for (const std::wstring *folder : {&host, &panels})
        if (!folder->empty() && !IsFolder(*folder))
            return BadCommandLine("no such folder: " + Narrow(*folder));
    // A plug-in that needs a DLL it cannot find is a failed step, not a dialog box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    host = AsFolder(host);
    const std::wstring library = host + L"OstrelLib.dll";
    std::string bytes;
    if (!ReadFileBytes(library, bytes)) {
        printf("%s: no %s here, so this is not the newer host's folder (the newer host has %s beside its "
               "program; a host of the older kind loads TuftlingPanel.wpn itself and needs no adaptor)\n",
               Narrow(host).c_str(), LibraryName, LibraryName);
        return 1;
    }
    PeImage image = ReadPeImage(bytes);
    if (!image.Valid) {
        printf("%s: not a DLL whose exports can be read\n", Narrow(library).c_str());
        return 1;
    }
    if (image.Machine != PE_MACHINE_I386) {
        printf("%s: a %s library, so the host is not 32-bit: it cannot load the adaptor or the plug-in, "
               "which are 32-bit modules\n",
               Narrow(library).c_str(), MachineName(image.Machine).c_str());
        return 1;
    }
    std::vector<std::wstring> copies = PanelBridgeCopies(host);
    if (copies.empty())
        copies = PanelBridgeCopies(ProgramFolder());
    if (copies.empty()) {
        printf("no copy of PanelBridge in %s or beside bridgecheck.exe\n", Narrow(host).c_str());
        return 1;
    }
    bool ok = CheckLibrary(library, image, copies);
    if (!panels.empty())
        ok = CheckPanels(AsFolder(panels), copies) && ok;
    return ok ? 0 : 1;
}
