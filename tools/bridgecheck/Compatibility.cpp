/* A GCC (Itanium) name starts "_Z" and names its first class as a length and
 * the letters ("_ZN7OStringC1Ev"); an MSVC name starts "?" and ends a class
 * name with "@@" ("??0OString@@QAE@XZ"). That much tells the two apart and
 * pairs an import with the export that was meant: the same class and the
 * same member (a constructor, a destructor or a named function). */
#include "Compatibility.h"

#include <ctype.h>
#include <set>

namespace {

// What a C++ name names, as far as pairing needs: its class and its member,
// "" for either when the name is not one of a class's members.
struct Member {
    std::string Class, Name;
};

const char Constructor[] = "(constructor)", Destructor[] = "(destructor)";

// A length-prefixed source name at `at` ("7OString"), moving past it.
std::string GnuSourceName(const std::string &name, size_t &at)
{
    size_t length = 0, start = at;
    while (at < name.size() && isdigit((unsigned char)name[at]) && length < 4096)
        length = length * 10 + (name[at++] - '0');
    if (!length || length > name.size() - at) {
        at = start;
        return std::string();
    }
    at += length;
    return name.substr(at - length, length);
}

// "_ZN7OString6AppendEPKw": class OString, member Append; "C1"/"C2"
// constructors, "D0"/"D1"/"D2" destructors; an operator keeps its code.
Member GnuMember(const std::string &name)
{
    size_t at = 2; // after "_Z"
    if (at >= name.size() || name[at] != 'N')
        return Member();
    ++at;
    while (at < name.size() && (name[at] == 'K' || name[at] == 'V' || name[at] == 'r'))
        ++at;
    Member member;
    member.Class = GnuSourceName(name, at);
    if (member.Class.empty() || at + 2 > name.size())
        return Member();
    if ((name[at] == 'C' || name[at] == 'D') && isdigit((unsigned char)name[at + 1]))
        member.Name = name[at] == 'C' ? Constructor : Destructor;
    else if (isdigit((unsigned char)name[at]))
        member.Name = GnuSourceName(name, at);
    else
        member.Name = "operator " + name.substr(at, 2);
    return member;
}

// "?Append@OString@@...": member Append of OString; "??0OString@@..." its
// constructor, "??1OString@@..." its destructor; "??Y..." an operator.
Member MsvcMember(const std::string &name)
{
    const size_t end = name.find("@@");
    if (end == std::string::npos)
        return Member();
    Member member;
    if (name.compare(0, 2, "??") == 0) {
        if (name.size() < 3)
            return Member();
        const char code = name[2];
        member.Class = name.substr(3, end - 3);
        member.Name = code == '0' ? Constructor : code == '1' ? Destructor : std::string("operator ") + code;
    } else {
        const size_t at = name.find('@');
        member.Name = name.substr(1, at - 1);
        member.Class = name.substr(at + 1, end - at - 1);
    }
    if (member.Class.empty() || member.Class.find('@') != std::string::npos)
        return Member();
    return member;
}

// The first missing GCC name with an MSVC export that `same` accepts.
bool PairBy(NameMatch &match, const std::vector<std::string> &exports,
            bool (*same)(const Member &import, const Member &exported))
{
    for (const std::string &missing : match.Missing) {
        if (SpellingOf(missing) != Spelling::Gnu)
            continue;
        const Member wanted = GnuMember(missing);
        if (wanted.Class.empty())
            continue;
        for (const std::string &name : exports)
            if (SpellingOf(name) == Spelling::Msvc && same(wanted, MsvcMember(name))) {
                match.MissingExample = missing;
                match.ExportExample = name;
                return true;
            }
    }
    return false;
}

bool SameMember(const Member &a, const Member &b)
{
    return a.Class == b.Class && a.Name == b.Name;
}

bool SameClass(const Member &a, const Member &b)
{
    return a.Class == b.Class;
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
    // Show a missing import beside the library's own name for the same
    // member, or failing that for the same class.
    if (match.Wanted == Spelling::Gnu && match.Offered == Spelling::Msvc)
        PairBy(match, exports, SameMember) || PairBy(match, exports, SameClass);
    return match;
}
