#include "Paths.h"

#include <windows.h>
#include <shellapi.h>

std::string Narrow(const std::wstring &wide, unsigned codePage)
{
    int n = WideCharToMultiByte(codePage, 0, wide.c_str(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n : 0, '\0');
    if (n > 0)
        WideCharToMultiByte(codePage, 0, wide.c_str(), (int)wide.size(), &out[0], n, nullptr, nullptr);
    return out;
}

std::wstring Widen(const std::string &narrow, unsigned codePage)
{
    int n = MultiByteToWideChar(codePage, 0, narrow.c_str(), (int)narrow.size(), nullptr, 0);
    std::wstring out(n > 0 ? n : 0, L'\0');
    if (n > 0)
        MultiByteToWideChar(codePage, 0, narrow.c_str(), (int)narrow.size(), &out[0], n);
    return out;
}

std::wstring FolderOf(const std::wstring &path)
{
    size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? L".\\" : path.substr(0, slash + 1);
}

std::wstring FullPath(const std::wstring &path)
{
    wchar_t buffer[MAX_PATH * 4];
    DWORD n = GetFullPathNameW(path.c_str(), MAX_PATH * 4, buffer, nullptr);
    return n && n < MAX_PATH * 4 ? std::wstring(buffer, n) : path;
}

std::wstring ProgramFolder()
{
    wchar_t path[MAX_PATH * 4];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH * 4);
    return FolderOf(std::wstring(path, n < MAX_PATH * 4 ? n : 0));
}

bool WriteFileBytes(const std::wstring &path, const std::string &bytes)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    DWORD put = 0;
    BOOL ok = WriteFile(file, bytes.data(), (DWORD)bytes.size(), &put, nullptr);
    CloseHandle(file);
    return ok && put == bytes.size();
}

bool ReadFileBytes(const std::wstring &path, std::string &bytes)
{
    bytes.clear();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return false;
    char buffer[65536];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got)
        bytes.append(buffer, got);
    CloseHandle(file);
    return true;
}

bool ProgramArguments(std::vector<std::wstring> &words)
{
    int count = 0;
    wchar_t **argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (!argv)
        return false;
    words.assign(argv + (count > 0 ? 1 : 0), argv + count);
    LocalFree(argv);
    return true;
}
