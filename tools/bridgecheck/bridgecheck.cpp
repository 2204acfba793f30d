/* bridgecheck: will PanelBridge work in this newer host, and will it show
 * every old panel plug-in there?
 *
 *   bridgecheck [HOST_FOLDER] [--panels PANEL_FOLDER] [--package]
 *   bridgecheck --help | --version
 *
 * In HOST_FOLDER (by default the current folder) it finds the host's
 * OstrelLib.dll and every copy of PanelBridge, each known by its version
 * resource under whatever file title it has, and reads, without loading
 * either, whether the library exports every name each copy imports. Then it
 * pairs the copies with the plug-ins in PANEL_FOLDER\wpn\ (by default
 * HOST_FOLDER\panel\) by file title, as the adaptor finds its plug-in, and
 * names each plug-in without a copy and each copy without a plug-in; the
 * plug-in of each pair goes through wpncheck's load steps. With --package it
 * checks the copies beside bridgecheck.exe instead, the ones a package is
 * about to install, against the host's library only.
 *
 * Problems come first, then what is well, each as one sentence a user reads
 * first and the technical detail under it, in Japanese for a Japanese user.
 *
 * Exit codes: 0 all is well, 1 something will not work, 2 a wrong command
 * line. */
#include "Compatibility.h"
#include "Console.h"
#include "Messages.h"
#include "PanelLoader.h"
#include "Paths.h"
#include "PeImage.h"
#include "TuftlingVersion.h"

#include <windows.h>
#include <stdio.h>
#include <algorithm>
#include <string>
#include <vector>

namespace {

const char LibraryName[] = "OstrelLib.dll";

enum ExitCode { AllWell = 0, WillNotWork = 1, WrongCommandLine = 2 };

bool SameTitle(const std::wstring &a, const std::wstring &b)
{
    return CompareStringOrdinal(a.c_str(), (int)a.size(), b.c_str(), (int)b.size(), TRUE) == CSTR_EQUAL;
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

std::wstring NameOf(const std::wstring &path)
{
    return path.substr(FolderOf(path).size());
}

std::wstring TitleOf(const std::wstring &path)
{
    std::wstring name = NameOf(path);
    return name.substr(0, name.find_last_of(L'.'));
}

// The files in a folder whose names match the pattern, sorted.
std::vector<std::wstring> FilesIn(const std::wstring &folder, const wchar_t *pattern)
{
    std::vector<std::wstring> files;
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + pattern).c_str(), &found);
    if (search == INVALID_HANDLE_VALUE)
        return files;
    do {
        if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
            files.push_back(folder + found.cFileName);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(files.begin(), files.end());
    return files;
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
    std::vector<std::wstring> copies = FilesIn(folder, L"*.dll");
    copies.erase(std::remove_if(copies.begin(), copies.end(), [](const std::wstring &p) { return !IsPanelBridge(p); }),
                 copies.end());
    return copies;
}

// What was found, problems apart from what is well; printed problems first.
class Report {
public:
    void Problem(const std::wstring &text) { problems_.push_back(text); }
    void Fine(const std::wstring &text) { fine_.push_back(text); }
    int Print() const
    {
        std::wstring all;
        for (const std::wstring &text : problems_)
            all += text;
        for (const std::wstring &text : fine_)
            all += text;
        ::Print(Stream::Out, all);
        return problems_.empty() ? AllWell : WillNotWork;
    }

private:
    std::vector<std::wstring> problems_, fine_;
};

// Whether the host's library serves every name each copy imports; the
// copies it serves.
std::vector<std::wstring> CheckLibrary(const std::wstring &library, const PeImage &host,
                                       const std::vector<std::wstring> &copies, Report &report)
{
    std::vector<std::wstring> usable;
    for (const std::wstring &copy : copies) {
        std::string bytes;
        PeImage adaptor = ReadFileBytes(copy, bytes) ? ReadPeImage(bytes) : PeImage();
        const PeImport *imports = adaptor.Valid ? FindImport(adaptor, LibraryName) : nullptr;
        if (!imports) {
            report.Problem(Say(Msg::AdaptorUnreadable, {NameOf(copy)}) + Say(Msg::AdaptorUnreadableDetail, {copy}));
            continue;
        }
        const NameMatch match = MatchNames(imports->Names, host.Exports);
        const std::wstring missing = std::to_wstring(match.Missing.size());
        const std::wstring imported = std::to_wstring(match.Imported);
        if (match.Missing.empty()) {
            report.Fine(Say(Msg::Compatible, {NameOf(copy), imported}) + Say(Msg::CompatibleDetail, {copy, library}));
            usable.push_back(copy);
        } else if (match.OtherCompiler())
            report.Problem(Say(Msg::OtherCompiler, {NameOf(copy)}) +
                           Say(Msg::OtherCompilerDetail,
                               {missing, imported, Widen(CompilerOf(match.Wanted)), Widen(match.MissingExample),
                                Widen(CompilerOf(match.Offered)), Widen(match.ExportExample)}) +
                           Say(Msg::RebuildDetail));
        else
            report.Problem(Say(Msg::LacksNames, {NameOf(copy)}) +
                           Say(Msg::LacksNamesDetail, {missing, imported, Widen(match.MissingExample)}) +
                           Say(Msg::RebuildDetail));
    }
    return usable;
}

// The plug-in a copy shows, through the steps by which the adaptor loads it.
// One that passes is ready only when the host can load the copy too.
void CheckPlugin(const std::wstring &copy, bool usable, const std::wstring &plugin, Report &report)
{
    const std::wstring name = NameOf(plugin);
    LoadedPlugin steps;
    LoadFailure failure = MachineStep(plugin.c_str());
    if (!failure && !(failure = ModuleStep(plugin.c_str(), &steps.Module)) &&
        !(failure = ExportsStep(steps.Module, &steps.Info, &steps.Initialize)))
        failure = InfoStep(steps.Info());
    switch (failure.Step) {
    case LoadStep::Machine:
        report.Problem(Say(Msg::Plugin64, {name, plugin, Widen(MachineName((uint16_t)failure.Seen))}));
        break;
    case LoadStep::Exports:
        report.Problem(Say(Msg::PluginNoExports, {name}) +
                       Say(Msg::PluginNoExportsDetail,
                           {plugin, failure.Missing == MISSING_INITIALIZE ? L"WPN_Initialize"
                                    : failure.Missing == MISSING_INFO     ? L"WPN_GetPluginInfo"
                                                                          : L"WPN_GetPluginInfo, WPN_Initialize"}));
        break;
    case LoadStep::Info: {
        wchar_t info[16];
        swprintf(info, 16, L"%04lX", (unsigned long)failure.Seen);
        report.Problem(Say(Msg::PluginWrongInfo, {name}) + Say(Msg::PluginWrongInfoDetail, {plugin, info}));
        break;
    }
    case LoadStep::None:
        if (usable)
            report.Fine(Say(Msg::PluginReady, {name, NameOf(copy)}) + Say(Msg::PluginReadyDetail, {plugin}));
        break;
    default: // the file or the module
        report.Problem(Say(Msg::PluginNotLoadable, {name, plugin, Widen(DescribeLoadFailure(failure).Text)}));
        break;
    }
    UnloadPanelPlugin(&steps);
}

// Pairs the copies with the plug-ins by file title, as the adaptor finds its
// plug-in: PANELS\wpn\<the copy's title>.wpn.
void CheckPanels(const std::wstring &host, const std::wstring &panels, const std::vector<std::wstring> &copies,
                 const std::vector<std::wstring> &usable, Report &report)
{
    const std::wstring wpn = panels + L"wpn\\";
    for (const std::wstring &copy : copies) {
        const std::wstring plugin = wpn + TitleOf(copy) + L".wpn";
        if (GetFileAttributesW(plugin.c_str()) != INVALID_FILE_ATTRIBUTES)
            CheckPlugin(copy, std::count(usable.begin(), usable.end(), copy) != 0, plugin, report);
        else if (SameTitle(TitleOf(copy), L"PanelBridge"))
            report.Problem(Say(Msg::AdaptorUnnamed, {NameOf(copy)}) + Say(Msg::HelpWindowDetail, {copy, plugin}));
        else
            report.Problem(Say(Msg::AdaptorWithoutPlugin, {NameOf(copy), NameOf(plugin)}) +
                           Say(Msg::HelpWindowDetail, {copy, plugin}));
    }
    for (const std::wstring &plugin : FilesIn(wpn, L"*.wpn")) {
        const std::wstring title = TitleOf(plugin);
        auto named = [&](const std::wstring &copy) { return SameTitle(TitleOf(copy), title); };
        if (std::none_of(copies.begin(), copies.end(), named))
            report.Problem(Say(Msg::PluginWithoutAdaptor, {NameOf(plugin), title + L".dll"}) +
                           Say(Msg::PluginWithoutAdaptorDetail, {plugin, host + title + L".dll"}));
    }
}

struct Options {
    std::wstring Host, Panels;
    bool Package = false;
};

int WrongLine(const std::wstring &why)
{
    Print(Stream::Error, why + Say(Msg::SeeHelp));
    return WrongCommandLine;
}

// The folder above PANELS when PANELS is a wpn folder itself: it has no wpn
// folder of its own, and is named wpn or holds plug-ins. "" otherwise.
std::wstring WpnFolderGiven(const std::wstring &panels)
{
    if (IsFolder(panels + L"wpn"))
        return std::wstring();
    const std::wstring inside = panels.substr(0, panels.size() - 1);
    if (inside.find(L'\\') == std::wstring::npos) // a drive's root
        return std::wstring();
    if (!SameTitle(NameOf(inside), L"wpn") && FilesIn(panels, L"*.wpn").empty())
        return std::wstring();
    return FolderOf(inside);
}

// Reads the command line into options; an exit code when there is nothing to
// check (help, version, a wrong line), -1 when there is.
int ReadCommandLine(Options &options)
{
    std::vector<std::wstring> words;
    if (!ProgramArguments(words))
        return WrongLine(Say(Msg::CannotReadCommandLine));
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring &word = words[i];
        if (word == L"--help" || word == L"-h" || word == L"/?") {
            Print(Stream::Out, Say(Msg::Usage));
            return AllWell;
        }
        if (word == L"--version") {
            Print(Stream::Out, Say(Msg::Version, {Widen(TUFT_VERSION_SHORT)}));
            return AllWell;
        }
        if (word == L"--package")
            options.Package = true;
        else if (word == L"--panels" && i + 1 < words.size() && words[i + 1].compare(0, 2, L"--") != 0)
            options.Panels = words[++i];
        else if (word == L"--panels")
            return WrongLine(Say(Msg::OptionNeedsFolder, {word}));
        else if (word.compare(0, 1, L"-") == 0)
            return WrongLine(Say(Msg::UnknownOption, {word}));
        else if (!options.Host.empty())
            return WrongLine(Say(Msg::SecondHostFolder, {word}));
        else
            options.Host = word;
    }
    if (options.Host.empty())
        options.Host = L".";
    for (const std::wstring *folder : {&options.Host, &options.Panels})
        if (!folder->empty() && !IsFolder(*folder))
            return WrongLine(Say(Msg::NoSuchFolder, {*folder}));
    options.Host = AsFolder(options.Host);
    if (!options.Panels.empty()) {
        options.Panels = AsFolder(options.Panels);
        const std::wstring above = WpnFolderGiven(options.Panels);
        if (!above.empty())
            return WrongLine(Say(Msg::PanelsIsWpnFolder, {options.Panels, above}));
    } else {
        options.Panels = options.Host + L"panel\\";
    }
    return -1;
}

} // namespace

int main()
{
    Options options;
    const int early = ReadCommandLine(options);
    if (early >= 0)
        return early;
    // A plug-in that needs a DLL it cannot find is a failed step, not a dialog box.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOOPENFILEERRORBOX);

    Report report;
    const std::wstring library = options.Host + L"OstrelLib.dll";
    std::string bytes;
    if (!ReadFileBytes(library, bytes)) {
        report.Problem(Say(Msg::NoLibrary) + Say(Msg::NoLibraryDetail, {options.Host}));
        return report.Print();
    }
    const PeImage image = ReadPeImage(bytes);
    if (!image.Valid) {
        report.Problem(Say(Msg::LibraryUnreadable, {library}));
        return report.Print();
    }
    if (image.Machine != PE_MACHINE_I386) {
        report.Problem(Say(Msg::Library64) + Say(Msg::Library64Detail, {library, Widen(MachineName(image.Machine))}));
        return report.Print();
    }
    if (options.Package) {
        const std::vector<std::wstring> copies = PanelBridgeCopies(ProgramFolder());
        if (copies.empty())
            report.Problem(Say(Msg::NoPackageAdaptor, {ProgramFolder()}));
        CheckLibrary(library, image, copies, report);
        return report.Print();
    }
    const std::vector<std::wstring> copies = PanelBridgeCopies(options.Host);
    if (copies.empty())
        report.Problem(Say(Msg::NoAdaptor) + Say(Msg::NoAdaptorDetail, {options.Host}));
    const std::vector<std::wstring> usable = CheckLibrary(library, image, copies, report);
    CheckPanels(options.Host, options.Panels, copies, usable, report);
    return report.Print();
}
