/* The owner of an interface pointer the newer host hands over, which carries
 * a reference given back with Release once, on every path. (Host memory
 * texts have theirs in HostMemory.h.) */
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

/* The host's item list, or nothing when the host has none. */
inline HostRef<OIItemList> GetItemList()
{
    HostRef<OIItemList> list;
    OlxGetClient()->GetHostObject(OHOST_ITEM_LIST, list.OutVoid());
    return list;
}
