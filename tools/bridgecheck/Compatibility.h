/* Whether a host library serves every name an adaptor imports from it, and
 * when it does not, why: C++ names as one compiler spells them against the
 * spelling of another, or names the library lacks. Pure: names in, verdict
 * out. */
#pragma once
#include <string>
#include <vector>

/* How a C++ compiler spelled (mangled) a name; None for a plain C name. */
enum class Spelling { None, Gnu, Msvc };
Spelling SpellingOf(const std::string &name);
/* The compilers that spell names that way. */
const char *CompilerOf(Spelling spelling);

struct NameMatch {
    size_t Imported = 0;               // names the adaptor imports from the library
    std::vector<std::string> Missing;  // of those, the ones the library does not export
    Spelling Wanted = Spelling::None;  // how the missing C++ names are spelled
    Spelling Offered = Spelling::None; // how the library spells its own, when not so
    std::string MissingExample;        // a missing name and, when the library spells C++
    std::string ExportExample;         // otherwise, its export of the same member (or class)
    bool OtherCompiler() const { return Offered != Spelling::None; }
};

NameMatch MatchNames(const std::vector<std::string> &imports, const std::vector<std::string> &exports);
