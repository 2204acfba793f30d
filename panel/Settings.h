/* The settings file "TuftlingPanel.ini" and the paths of both files, composed
 * from the folder the host names for plug-in settings. The six settings live
 * in Settings (PanelState.h); this module reads them when a panel is created
 * and writes all six back when it is destroyed. Paths are empty when the host
 * gave no usable folder: then nothing is read or written and the defaults
 * serve. */
#pragma once
#include "PanelState.h"

// The file names as they follow the folder; sizeof counts their terminator.
const char SettingsFileName[] = "\\TuftlingPanel.ini";
const char ArtFileName[] = "\\TuftlingAA.txt";
static_assert(sizeof ArtFileName <= sizeof SettingsFileName, "the settings path is the longer one");

/* The longest folder text whose paths still fit in PATH_BYTES (281). */
enum { MAX_FOLDER_CHARS = PATH_BYTES - sizeof SettingsFileName };

/* Composes the settings file's and the art file's paths from the host's
 * settings folder. A null folder, or one longer than MAX_FOLDER_CHARS, leaves
 * both empty. */
void BuildPaths(const char *folder, char (&iniPath)[PATH_BYTES], char (&artPath)[PATH_BYTES]);
/* Reads the six settings from the file at iniPath into Settings; an empty
 * path gives the defaults. */
void LoadSettings(const char *iniPath);
/* The default of the setting stored under `key` (0 for an unknown key). */
int32_t SettingDefault(const char *key);
/* Writes all six settings to the file at iniPath; an empty path writes
 * nothing. */
void SaveSettings(const char *iniPath);
