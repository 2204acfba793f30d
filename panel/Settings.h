/* The six integer settings and the two file paths, module-wide.
 *
 * The settings are read from "TuftlingPanel.ini" when a panel is created and
 * all six are written back when it is destroyed; in between they live only in
 * these variables, where the animation, painting and menu read and change
 * them. Paths are empty when the host gave no usable folder: then nothing is
 * read or written and the defaults serve. */
#pragma once
#include <stdint.h>

enum { PATH_BYTES = 300 };

extern char IniPath[PATH_BYTES];
extern char ArtPath[PATH_BYTES];

extern int32_t Count;
extern int32_t Hide;
extern int32_t Always;
extern int32_t DanceTimer;
extern int32_t HideTimer;
extern int32_t Size;

/* The longest folder text whose settings path still fits in PATH_BYTES. */
enum { MAX_FOLDER_CHARS = PATH_BYTES - 1 - 18 };

/* Composes IniPath and ArtPath from the folder. A null folder, or one too long
 * for the paths, leaves both empty. */
void BuildPaths(const char *folder);
void LoadSettings();
void SaveSettings();
