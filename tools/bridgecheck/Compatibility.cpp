/* A GCC (Itanium) name starts "_Z" and names its first class as a length and
 * the letters ("_ZN7OStringC1Ev"); an MSVC name starts "?" and ends a class
 * name with "@@" ("??0OString@@QAE@XZ"). That much tells the two apart and
 * pairs an import with the export that was meant. */
#include "Compatibility.h"

#include <ctype.h>
#include <set>

namespace {

// The first class or function name of a GCC-spelled name, "" when unreadable.
std::string GnuFirstName(const std::string &name)
{
    size_t at = 2; // after "_Z"
    if (at < name.size() && name[at] == 'N')
        ++at;
    while (at < name.size() && (name[at] == 'K' || name[at] == 'V' || name[at] == 'r'))
        ++at;
    size_t length = 0;
    while (at < name.size() && isdigit((unsigned char)name[at]) && length < 4096)
        length = length * 10 + (name[at++] - '0');
    return length && length <= name.size() - at ? name.substr(at, length) : std::string();
}

bool MsvcNamesClass(const std::string &name, const std::string &cls)
{
    return !cls.empty() && name.find(cls + "@@") != std::string::npos;
}

} // namespace

Spelling SpellingOf(const std::string &name)
{
    if (name.compare(0, 2, "_Z") == 0)
        return Spelling::Gnu;
    if (name.compare(0, 1, "?") == 0)
        return Spelling::Msvc;
    return Spelling::None;
}

const char *CompilerOf(Spelling spelling)
{
    switch (spelling) {
    case Spelling::Gnu: return "GCC (mingw-w64)";
    case Spelling::Msvc: return "MSVC";
    case Spelling::None: break;
    }
    return "a C compiler";
}

NameMatch MatchNames(const std::vector<std::string> &imports, const std::vector<std::string> &exports)
{
    NameMatch match;
    const std::set<std::string> offered(exports.begin(), exports.end());
    match.Imported = imports.size();
    for (const std::string &name : imports)
        if (!offered.count(name))
            match.Missing.push_back(name);
    if (match.Missing.empty())
        return match;
    match.MissingExample = match.Missing.front();
    for (const std::string &name : match.Missing)
        if (SpellingOf(name) != Spelling::None) {
            match.Wanted = SpellingOf(name);
            match.MissingExample = name;
            break;
        }
    if (match.Wanted == Spelling::None)
        return match;
    for (const std::string &name : exports) {
        Spelling s = SpellingOf(name);
        if (s == Spelling::None || s == match.Wanted)
            continue;
        match.Offered = s;
        if (match.ExportExample.empty())
            match.ExportExample = name;
    }
    // Pair a missing import with the library's own name for the same class.
    if (match.Wanted == Spelling::Gnu && match.Offered == Spelling::Msvc)
        for (const std::string &missing : match.Missing)
            for (const std::string &name : exports)
                if (SpellingOf(missing) == Spelling::Gnu && MsvcNamesClass(name, GnuFirstName(missing))) {
                    match.MissingExample = missing;
                    match.ExportExample = name;
                    return match;
                }
    return match;
}
