/* Settings file: section "Tuftling" of a private-profile file, six integer keys
 * read and written only through the platform's profile functions, so other
 * sections and keys in the same file are left alone. One table names each
 * key, its default and where it is kept; reading and writing walk it in the
 * same order. */
#include "Settings.h"

#include <string.h>

namespace {

const char Section[] = "Tuftling";

struct Setting {
    const char *Key;
    int32_t Default;
    int32_t SettingsData::*Value;
};

constexpr Setting Table[] = {
    {"Count", 0, &SettingsData::Count},
    {"Hide", 1, &SettingsData::Hide},
    {"Always", 0, &SettingsData::Always},
    {"DanceTimer", 1200, &SettingsData::DanceTimer},
    {"HideTimer", 180000, &SettingsData::HideTimer},
    {"Size", POINTS_MEDIUM, &SettingsData::Size},
};

constexpr SettingsData Defaults()
{
    SettingsData defaults = {};
    for (const Setting &setting : Table)
        defaults.*setting.Value = setting.Default;
    return defaults;
}

int32_t ReadKey(const Setting &setting, const char *iniPath)
{
    if (!iniPath[0])
        return setting.Default;
    return (int32_t)GetPrivateProfileIntA(Section, setting.Key, setting.Default, iniPath);
}

void WriteKey(const Setting &setting, const char *iniPath)
{
    char text[100];
    wsprintfA(text, "%d", Settings.*setting.Value);
    WritePrivateProfileStringA(Section, setting.Key, text, iniPath);
}

} // namespace

// Defaults until the first panel reads the file: a host may show the menu
// before it makes a panel, and the menu shows the switches as they are.
SettingsData Settings = Defaults();

void BuildPaths(const char *folder, char (&iniPath)[PATH_BYTES], char (&artPath)[PATH_BYTES])
{
    iniPath[0] = '\0';
    artPath[0] = '\0';
    // A longer folder would overflow the fixed paths; without a folder the
    // panel runs on defaults and built-in frames and writes nothing.
    if (!folder || strnlen(folder, MAX_FOLDER_CHARS + 1) > MAX_FOLDER_CHARS)
        return;
    wsprintfA(iniPath, "%s%s", folder, SettingsFileName);
    wsprintfA(artPath, "%s%s", folder, ArtFileName);
}

void LoadSettings(const char *iniPath)
{
    for (const Setting &setting : Table)
        Settings.*setting.Value = ReadKey(setting, iniPath);
    if (Settings.Size == 0) // the one value corrected: no size reads as the default
        Settings.Size = POINTS_MEDIUM;
}

int32_t SettingDefault(const char *key)
{
    for (const Setting &setting : Table)
        if (strcmp(setting.Key, key) == 0)
            return setting.Default;
    return 0;
}

void SaveSettings(const char *iniPath)
{
    if (!iniPath[0])
        return;
    for (const Setting &setting : Table)
        WriteKey(setting, iniPath);
}
