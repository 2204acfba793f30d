/* OstrelLib, the newer host's support library: the free functions and classes
 * its plug-ins use. This is our stand-in for the platform library; it offers
 * what the adaptor relies on, built as OstrelLib.dll with an import library.
 * Texts are wide (UTF-16) unless a name says otherwise. */
#pragma once
#include "OstrelApi.h"
#include "OstrelInterfaces.h"

#include <stdint.h>

extern "C" {
/* The host application object; never null, not released after use. */
OSTREL_API OIClient *OlxGetClient(void);
/* The host memory object; never null, not released after use. */
OSTREL_API OIMemory *OlxGetMemory(void);
/* A message box owned by the host's main window; the button identifier. */
OSTREL_API int OlxMessageBox(const wchar_t *text, uint32_t type);
}

/* Root of the host's object classes. */
class OSTREL_API OObject {
public:
    OObject();
    virtual ~OObject();
};

/* A growable wide text. The stand-in takes a null text as the empty one but
 * counts it as a fault (OstrelCounters::NullPointers), and so do OCharConv
 * and OMisc: a real host library need not take null at all. */
class OSTREL_API OString {
public:
    OString();
    OString(const wchar_t *text);
    OString(const OString &other);
    ~OString();
    OString &operator=(const wchar_t *text);
    OString &operator=(const OString &other);
    OString &operator+=(const OString &other);
    const wchar_t *c_str() const { return text_; }
    uint32_t Length() const { return length_; }

private:
    void Assign(const wchar_t *text, uint32_t length);
    wchar_t *text_;
    uint32_t length_;
    uint32_t capacity_;
};

/* Converts between wide text and narrow text in the ANSI code page. Every
 * result stays valid until the converter is destroyed. */
class OSTREL_API OCharConv {
public:
    OCharConv();
    ~OCharConv();
    OCharConv(const OCharConv &) = delete;
    OCharConv &operator=(const OCharConv &) = delete;
    const wchar_t *a2t(const char *text);
    const char *t2a(const wchar_t *text);

private:
    void *Keep(void *block);
    struct Block;
    Block *blocks_;
};

class OSTREL_API OMisc {
public:
    /* True when a file (not a folder) exists at the path. */
    static bool IsFileExist(const wchar_t *path);
};
