/* The built-in frames: four slots of 1024 bytes of cp932 text (normal, hide and
 * two dance frames), each NUL-terminated and zero-padded, lines separated by
 * CR LF with no line end after the last. */
#pragma once

enum { BUILTIN_FRAME_COUNT = 4, BUILTIN_SLOT_BYTES = 1024 };

extern const char BuiltinFrames[BUILTIN_FRAME_COUNT][BUILTIN_SLOT_BYTES];
