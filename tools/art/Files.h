/* The files TuftlingArt reads and writes, and what it says when one cannot
 * be: a missing file, a folder, a file it may not read, a folder it cannot
 * write to (named), and an output that would replace a file the author has,
 * above all the very file being read. */
#pragma once
#include <string>

/* The whole file; false, with the reason printed, when it cannot be read. */
bool ReadArtFile(const std::wstring &path, std::string &bytes);

/* True when out may be written: it is not the file `in` (when given), and it
 * does not exist unless `force`. Otherwise prints why and returns false. */
bool MayWrite(const std::wstring &out, const std::wstring *in, bool force);

/* Writes the file; false, with the reason and the folder printed, when it
 * cannot. */
bool WriteOutput(const std::wstring &out, const std::string &bytes);

/* Prints why out could not be written, naming its folder. */
void SayCannotWrite(const std::wstring &out, unsigned long error);
