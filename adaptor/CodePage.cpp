/* The plug-ins this module loaded and the code page each works in (0: the
 * system's), read from the version resource; a small table of them by module
 * and image range; and the conversions the redirected functions and the
 * services use.
 *
 * The table is this module's: one PanelBridge module may host plug-ins of
 * different code pages one after the other (or, from several instances, side
 * by side). A call is the plug-in's whose image holds its return address.
 * A plug-in that ends a function with a call (a window procedure's "return
 * DefWindowProcA(...)") may have it made as a jump, so that the return
 * address is its own caller's (the system's window code, this adaptor): such
 * a call is taken as the plug-in's loaded last, which is the only one in the
 * supported use of one instance per module. Only plug-ins reach the
 * redirected functions and the services, so no other caller is mistaken
 * for one. An entry is replaced whenever its module is given a code page
 * again, and dropped once no module is mapped at its address any more, so a
 * module later loaded at the same address never inherits another's code page.
 * The table names the foreign plug-ins still mapped, whose slots
 * ImportPatch.cpp puts back should this module go first. */
#include "CodePage.h"

#include <new>
#include <string.h>

namespace {

const UINT FamilyCodePage = 932;
const LCID FamilyLocale = 0x0411; // Japanese
const UINT UnicodeCodePage = 1200; // "the strings are UTF-16", not a code page of texts

struct PluginPage {
    HMODULE Module;
    const BYTE *End; // the image's end
    UINT CodePage;
    LCID Locale;
};

enum { MAX_PLUGINS = 16 };

bool IsMapped(HMODULE module)
{
    HMODULE found = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              (LPCWSTR)module, &found) &&
           found == module;
}

/* Without a destructor of its own: it stays readable while this module
 * detaches, when ImportPatch.cpp puts the foreign plug-ins' slots back. */
class PluginPages {
public:
    void ForEachForeign(void (*each)(HMODULE module)) const
    {
        for (int i = 0; i < count_; ++i)
            if (pages_[i].CodePage && IsMapped(pages_[i].Module))
                each(pages_[i].Module);
    }

    /* The plug-in whose image holds the address; else, for a call that
     * reached here from a plug-in's tail call (its return address is then its
     * own caller's), the plug-in loaded last that is still mapped. */
    const PluginPage *Find(const void *address) const
    {
        if (const PluginPage *holding = Holding(address))
            return holding;
        for (int i = count_ - 1; i >= 0; --i)
            if (IsMapped(pages_[i].Module))
                return &pages_[i];
        return nullptr;
    }

    const PluginPage *Holding(const void *address) const
    {
        for (int i = 0; i < count_; ++i)
            if ((const BYTE *)address >= (const BYTE *)pages_[i].Module && (const BYTE *)address < pages_[i].End)
                return &pages_[i];
        return nullptr;
    }

    /* Forgets the module and every module no longer mapped, keeping the
     * order of loading. */
    void Forget(HMODULE module)
    {
        int kept = 0;
        for (int i = 0; i < count_; ++i)
            if (pages_[i].Module != module && IsMapped(pages_[i].Module))
                pages_[kept++] = pages_[i];
        count_ = kept;
    }

    bool Add(const PluginPage &page)
    {
        if (count_ == MAX_PLUGINS)
            return false;
        pages_[count_++] = page;
        return true;
    }

private:
    PluginPage pages_[MAX_PLUGINS] = {};
    int count_ = 0;
};

PluginPages Pages;

DWORD ImageSize(HMODULE module)
{
    const IMAGE_DOS_HEADER *dos = (const IMAGE_DOS_HEADER *)module;
    const IMAGE_NT_HEADERS *nt = (const IMAGE_NT_HEADERS *)((const BYTE *)module + dos->e_lfanew);
    return nt->OptionalHeader.SizeOfImage;
}

/* The code page of a language's ANSI texts, 0 when it has none. */
UINT AnsiCodePageOf(LANGID language)
{
    wchar_t number[8] = {};
    if (!GetLocaleInfoW(MAKELCID(language, SORT_DEFAULT), LOCALE_IDEFAULTANSICODEPAGE, number, 8))
        return 0;
    return (UINT)wcstoul(number, nullptr, 10);
}

template <class C> C *Allocate(int count, C *small, int smallCount)
{
    return count <= smallCount ? small : new (std::nothrow) C[count];
}

/* Bytes of the character at text in the code page, never past length. */
int CharBytes(UINT codePage, const char *text, int length)
{
    unsigned char lead = (unsigned char)text[0];
    int bytes = 1;
    if (codePage == CP_UTF8)
        bytes = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    else if (IsDBCSLeadByteEx(codePage, lead))
        bytes = 2;
    return bytes < length ? bytes : length;
}

} // namespace

UINT CodePageOfModule(HMODULE module, LCID *locale)
{
    *locale = FamilyLocale;
    HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(VS_VERSION_INFO), MAKEINTRESOURCEW(16) /* RT_VERSION */);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const void *data = loaded ? LockResource(loaded) : nullptr;
    DWORD size = found ? SizeofResource(module, found) : 0;
    if (!data || !size)
        return FamilyCodePage;
    // VerQueryValueW reads a copy that it may annotate, not the image.
    BYTE *copy = new (std::nothrow) BYTE[size];
    if (!copy)
        return FamilyCodePage;
    memcpy(copy, data, size);
    const WORD *translation = nullptr;
    UINT length = 0;
    UINT codePage = FamilyCodePage;
    if (VerQueryValueW(copy, L"\\VarFileInfo\\Translation", (void **)&translation, &length) && translation &&
        length >= 2 * sizeof(WORD)) {
        LANGID language = translation[0];
        codePage = translation[1];
        // "041104b0": UTF-16 strings of a Japanese program, whose texts are
        // in its language's code page.
        if (codePage == UnicodeCodePage || codePage == 0)
            codePage = language ? AnsiCodePageOf(language) : 0;
        if (!codePage)
            codePage = FamilyCodePage;
        if (language)
            *locale = MAKELCID(language, SORT_DEFAULT);
        else if (codePage != FamilyCodePage)
            *locale = GetUserDefaultLCID();
    }
    delete[] copy;
    return codePage;
}

bool RecordCodePage(HMODULE module)
{
    Pages.Forget(module); // a module loaded afresh at an address used before
    LCID locale;
    UINT codePage = CodePageOfModule(module, &locale);
    // A plug-in of the system's code page is recorded too, with code page 0,
    // so that its calls are never taken for another plug-in's.
    bool foreign = codePage != GetACP() && IsValidCodePage(codePage);
    if (!foreign)
        codePage = locale = 0;
    return Pages.Add({module, (const BYTE *)module + ImageSize(module), codePage, locale}) && foreign;
}

void ForEachForeignPlugin(void (*each)(HMODULE module))
{
    Pages.ForEachForeign(each);
}

UINT CodePageAt(const void *address)
{
    const PluginPage *page = Pages.Find(address);
    return page ? page->CodePage : 0;
}

bool IsForeignPluginCode(const void *address)
{
    const PluginPage *page = Pages.Holding(address);
    return page && page->CodePage;
}

LCID LocaleAt(const void *address)
{
    const PluginPage *page = Pages.Find(address);
    return page ? page->Locale : 0;
}

WideIn::WideIn(UINT codePage, const char *text, int length)
{
    if (!text)
        return;
    int count = length == 0 ? 0 : MultiByteToWideChar(codePage, 0, text, length, nullptr, 0);
    text_ = Allocate(count + 1, small_, sizeof small_ / sizeof *small_);
    if (!text_) { // out of memory: the empty text
        text_ = small_;
        count = 0;
    }
    if (count)
        MultiByteToWideChar(codePage, 0, text, length, text_, count);
    text_[count] = 0;
    size_ = length < 0 && count ? count - 1 : count;
}

WideIn::~WideIn()
{
    if (text_ != small_)
        delete[] text_;
}

NarrowIn::NarrowIn(UINT codePage, const wchar_t *text, int length)
{
    if (!text)
        return;
    int count = length == 0 ? 0 : WideCharToMultiByte(codePage, 0, text, length, nullptr, 0, nullptr, nullptr);
    text_ = Allocate(count + 1, small_, sizeof small_);
    if (!text_) {
        text_ = small_;
        count = 0;
    }
    if (count)
        WideCharToMultiByte(codePage, 0, text, length, text_, count, nullptr, nullptr);
    text_[count] = 0;
    size_ = length < 0 && count ? count - 1 : count;
}

NarrowIn::~NarrowIn()
{
    if (text_ != small_)
        delete[] text_;
}

int CopyOut(UINT codePage, const char *text, int length, char *buffer, int capacity)
{
    if (!buffer || capacity <= 0)
        return 0;
    if (!text)
        text = "";
    if (length < 0)
        length = (int)strlen(text);
    int fits = 0;
    while (fits < length) {
        int step = CharBytes(codePage, text + fits, length - fits);
        if (fits + step > capacity - 1)
            break;
        fits += step;
    }
    memcpy(buffer, text, fits);
    buffer[fits] = 0;
    return fits;
}

WideText WidenInPage(UINT page, const char *text)
{
    if (!page)
        return WidenText(text);
    WideIn wide(page, text ? text : "");
    wchar_t *copy = new (std::nothrow) wchar_t[wide.size() + 1];
    if (copy)
        memcpy(copy, wide.get(), (wide.size() + 1) * sizeof(wchar_t));
    return WideText(copy);
}

char *NarrowCopyInPage(UINT page, const wchar_t *text)
{
    if (!page)
        return NarrowCopy(text);
    NarrowIn narrow(page, text ? text : L"");
    char *copy = new (std::nothrow) char[narrow.size() + 1];
    if (copy)
        memcpy(copy, narrow.get(), narrow.size() + 1);
    return copy;
}
