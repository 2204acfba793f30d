/* The art file through the platform's file API: CreateFileW and ReadFile on
 * Windows, open and read elsewhere (the native fuzz build). */
#include "ArtSource.h"

#ifdef _WIN32
#include <windows.h>

ArtFile::ArtFile(const char *path) : handle_(-1)
{
    // The path is ANSI text; the ANSI CreateFileA would refuse one longer
    // than MAX_PATH, which a settings folder near its limit gives, so it is
    // converted here as the C runtime would and opened by its wide form.
    wchar_t wide[1024];
    if (!path || !path[0] || !MultiByteToWideChar(CP_ACP, 0, path, -1, wide, (int)(sizeof wide / sizeof wide[0])))
        return;
    HANDLE file = CreateFileW(wide, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (file != INVALID_HANDLE_VALUE)
        handle_ = (intptr_t)file;
}

ArtFile::~ArtFile()
{
    if (IsOpen())
        CloseHandle((HANDLE)handle_);
}

size_t ArtFile::Read(char *into, size_t bytes)
{
    DWORD got = 0;
    if (!IsOpen() || !ReadFile((HANDLE)handle_, into, (DWORD)bytes, &got, nullptr))
        return 0;
    return got;
}

#else
#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

ArtFile::ArtFile(const char *path) : handle_(-1)
{
    if (path && path[0])
        handle_ = open(path, O_RDONLY);
}

ArtFile::~ArtFile()
{
    if (IsOpen())
        close((int)handle_);
}

size_t ArtFile::Read(char *into, size_t bytes)
{
    if (!IsOpen())
        return 0;
    ssize_t got;
    do
        got = read((int)handle_, into, bytes);
    while (got < 0 && errno == EINTR);
    return got < 0 ? 0 : (size_t)got;
}
#endif
