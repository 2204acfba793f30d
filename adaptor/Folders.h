/* The host's folders as the adaptor uses them: the kinds it asks OIClient
 * operation 10 for, how a panel folder text is taken, and the one shape of
 * folder text it trusts to make a folder in: an absolute one. */
#pragma once
#include <windows.h>

enum {
    FOLDER_KIND_HOST_A = 1,   // what SVC_FOLDER_HOST_A gives a plug-in
    FOLDER_KIND_PANEL = 2,    // holds "wpn\", the panel plug-ins
    FOLDER_KIND_SETTINGS = 5, // holds "setting\": SVC_FOLDER_SETTINGS
    FOLDER_KIND_HOST_B = 17,  // what SVC_FOLDER_HOST_B gives a plug-in
};

/* Where a host keeps its panel plug-ins, under its panel folder (kind 2):
 * "wpn\", then the plug-in's title and its extension. */
const wchar_t PluginFolder[] = L"wpn\\";
const wchar_t PluginExtension[] = L".wpn";

/* True for a drive letter, colon and separator ("C:\...", "C:/...") or a
 * share ("\\server\share\..."), either slash serving as separator. False for
 * null, empty and every relative text, which the platform would resolve
 * against the current folder or, for a module, along the library search
 * path. */
bool IsAbsoluteFolder(const wchar_t *folder);

/* How a host folder text names a folder. A relative one ("panel\", as the
 * icon path "panel\wpn\<title>.ico" is) lies under the host program's own
 * folder. A drive-relative ("C:panel\") or root-relative ("\panel\") text
 * depends on a current folder, and a null or empty one names nothing. */
enum class FolderShape { None, Absolute, Relative };
FolderShape ShapeOfFolder(const wchar_t *folder);

/* The folder of the process's main module with its final backslash; false
 * when its path is unknown or too long to be read whole. */
bool HostProgramFolder(wchar_t (&folder)[MAX_PATH]);

/* Makes the folder at path, inside hostFolder, when it is missing: one level
 * only, and only inside an absolute host folder that ends with a backslash,
 * so that nothing is ever made in the current folder. */
void MakeFolderInside(const wchar_t *hostFolder, const wchar_t *path);
