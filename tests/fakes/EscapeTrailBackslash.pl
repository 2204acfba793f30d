# For clang, which stores narrow literals as the source's bytes but reads a
# backslash as an escape wherever it stands: in a code page 932 source, the
# second byte of a double-byte character may be 0x5C (ソ, 表), which is
# written here as an escaped backslash so that the byte comes out unchanged.
binmode STDIN;
binmode STDOUT;
while (<STDIN>) {
    s/([\x81-\x9F\xE0-\xFC][\x40-\xFC]|[\x00-\xFF])/(length($1) == 2 && substr($1, 1, 1) eq "\\") ? "$1\\" : $1/ge;
    print;
}
