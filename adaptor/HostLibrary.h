/* The adaptor's one door to the host library's classes: every call into
 * OString, OCharConv and OMisc is in HostLibrary.cpp. Those classes are
 * imported by their C++ names as the compiler spells them, so building the
 * adaptor against another host library, with that library's compiler, is a
 * change of that one file (and of the base class OObject that WpnAdaptor.h
 * names). The rest of the adaptor sees texts of this module's own heap.
 *
 * No null pointer reaches the library from here, and none that it gives
 * back is read: either is taken as the empty text. */
#pragma once
#include <initializer_list>
#include <memory>

/* A wide text of this module's heap; reads as the empty text when memory
 * ran out making it. */
class WideText {
public:
    explicit WideText(wchar_t *owned) : text_(owned) {}
    const wchar_t *get() const { return text_ ? text_.get() : L""; }
    bool empty() const { return !text_ || !text_[0]; }

private:
    std::unique_ptr<wchar_t[]> text_;
};

/* The parts one after the other, nothing put between them. */
WideText JoinTexts(std::initializer_list<const wchar_t *> parts);
/* A narrow text in the ANSI code page, widened. */
WideText WidenText(const char *text);
/* A narrow copy from this module's heap (give back with delete[]), or null
 * when memory ran out. */
char *NarrowCopy(const wchar_t *text);
/* True when a file (not a folder) is at the path. */
bool FileExists(const wchar_t *path);
