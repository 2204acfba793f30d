/* Two paths name the same file when the system gives them the same volume
 * and file index; where it cannot say (no such file yet), they are compared
 * as full paths, without regard to case as the file system does. */
#include "Files.h"

#include "Say.h"
#include "Paths.h"

#include <windows.h>

namespace {

bool SameFile(const std::wstring &a, const std::wstring &b)
{
    BY_HANDLE_FILE_INFORMATION info[2];
    bool known = true;
    const std::wstring *paths[2] = {&a, &b};
    for (int i = 0; i < 2 && known; ++i) {
        HANDLE file = CreateFileW(paths[i]->c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                  nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
        known = file != INVALID_HANDLE_VALUE && GetFileInformationByHandle(file, &info[i]);
        if (file != INVALID_HANDLE_VALUE)
            CloseHandle(file);
    }
    if (known)
        return info[0].dwVolumeSerialNumber == info[1].dwVolumeSerialNumber &&
               info[0].nFileIndexHigh == info[1].nFileIndexHigh && info[0].nFileIndexLow == info[1].nFileIndexLow;
    return lstrcmpiW(FullPath(a).c_str(), FullPath(b).c_str()) == 0;
}

} // namespace

bool ReadArtFile(const std::wstring &path, std::string &bytes)
{
    const std::string name = Utf8(path);
    DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        DWORD error = GetLastError();
        if (error == ERROR_FILE_NOT_FOUND || error == ERROR_PATH_NOT_FOUND)
            Say(stderr, "%s: no such file%s\n", name.c_str(),
                error == ERROR_PATH_NOT_FOUND ? " (its folder does not exist either)" : "");
        else
            Say(stderr, "%s: cannot reach the file (error %lu)\n", name.c_str(), (unsigned long)error);
        return false;
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        Say(stderr, "%s: this is a folder; name the art file in it (such as %s\\TuftlingAA.txt)\n", name.c_str(),
            name.c_str());
        return false;
    }
    if (!ReadFileBytes(path, bytes)) {
        Say(stderr, "%s: cannot read the file (error %lu: another program may hold it, or it may not be yours "
                    "to read)\n",
            name.c_str(), (unsigned long)GetLastError());
        return false;
    }
    return true;
}

bool MayWrite(const std::wstring &out, const std::wstring *in, bool force)
{
    if (in && SameFile(*in, out)) {
        Say(stderr, "%s: this is the file being read; writing it would lose the original: nothing written "
                    "(name another file to write)\n",
            Utf8(out).c_str());
        return false;
    }
    DWORD attributes = GetFileAttributesW(out.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY)) {
        Say(stderr, "%s: this is a folder: nothing written (name a file in it)\n", Utf8(out).c_str());
        return false;
    }
    if (attributes != INVALID_FILE_ATTRIBUTES && !force) {
        Say(stderr, "%s: the file exists already: nothing written (--force replaces it)\n", Utf8(out).c_str());
        return false;
    }
    return true;
}

void SayCannotWrite(const std::wstring &out, unsigned long error)
{
    const std::wstring folder = FolderOf(FullPath(out));
    DWORD attributes = GetFileAttributesW(folder.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES || !(attributes & FILE_ATTRIBUTE_DIRECTORY))
        Say(stderr, "%s: cannot write the file: the folder %s does not exist\n", Utf8(out).c_str(),
            Utf8(folder).c_str());
    else
        Say(stderr, "%s: cannot write the file in the folder %s (error %lu: the folder may be read-only, or the "
                    "file open in another program)\n",
            Utf8(out).c_str(), Utf8(folder).c_str(), error);
}

bool WriteOutput(const std::wstring &out, const std::string &bytes)
{
    if (WriteFileBytes(out, bytes))
        return true;
    SayCannotWrite(out, GetLastError());
    return false;
}
