/* The art file reader, free of window and GDI calls so that it also builds
 * natively (for the fuzzer).
 *
 * The file is read as text: CR LF reads as LF, a lone CR stays, a 0x1A byte
 * ends the data. The translation is done here, over the raw bytes, so the
 * result never depends on how a C runtime buffers text mode. */
#pragma once
#include "ArtSource.h"
#include "FrameStore.h"

enum { ART_LINE_BYTES = 1024 }; // a line stores at most ART_LINE_BYTES - 1 bytes

/* The four section lines, each the whole line. A name's length is its
 * sizeof less one. */
const char SectionNormal[] = "$Normal"; // the lines that follow go to the normal frame
const char SectionHide[] = "$Hide";     // ... to the hide frame
const char SectionDance[] = "$Dance";   // ... to a new dance frame
const char SectionEnd[] = "$End";       // ... nowhere, until the next section line
/* In the order the reader compares them. */
const char *const SectionNames[] = {SectionNormal, SectionHide, SectionDance, SectionEnd};

/* Replaces frames with what the art file whose bytes `raw` gives describes:
 * a normal frame, a hide frame and one frame per "$Dance" line. A read error
 * ends the data as the end of the file does. */
void ReadArt(ArtSource &raw, FrameStore &frames);

/* Whether the line (a C string) is the section line `name`: the whole line,
 * case-sensitive, compared with lstrcmpA on Windows, the lengths agreeing. */
bool IsSectionLine(const char *line, const char *name);
