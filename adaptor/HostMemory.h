/* Host memory, both ways: a text the newer host hands over (a folder path, a
 * view's text) is given back to the host memory object when its owner goes;
 * a text the adaptor hands the host (its identifier, name and icon path) is a
 * fresh block of host memory that the host owns from then on. */
#pragma once
#include "OstrelLib.h"

/* Owns a host memory text received through an out-argument; gives it back
 * once, on every path. */
class HostText {
public:
    HostText() = default;
    HostText(const HostText &) = delete;
    HostText &operator=(const HostText &) = delete;
    ~HostText()
    {
        if (text_) {
            OlxGetMemory()->Free(text_);
            text_ = nullptr;
        }
    }
    wchar_t **Out() { return &text_; }
    const wchar_t *get() const { return text_; }

private:
    wchar_t *text_ = nullptr;
};

/* A copy of text in host memory for the newer host, stored at out (when out
 * is not null) and returned; null when the host has no memory for it. */
wchar_t *HandOutHostText(const wchar_t *text, wchar_t **out);
