/* doctest as every test program includes it, with one change: a C string
 * given to INFO or CAPTURE (a table row's name, say) is shown as its text,
 * where doctest by itself shows a pointer. Comparisons are untouched: two
 * char pointers in a CHECK still compare as pointers. */
#pragma once
#include <doctest/doctest.h>

namespace doctest {
template <>
struct StringMaker<const char *> {
    static String convert(const char *text) { return text ? String(text) : String("(null)"); }
};
template <>
struct StringMaker<char *> {
    static String convert(const char *text) { return StringMaker<const char *>::convert(text); }
};
} // namespace doctest
