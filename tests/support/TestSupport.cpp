#include "TestSupport.h"

#include <psapi.h>
#include <stdlib.h>
#include <vector>

bool FileExists(const std::wstring &path)
{
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

int EnvCount(const char *name, int fallback)
{
    const char *text = getenv(name);
    int n = text ? atoi(text) : 0;
    return n > 0 ? n : fallback;
}

SIZE_T ProcessPrivateUsage()
{
    PROCESS_MEMORY_COUNTERS_EX counters = {};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), (PROCESS_MEMORY_COUNTERS *)&counters, sizeof counters))
        return 0;
    return counters.PrivateUsage;
}

static void RemoveTree(const std::wstring &folder)
{
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            std::wstring name = found.cFileName;
            if (name == L"." || name == L"..")
                continue;
            std::wstring path = folder + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path + L"\\");
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

TempDir::TempDir()
{
    static unsigned serial;
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    for (;;) {
        wchar_t name[64];
        wsprintfW(name, L"tuft-%lu-%lu\\", GetCurrentProcessId(), ++serial);
        path_ = std::wstring(base) + name;
        if (CreateDirectoryW(path_.c_str(), nullptr))
            break;
    }
}

TempDir::~TempDir()
{
    RemoveTree(path_);
}

static LRESULT CALLBACK ParentProc(HWND w, UINT m, WPARAM wp, LPARAM lp)
{
    return DefWindowProcW(w, m, wp, lp);
}

ParentWindow::ParentWindow(int width, int height)
{
    static ATOM atom;
    if (!atom) {
        WNDCLASSW wc = {};
        wc.lpfnWndProc = ParentProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hbrBackground = (HBRUSH)GetStockObject(LTGRAY_BRUSH);
        wc.lpszClassName = L"TestParent";
        atom = RegisterClassW(&wc);
    }
    window_ = CreateWindowExW(0, L"TestParent", L"test parent", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 10, 10,
                              width, height, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
}

ParentWindow::~ParentWindow()
{
    if (window_)
        DestroyWindow(window_);
}

ChildProcess::ChildProcess(const std::wstring &program, const std::wstring &arguments)
{
    SECURITY_ATTRIBUTES inherit = {sizeof inherit, nullptr, TRUE};
    HANDLE writeEnd = nullptr;
    if (!CreatePipe(&output_, &writeEnd, &inherit, 0))
        return;
    SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW si = {};
    si.cb = sizeof si;
    si.dwFlags = STARTF_USESTDHANDLES;
    si.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    si.hStdOutput = writeEnd;
    si.hStdError = writeEnd;
    std::wstring command = L"\"" + program + L"\" " + arguments;
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0, nullptr, nullptr, &si, &info_))
        info_ = PROCESS_INFORMATION();
    CloseHandle(writeEnd); // the child holds the only writing end now
}

ChildProcess::~ChildProcess()
{
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT)
            TerminateProcess(info_.hProcess, 99);
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    if (output_)
        CloseHandle(output_);
}

void ChildProcess::Finish(DWORD timeoutMs)
{
    if (!info_.hProcess)
        return;
    // Reads while waiting, and only what is there: a helper process of the
    // child's that inherited the pipe must not keep the test waiting for an
    // end of output that never comes.
    auto drain = [this] {
        char buffer[4096];
        DWORD ready = 0, got = 0;
        while (PeekNamedPipe(output_, nullptr, 0, nullptr, &ready, nullptr) && ready &&
               ReadFile(output_, buffer, ready < sizeof buffer ? ready : sizeof buffer, &got, nullptr) && got)
            Output.append(buffer, got);
    };
    const DWORD start = GetTickCount();
    while (WaitForSingleObject(info_.hProcess, 20) == WAIT_TIMEOUT && GetTickCount() - start < timeoutMs)
        drain();
    drain();
    GetExitCodeProcess(info_.hProcess, &ExitCode);
}

namespace {

struct PanelSearch {
    DWORD ProcessId;
    const wchar_t *HostClass, *PanelClass;
    ShownPanel Found;
};

bool HasClass(HWND window, const wchar_t *className)
{
    wchar_t name[128] = {};
    GetClassNameW(window, name, 128);
    return lstrcmpiW(name, className) == 0;
}

BOOL CALLBACK MatchPanel(HWND window, LPARAM param)
{
    auto *search = (PanelSearch *)param;
    if (!HasClass(window, search->PanelClass))
        return TRUE;
    search->Found.Panel = window;
    return FALSE;
}

BOOL CALLBACK MatchHost(HWND window, LPARAM param)
{
    auto *search = (PanelSearch *)param;
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != search->ProcessId || !HasClass(window, search->HostClass))
        return TRUE;
    search->Found.Host = window;
    EnumChildWindows(window, MatchPanel, param);
    return FALSE;
}

} // namespace

ShownPanel WaitForPanel(DWORD processId, const wchar_t *hostClass, const wchar_t *panelClass, DWORD timeoutMs)
{
    PanelSearch search = {processId, hostClass, panelClass, {}};
    // Nothing wakes this thread when another process makes a window: look
    // again every 100 ms until the deadline.
    auto shown = [&] {
        search.Found = ShownPanel();
        EnumWindows(MatchHost, (LPARAM)&search);
        return search.Found.Panel != nullptr;
    };
    DWORD start = GetTickCount(), slice = timeoutMs < 100 ? timeoutMs : 100;
    while (!PumpUntil(shown, slice) && GetTickCount() - start < timeoutMs) {
    }
    return search.Found;
}

std::string IniValue(const std::wstring &file, const char *section, const char *key)
{
    char value[256] = {};
    GetPrivateProfileStringA(section, key, "", value, sizeof value, Narrow(file).c_str());
    return value;
}

VersionResource::VersionResource(const std::wstring &path)
{
    DWORD ignored = 0;
    data_.resize(GetFileVersionInfoSizeW(path.c_str(), &ignored));
    if (!data_.empty() && !GetFileVersionInfoW(path.c_str(), 0, (DWORD)data_.size(), &data_[0]))
        data_.clear();
}

const void *VersionResource::Query(const std::wstring &key) const
{
    void *value = nullptr;
    UINT length = 0;
    return !data_.empty() && VerQueryValueW(data_.data(), key.c_str(), &value, &length) ? value : nullptr;
}

const VS_FIXEDFILEINFO *VersionResource::Fixed() const
{
    return (const VS_FIXEDFILEINFO *)Query(L"\\");
}

std::wstring VersionResource::Text(const wchar_t *name) const
{
    auto text = (const wchar_t *)Query(std::wstring(L"\\StringFileInfo\\041104b0\\") + name);
    return text ? text : L"?";
}
