/* wpncheck: a conformance checker for panel plug-ins of the older kind.
 *
 *   wpncheck [--settings DIR] [--timeout SECONDS] PLUGIN.wpn
 *
 * Drives the plug-in through the whole contract from the host side with
 * instrumented services, twice over (the second cycle proves unload and
 * reload), and prints one line per check: PASS, WARN, FAIL or SKIP, the
 * check's name and what was seen; of the second cycle, the lines that differ
 * from the first. Then a summary line.
 *
 * Exit codes: 0 no check failed (warnings allowed), 1 a check failed,
 * 2 usage, 3 the plug-in crashed the process, 4 a callback did not return
 * within the timeout. A crash or a hang cannot be survived in-process: the
 * checker then prints a FAIL line naming the stage and the summary, and ends. */
#include "Paths.h"
#include "InstrumentedHost.h"
#include "Cycle.h"
#include "Report.h"
#include "StackLedger.h"

#include <stdio.h>
#include <stdlib.h>
#include <string>
#include <vector>

namespace {

void RemoveTree(const std::string &folder)
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::string name = found.cFileName;
            if (name == "." || name == "..")
                continue;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(folder + name + "\\");
            } else {
                SetFileAttributesA((folder + name).c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileA((folder + name).c_str());
            }
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(folder.c_str());
}

// "in NAME+0xOFFSET" for the module an address lies in, or "in no module".
std::string WhereIs(const void *address)
{
    HMODULE module = nullptr;
    wchar_t path[MAX_PATH];
    if (!GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                            (LPCWSTR)address, &module) ||
        !GetModuleFileNameW(module, path, MAX_PATH))
        return "in no loaded module (code that was unloaded, or a wild jump)";
    std::wstring name = path;
    name = name.substr(name.find_last_of(L"\\/") + 1);
    char offset[32];
    snprintf(offset, sizeof offset, "+0x%lX", (unsigned long)((uintptr_t)address - (uintptr_t)module));
    return "in " + Narrow(name) + offset +
           (module == GetModuleHandleW(nullptr) ? " (wpncheck's own code: most likely a bad pointer the plug-in "
                                                  "handed to a service)"
                                                : "");
}

LONG WINAPI OnCrash(EXCEPTION_POINTERS *info)
{
    const void *address = info->ExceptionRecord->ExceptionAddress;
    Out.Line(Verdict::Fail, "crash",
             "exception 0x%08lX at 0x%08lX %s during %s; the run ends here: run that step under a debugger "
             "(WRITING-A-PANEL.md, \"Debugging a plug-in\")",
             (unsigned long)info->ExceptionRecord->ExceptionCode, (unsigned long)(uintptr_t)address,
             WhereIs(address).c_str(), (const char *)Stage);
    Out.PrintSummary();
    TerminateProcess(GetCurrentProcess(), 3);
    return EXCEPTION_EXECUTE_HANDLER;
}

HANDLE Finished;
DWORD TimeoutMs = 60000;

DWORD WINAPI Watchdog(void *)
{
    if (WaitForSingleObject(Finished, TimeoutMs) == WAIT_TIMEOUT) {
        Out.Line(Verdict::Fail, "timeout",
                 "no progress within %lu s during %s; the run ends here: end every modal loop you start (use "
                 "ShowMessage, not a message box of your own) and wait for nothing that never comes",
                 (unsigned long)(TimeoutMs / 1000), (const char *)Stage);
        Out.PrintSummary();
        TerminateProcess(GetCurrentProcess(), 4);
    }
    return 0;
}

LRESULT CALLBACK ParentProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcW(window, message, wParam, lParam);
}

HWND MakeParent()
{
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ParentProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = L"wpncheck";
    RegisterClassW(&wc);
    return CreateWindowExW(0, L"wpncheck", L"wpncheck", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 20, 20, 320, 320,
                           nullptr, nullptr, wc.hInstance, nullptr);
}

// The first cycle's GDI count may grow by objects the system makes once, on
// the first use of what the plug-in draws; the second cycle must return to
// its start exactly. Windows have no such warm-up: both cycles must.
void ReportResources(const ResourceCounts &first, const ResourceCounts &second)
{
    if (!first.Measured)
        return;
    const ResourceCounts &judged = second.Measured ? second : first;
    bool ok = judged.GdiAfter == judged.GdiBefore && first.WindowsAfter == first.WindowsBefore &&
              judged.WindowsAfter == judged.WindowsBefore;
    char text[200];
    int n = snprintf(text, sizeof text, "GDI objects %d -> %d, thread windows %d -> %d", first.GdiBefore,
                     first.GdiAfter, first.WindowsBefore, first.WindowsAfter);
    if (second.Measured)
        snprintf(text + n, sizeof text - n, "; warm cycle: GDI objects %d -> %d, thread windows %d -> %d",
                 second.GdiBefore, second.GdiAfter, second.WindowsBefore, second.WindowsAfter);
    Out.Line(ok ? Verdict::Pass : Verdict::Fail, "resources", "%s%s", text,
             ok ? "" : " (not all released by PanelDestroy): delete every GDI object and destroy every window "
                       "you made, in PanelDestroy at the latest");
}

int Usage()
{
    fprintf(stderr, "usage: wpncheck [--settings DIR] [--timeout SECONDS] PLUGIN.wpn\n");
    return 2;
}

} // namespace

int main()
{
    std::vector<std::wstring> words;
    if (!ProgramArguments(words))
        return Usage();
    std::wstring plugin, settings;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring &arg = words[i];
        if (arg == L"--settings" && i + 1 < words.size())
            settings = words[++i];
        else if (arg == L"--timeout" && i + 1 < words.size())
            TimeoutMs = (DWORD)_wtoi(words[++i].c_str()) * 1000;
        else if (!arg.empty() && arg[0] != L'-' && plugin.empty())
            plugin = arg;
        else
            return Usage();
    }
    if (plugin.empty() || TimeoutMs == 0)
        return Usage();

    // Folders the host serves: a scratch host folder with "setting\" and
    // "wpn\" under it, removed at the end.
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char name[64];
    snprintf(name, sizeof name, "wpncheck-%lu\\", GetCurrentProcessId());
    std::string root = std::string(temp) + name;
    CreateDirectoryA(root.c_str(), nullptr);
    CreateDirectoryA((root + "setting\\").c_str(), nullptr);
    CreateDirectoryA((root + "wpn\\").c_str(), nullptr);
    std::string settingsFolder = root + "setting\\";
    if (!settings.empty()) {
        settingsFolder = Narrow(FullPath(settings));
        if (settingsFolder.back() != '\\')
            settingsFolder += '\\';
    }

    SetUnhandledExceptionFilter(OnCrash);
    Finished = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE watchdog = CreateThread(nullptr, 0, Watchdog, nullptr, 0, nullptr);

    HWND parent = MakeParent();
    if (!parent) {
        fprintf(stderr, "wpncheck: cannot create the parent window (no display?)\n");
        return 2;
    }
    int result;
    {
        InstrumentedHost host;
        host.SetFolder(SVC_FOLDER_HOST_A, root);
        host.SetFolder(SVC_FOLDER_SETTINGS, settingsFolder);
        host.SetFolder(SVC_FOLDER_HOST_B, root + "wpn\\");
        ResourceCounts first, second;
        FirstPanel panel;
        CycleSetup setup = {FullPath(plugin), parent, true, &first, &panel};
        if (RunCycle(host, setup)) {
            Out.TakeFailures();
            Out.StartReload("reload: ");
            Stage = "reload";
            setup.First = false;
            setup.Counts = &second;
            bool again = RunCycle(host, setup);
            int failures = Out.TakeFailures();
            Out.EndReload();
            Out.Line(again && !failures ? Verdict::Pass : Verdict::Fail, "reload",
                     again && !failures ? "a second load, create, ticks, destroy and unload passed every check"
                                        : "the second cycle failed the checks above; mend those (a "
                                          "global not reset in PanelCreate, or something left from the first "
                                          "load, is the usual cause)");
        }
        ReportResources(first, second);
        Stack.Report();
        Out.PrintSummary();
        result = Out.Failed() ? 1 : 0;
    }
    SetEvent(Finished);
    WaitForSingleObject(watchdog, INFINITE);
    CloseHandle(watchdog);
    CloseHandle(Finished);
    DestroyWindow(parent);
    RemoveTree(root);
    return result;
}
