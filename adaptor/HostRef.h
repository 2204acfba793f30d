/* Owners for what the newer host hands over: an interface pointer, which
 * carries a reference given back with Release, and a host memory text,
 * given back to the host memory object. Both release once, on every path. */
#pragma once
#include "OstrelLib.h"

#include <utility>

template <class Interface>
class HostRef {
public:
    HostRef() = default;
    explicit HostRef(Interface *held) : held_(held) {}
    HostRef(HostRef &&other) noexcept : held_(other.held_) { other.held_ = nullptr; }
    HostRef(const HostRef &) = delete;
    HostRef &operator=(const HostRef &) = delete;
    ~HostRef() { Reset(); }

    Interface *get() const { return held_; }
    Interface *operator->() const { return held_; }
    explicit operator bool() const { return held_ != nullptr; }

    /* For the out-argument of a host call that hands over a reference. */
    void **OutVoid()
    {
        Reset();
        return reinterpret_cast<void **>(&held_);
    }

    void Reset()
    {
        if (held_) {
            held_->Release();
            held_ = nullptr;
        }
    }

private:
    Interface *held_ = nullptr;
};

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

/* The host's item list, or nothing when the host has none. */
inline HostRef<OIItemList> GetItemList()
{
    HostRef<OIItemList> list;
    OlxGetClient()->GetHostObject(OHOST_ITEM_LIST, list.OutVoid());
    return list;
}
