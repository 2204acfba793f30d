/* `TuftlingArt check`: every trap of an art file that the panel falls into
 * without a word, with its line, and what the panel will show. */
#pragma once
#include <stdio.h>
#include <string>

/* Checks the file's bytes (`file` names it in the findings) and prints the
 * findings and a summary. Frames are measured with the panel's font at
 * `points`, or at 7, 10 and 12 points when `points` is 0. Returns 1 when
 * there is an error, 0 otherwise. */
int CheckArt(const std::string &file, const std::string &bytes, int points, FILE *out);
