/* Paths, files and texts as our programs and tests handle them: wide inside,
 * narrow (the ANSI code page) towards panel plug-ins and the console. */
#pragma once
#include <string>
#include <vector>

/* Wide text as narrow text in a code page, and back: the ANSI code page
 * unless another is named (CP_UTF8, 932). */
std::string Narrow(const std::wstring &wide, unsigned codePage = 0);
std::wstring Widen(const std::string &narrow, unsigned codePage = 0);
/* The folder of a path, with its trailing backslash (".\" when none). */
std::wstring FolderOf(const std::wstring &path);
/* The full path of a relative one; the path itself when that fails. */
std::wstring FullPath(const std::wstring &path);
/* The folder of the running program, with a trailing backslash. */
std::wstring ProgramFolder();
/* The words of the program's command line after its own name, split as the
 * platform splits them; false when the command line cannot be read. */
bool ProgramArguments(std::vector<std::wstring> &words);
/* The file's whole contents (others may read and write it meanwhile); false
 * when it cannot be opened. */
bool ReadFileBytes(const std::wstring &path, std::string &bytes);
/* Replaces the file's contents with these bytes; false when any is not written. */
bool WriteFileBytes(const std::wstring &path, const std::string &bytes);
