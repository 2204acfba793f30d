/* Settings file: section "Tuftling" of a private-profile file, six integer keys
 * read and written only through the platform's profile functions, so other
 * sections and keys in the same file are left alone. */
#include "Settings.h"

#include <windows.h>
#include <string.h>

char IniPath[PATH_BYTES];
char ArtPath[PATH_BYTES];

int32_t Count = 0;
int32_t Hide = 1;
int32_t Always = 0;
int32_t DanceTimer = 1200;
int32_t HideTimer = 180000;
int32_t Size = 10;

static const char Section[] = "Tuftling";

void BuildPaths(const char *folder)
{
    IniPath[0] = '\0';
    ArtPath[0] = '\0';
    // A longer folder would overflow the fixed paths; without a folder the
    // panel runs on defaults and built-in frames and writes nothing.
    if (!folder || strnlen(folder, MAX_FOLDER_CHARS + 1) > MAX_FOLDER_CHARS)
        return;
    wsprintfA(IniPath, "%s\\TuftlingPanel.ini", folder);
    wsprintfA(ArtPath, "%s\\TuftlingAA.txt", folder);
}

static int32_t ReadKey(const char *key, int32_t fallback)
{
    if (!IniPath[0])
        return fallback;
    return (int32_t)GetPrivateProfileIntA(Section, key, fallback, IniPath);
}

void LoadSettings()
{
    Count = ReadKey("Count", 0);
    Hide = ReadKey("Hide", 1);
    Always = ReadKey("Always", 0);
    DanceTimer = ReadKey("DanceTimer", 1200);
    HideTimer = ReadKey("HideTimer", 180000);
    Size = ReadKey("Size", 10);
    if (Size == 0)
        Size = 10;
}

static void WriteKey(const char *key, int32_t value)
{
    char text[100];
    wsprintfA(text, "%d", value);
    WritePrivateProfileStringA(Section, key, text, IniPath);
}

void SaveSettings()
{
    if (!IniPath[0])
        return;
    WriteKey("Count", Count);
    WriteKey("Hide", Hide);
    WriteKey("Always", Always);
    WriteKey("DanceTimer", DanceTimer);
    WriteKey("HideTimer", HideTimer);
    WriteKey("Size", Size);
}
