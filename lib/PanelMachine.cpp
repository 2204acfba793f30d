/* The machine step: the file's PE header read without loading it, so that a
 * module for another machine is named before LoadLibraryW refuses it. Kept
 * apart from the other steps because it reads through the C++ library. */
#include "PanelLoader.h"

#include "Paths.h" // ReadFileBytes
#include "PeImage.h"

LoadFailure MachineStep(const wchar_t *path)
{
    LoadFailure failure;
    std::string bytes;
    if (GetFileAttributesW(path) == INVALID_FILE_ATTRIBUTES || !ReadFileBytes(path, bytes)) {
        failure.Step = LoadStep::File;
        return failure;
    }
    PeImage image = ReadPeImage(bytes);
    if (image.Valid && image.Machine != PE_MACHINE_I386) {
        failure.Step = LoadStep::Machine;
        failure.Seen = image.Machine;
    }
    return failure;
}
