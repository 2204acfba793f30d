/* `TuftlingArt check`: every trap of an art file that the panel falls into
 * without a word, with its line, and what the panel will show. */
#pragma once
#include <stdio.h>
#include <string>

struct CheckOptions {
    int Points = 0;       // the font size the frames must fit at; 0: each size the menu offers
    int WindowWidth = 0;  // the panel window as the host shows it; 0: the size
    int WindowHeight = 0; // the panel makes it, which hosts keep unless they enlarge it
};

/* Checks the file's bytes (`file` names it in the findings) and prints the
 * findings and a summary. Frames are measured with the panel's font at
 * `Points`, or at 7, 10 and 12 points when it is 0, against the panel's
 * picture and the panel window. Returns 1 when there is an error, 0
 * otherwise. */
int CheckArt(const std::string &file, const std::string &bytes, const CheckOptions &options, FILE *out);
