/* Pictures as PNG files, through the platform's imaging component (WIC):
 * written by the art tool's previews, read back by their tests. */
#pragma once
#include "Picture.h"

/* Writes the picture as a 24-bit PNG file; false when any step fails. */
bool SavePng(const Picture &picture, const std::wstring &path);
/* Reads a PNG file (any pixel format WIC converts) into a picture. */
bool LoadPng(const std::wstring &path, Picture &picture);
