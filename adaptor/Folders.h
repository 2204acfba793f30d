/* The host's folders as the adaptor uses them: the kinds it asks OIClient
 * operation 10 for, and the one shape of folder text it trusts to load a
 * module from or to make a folder in: an absolute one. */
#pragma once

enum {
    FOLDER_KIND_A = 1,        // SVC_FOLDER value 0
    FOLDER_KIND_PANEL = 2,    // holds "wpn\", the panel plug-ins
    FOLDER_KIND_SETTINGS = 5, // holds "setting\", SVC_FOLDER value 1
    FOLDER_KIND_B = 17,       // SVC_FOLDER value 2
};

/* True for a drive letter, colon and backslash ("C:\...") or a share
 * ("\\server\share\..."). False for null, empty and every relative text,
 * which the platform would resolve against the current folder or, for a
 * module, along the library search path. */
bool IsAbsoluteFolder(const wchar_t *folder);

/* Makes the folder at path, inside hostFolder, when it is missing: one level
 * only, and only inside an absolute host folder that ends with a backslash,
 * so that nothing is ever made in the current folder. */
void MakeFolderInside(const wchar_t *hostFolder, const wchar_t *path);
