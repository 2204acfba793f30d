/* The art file reader, free of window and GDI calls so that it also builds
 * natively (for the fuzzer).
 *
 * The file is read as text: CR LF reads as LF, a lone CR stays, a 0x1A byte
 * ends the data. The translation is done here, byte by byte over the raw
 * stream, so the result never depends on how a C runtime buffers text mode. */
#pragma once
#include <istream>
#include <string>
#include <vector>

enum { ART_LINE_BYTES = 1024 }; // a line stores at most ART_LINE_BYTES - 1 bytes

/* Replaces frames with what the art file in `raw` (opened in binary mode)
 * describes: a normal frame, a hide frame and one frame per "$Dance" line. */
void ReadArt(std::istream &raw, std::vector<std::string> &frames);

/* Whole-line, case-sensitive section name comparison. */
bool IsSectionLine(const char *line, const char *name);
