/* The built-in frames, used when the art file cannot be opened: the Tuftling,
 * a small tufted creature, peeking out from behind an edge, the edge alone
 * while it hides, and two poses of its dance.
 *
 * The bytes are cp932, written as escapes so that they do not depend on the
 * compiler's source character set; the readable drawing stands above each
 * slot. The drawings are laid out for a proportional Japanese face ("MS P
 * Gothic"), so they look skewed in a fixed-width editor. Their shape is fixed:
 * lines 9, 9, 8, 8; widest line 25, 13, 48, 52 bytes; text 221, 133, 323, 354
 * bytes; CR LF between lines and none after the last; slots 0 and 1 indent
 * every line by six ideographic spaces, so the edge stands in one column.
 * FramesTest checks every one of these numbers. */
#include "BuiltinArt.h"

const char BuiltinFrames[BUILTIN_FRAME_COUNT][BUILTIN_SLOT_BYTES] = {
    // Slot 0, normal: the Tuftling peeks out from behind the edge ("chira": a glance)
    //   　　　　　　| ﾉﾉ､　   ﾁﾗｯ
    //   　　　　　　|￣￣￣ヽ､
    //   　　　　　　|　        ヽ
    //   　　　　　　|ω・｀   彡)
    //   　　　　　　|　        彡
    //   　　　　　　|          ﾉ
    //   　　　　　　|⊂      ﾉ
    //   　　　　　　|＿＿ﾉ
    //   　　　　　　|    ∪
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40| \xc9\xc9\xa4\x81\x40   \xc1\xd7\xaf\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\x81\x50\x81\x50\x81\x50\x81\x52\xa4\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\x81\x40        \x81\x52\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\x83\xd6\x81\x45\x81\x4d   \x9c\x63)\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\x81\x40        \x9c\x63\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|          \xc9\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\x81\xbc      \xc9\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\x81\x51\x81\x51\xc9\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|    \x81\xbe",

    // Slot 1, hide: the edge alone, the Tuftling gone behind it
    //   　　　　　　|
    //   　　　　　　|
    //   　　　　　　|
    //   　　　　　　|
    //   　　　　　　|
    //   　　　　　　|
    //   　　　　　　|
    //   　　　　　　|
    //   　　　　　　|
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|\r\n"
    "\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40\x81\x40|",

    // Slot 2, dance: arms up, with its name, the little one and music
    //             ﾉﾉﾉ           ♪  ﾟ･*:.｡..｡.:*･ﾟ
    //   　 ,ｨ￣￣￣ヽ､      ☆ Tuftling ☆
    //   ヽ(ﾐ ´・ω・`彡)ﾉ      ﾀﾌﾄﾘﾝｸﾞ
    //      ﾐ               彡              ,ﾉ
    //   　 ヽ､＿＿＿ﾉ             ヽ(･ω･)ﾉ
    //          ∪    ∪                   (   )
    //    ♪                                ∪∪  ♪
    //   ,;,,;,.,;;,,;,.,,;,;,,.;,,;;,.,,;,,;,.,;;,,;,.,,
    "          \xc9\xc9\xc9           \x81\xf4  \xdf\xa5*:.\xa1..\xa1.:*\xa5\xdf\r\n"
    "\x81\x40 ,\xa8\x81\x50\x81\x50\x81\x50\x81\x52\xa4      \x81\x99 Tuftling \x81\x99\r\n"
    "\x81\x52(\xd0 \x81\x4c\x81\x45\x83\xd6\x81\x45`\x9c\x63)\xc9      \xc0\xcc\xc4\xd8\xdd\xb8\xde\r\n"
    "   \xd0               \x9c\x63              ,\xc9\r\n"
    "\x81\x40 \x81\x52\xa4\x81\x51\x81\x51\x81\x51\xc9             \x81\x52(\xa5\x83\xd6\xa5)\xc9\r\n"
    "       \x81\xbe    \x81\xbe                   (   )\r\n"
    " \x81\xf4                                \x81\xbe\x81\xbe  \x81\xf4\r\n"
    ",;,,;,.,;;,,;,.,,;,;,,.;,,;;,.,,;,,;,.,;;,,;,.,,",

    // Slot 3, dance: the step to the right ("tan!"), arms bent, the little one hops
    //   　　        ﾉﾉﾉ     ♪    ｡.:*･ﾟ ♪ ﾟ･*:.｡
    //           ,ｨ￣￣￣ヽ､       ★ Tuftling ★
    //       ﾍ(ﾐ  ´・ω・`彡)ﾍ      ﾀﾌﾄﾘﾝｸﾞ
    //    三   ﾐ               彡              ,ﾉ
    //           ヽ､＿＿＿ﾉ              ﾍ(･ω･)ﾍ
    //            ∪         ∪ ﾀﾝｯ         ∪   ∪
    //        ♪                                        ♪
    //   ,;,,;,.,;;,,;,.,,;,;,,.;,,;;,.,,;,,;,.,;;,,;,.,,;,;,
    "\x81\x40\x81\x40        \xc9\xc9\xc9     \x81\xf4    \xa1.:*\xa5\xdf \x81\xf4 \xdf\xa5*:.\xa1\r\n"
    "        ,\xa8\x81\x50\x81\x50\x81\x50\x81\x52\xa4       \x81\x9a Tuftling \x81\x9a\r\n"
    "    \xcd(\xd0  \x81\x4c\x81\x45\x83\xd6\x81\x45`\x9c\x63)\xcd      \xc0\xcc\xc4\xd8\xdd\xb8\xde\r\n"
    " \x8e\x4f   \xd0               \x9c\x63              ,\xc9\r\n"
    "        \x81\x52\xa4\x81\x51\x81\x51\x81\x51\xc9              \xcd(\xa5\x83\xd6\xa5)\xcd\r\n"
    "         \x81\xbe         \x81\xbe \xc0\xdd\xaf         \x81\xbe   \x81\xbe\r\n"
    "     \x81\xf4                                        \x81\xf4\r\n"
    ",;,,;,.,;;,,;,.,,;,;,,.;,,;;,.,,;,,;,.,;;,,;,.,,;,;,",
};
