/* A PE file (an EXE or a DLL) read from its bytes, without loading it: the
 * machine it was built for and the names it exports and imports. Nothing is
 * mapped or run, so a module for another machine, or one whose imports would
 * not resolve here, can still be read. Every offset is checked against the
 * bytes: a damaged file reads as not valid, never past its end. Free of
 * window and loader calls. */
#pragma once
#include <stdint.h>
#include <string>
#include <vector>

enum : uint16_t { PE_MACHINE_I386 = 0x014C };

struct PeImport {
    std::string Dll;                // as the file names it
    std::vector<std::string> Names; // imported by name; an import by ordinal as "#N"
};

struct PeImage {
    bool Valid = false;               // the headers and both tables could be read
    uint16_t Machine = 0;
    std::vector<std::string> Exports; // the exported names
    std::vector<PeImport> Imports;
};

PeImage ReadPeImage(const std::string &bytes);

/* What the image imports from `dll` (the name compared without case), or null. */
const PeImport *FindImport(const PeImage &image, const std::string &dll);

/* "32-bit x86", "64-bit x86-64", "64-bit ARM" or "machine 0x1234". */
std::string MachineName(uint16_t machine);
