/* The library's small classes: OObject, OString, OCharConv and OMisc.
 * OCharConv converts with the ANSI code page and keeps each result in a
 * block chained to the converter, freed together when the converter goes.
 * A null text is taken as the empty one, and counted as the caller's fault.
 * A test can make empty texts null pointers (OstrelTestSetNullEmptyTexts),
 * as a host library may hand them out. */
#include "Host.h"

#include <stdlib.h>
#include <string.h>

namespace {

/* True, counting a fault, when a caller handed the library a null pointer. */
bool NullFault(const void *pointer)
{
    if (pointer)
        return false;
    ++State().Counters.NullPointers;
    return true;
}

} // namespace

OObject::OObject() {}
OObject::~OObject() {}

OString::OString() : text_(nullptr), length_(0), capacity_(0)
{
    Assign(L"", 0);
}

OString::OString(const wchar_t *text) : text_(nullptr), length_(0), capacity_(0)
{
    if (NullFault(text))
        text = L"";
    Assign(text, (uint32_t)wcslen(text));
}

OString::OString(const OString &other) : text_(nullptr), length_(0), capacity_(0)
{
    Assign(other.text_, other.length_);
}

OString::~OString()
{
    free(text_);
}

OString &OString::operator=(const wchar_t *text)
{
    if (NullFault(text))
        text = L"";
    if (text != text_)
        Assign(text, (uint32_t)wcslen(text));
    return *this;
}

OString &OString::operator=(const OString &other)
{
    if (&other != this)
        Assign(other.text_, other.length_);
    return *this;
}

OString &OString::operator+=(const OString &other)
{
    uint32_t added = other.length_;
    if (added == 0)
        return *this;
    uint32_t length = length_ + added;
    if (length + 1 > capacity_) {
        uint32_t capacity = (length + 1) * 2;
        wchar_t *grown = (wchar_t *)realloc(text_, capacity * sizeof(wchar_t));
        if (!grown)
            abort();
        text_ = grown;
        capacity_ = capacity;
    }
    // other may be *this: its text is still in place after the realloc.
    memmove(text_ + length_, other.text_ == nullptr ? L"" : other.text_, added * sizeof(wchar_t));
    length_ = length;
    text_[length_] = L'\0';
    return *this;
}

void OString::Assign(const wchar_t *text, uint32_t length)
{
    if (length == 0 && State().NullEmptyTexts) {
        free(text_);
        text_ = nullptr;
        length_ = capacity_ = 0;
        return;
    }
    wchar_t *copy = (wchar_t *)malloc((length + 1) * sizeof(wchar_t));
    if (!copy)
        abort();
    if (length)
        memcpy(copy, text, length * sizeof(wchar_t));
    copy[length] = L'\0';
    free(text_);
    text_ = copy;
    length_ = length;
    capacity_ = length + 1;
}

struct OCharConv::Block {
    Block *Next;
};

OCharConv::OCharConv() : blocks_(nullptr) {}

OCharConv::~OCharConv()
{
    while (blocks_) {
        Block *next = blocks_->Next;
        free(blocks_);
        blocks_ = next;
    }
}

void *OCharConv::Keep(void *block)
{
    Block *header = (Block *)block;
    header->Next = blocks_;
    blocks_ = header;
    return header + 1;
}

const wchar_t *OCharConv::a2t(const char *text)
{
    if (NullFault(text))
        text = "";
    if (!*text && State().NullEmptyTexts)
        return nullptr;
    int n = MultiByteToWideChar(CP_ACP, 0, text, -1, nullptr, 0);
    if (n <= 0)
        n = 1;
    void *block = malloc(sizeof(Block) + n * sizeof(wchar_t));
    if (!block)
        abort();
    wchar_t *out = (wchar_t *)Keep(block);
    out[0] = L'\0';
    MultiByteToWideChar(CP_ACP, 0, text, -1, out, n);
    out[n - 1] = L'\0';
    return out;
}

const char *OCharConv::t2a(const wchar_t *text)
{
    if (NullFault(text))
        text = L"";
    if (!*text && State().NullEmptyTexts)
        return nullptr;
    int n = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (n <= 0)
        n = 1;
    void *block = malloc(sizeof(Block) + n);
    if (!block)
        abort();
    char *out = (char *)Keep(block);
    out[0] = '\0';
    WideCharToMultiByte(CP_ACP, 0, text, -1, out, n, nullptr, nullptr);
    out[n - 1] = '\0';
    return out;
}

bool OMisc::IsFileExist(const wchar_t *path)
{
    if (NullFault(path) || !*path)
        return false;
    DWORD attributes = GetFileAttributesW(path);
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
