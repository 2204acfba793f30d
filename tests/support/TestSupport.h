/* Small helpers shared by the test programs: files and folders, waiting on
 * the message loop with a deadline, and windows to parent panels. */
#pragma once
#include <windows.h>
#include <string>

#include "Paths.h" // Narrow, Widen, ProgramFolder, ReadFileBytes, WriteFileBytes
#include "Pump.h"  // PumpUntil, PumpFor

bool FileExists(const std::wstring &path);

/* A positive count from the environment variable `name`, or `fallback` when it
 * is unset or not a positive number: the soak runs lengthen the suite's runs. */
int EnvCount(const char *name, int fallback);

/* GetProcessMemoryInfo's PrivateUsage, or 0 where Wine does not offer it. */
SIZE_T ProcessPrivateUsage();

/* A fresh folder under the temporary folder, removed with its contents. */
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;
    const std::wstring &Path() const { return path_; } // ends with a backslash
    std::string Ansi() const { return Narrow(path_); }
    std::wstring operator/(const std::wstring &name) const { return path_ + name; }

private:
    std::wstring path_;
};

/* A visible top-level window to parent panels; destroyed with the object. */
class ParentWindow {
public:
    ParentWindow(int width = 400, int height = 300);
    ~ParentWindow();
    ParentWindow(const ParentWindow &) = delete;
    ParentWindow &operator=(const ParentWindow &) = delete;
    HWND get() const { return window_; }

private:
    HWND window_;
};

/* A program run as its own process, its stdout and stderr read through one
 * pipe; ended if it still runs when the object goes. */
class ChildProcess {
public:
    ChildProcess(const std::wstring &program, const std::wstring &arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess &) = delete;
    ChildProcess &operator=(const ChildProcess &) = delete;
    bool Started() const { return info_.hProcess != nullptr; }
    DWORD Id() const { return info_.dwProcessId; }
    /* Reads its output while it runs, until it exits or timeoutMs pass;
     * ExitCode stays STILL_ACTIVE when it is still running. */
    void Finish(DWORD timeoutMs = 120000);

    std::string Output;
    DWORD ExitCode = STILL_ACTIVE;

private:
    PROCESS_INFORMATION info_ = {};
    HANDLE output_ = nullptr;
};

/* A panel shown by a host program running as its own process: a child window
 * of class panelClass inside the process's top-level window of class
 * hostClass. Panel is null when none showed within the timeout; Host is
 * still the host's window if that showed. */
struct ShownPanel {
    HWND Host = nullptr;
    HWND Panel = nullptr;
};
ShownPanel WaitForPanel(DWORD processId, const wchar_t *hostClass, const wchar_t *panelClass,
                        DWORD timeoutMs = 20000);

/* A module file's version resource: its fixed versions, null when the file
 * has none, and the texts of its Japanese Unicode block (041104b0), "?" for
 * a text it lacks. */
class VersionResource {
public:
    explicit VersionResource(const std::wstring &path);
    const VS_FIXEDFILEINFO *Fixed() const;
    std::wstring Text(const wchar_t *name) const;

private:
    const void *Query(const std::wstring &key) const;
    std::string data_;
};

/* Reads a private-profile value as text ("" when absent). */
std::string IniValue(const std::wstring &file, const char *section, const char *key);
