/* The built-in frames. Written as escaped cp932 bytes so that the bytes do not
 * depend on the compiler's source character set. */
#include "BuiltinArt.h"

// Provisional drawings, to be replaced by the finished art.
const char BuiltinFrames[BUILTIN_FRAME_COUNT][BUILTIN_SLOT_BYTES] = {
    "  |  (o o)\r\n  | (  v  )\r\n  |  ~~~~",
    "  |\r\n  |\r\n  |",
    "  \\(o o)/  Tuftling\r\n    ( v )     o",
    "  /(o o)\\  Tuftling\r\n    ( v )    o",
};
