#include "ModalProbe.h"

#include <string.h>

ModalProbe *ModalProbe::current_;

ModalProbe::ModalProbe(std::function<bool()> probe, UINT period) : probe_(std::move(probe))
{
    current_ = this;
    timer_ = SetTimer(nullptr, 0, period, Tick);
}

ModalProbe::~ModalProbe()
{
    KillTimer(nullptr, timer_);
    current_ = nullptr;
}

void CALLBACK ModalProbe::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    ModalProbe *self = current_;
    if (!self || self->finished_)
        return;
    self->finished_ = true; // a probe that opens its own loop must not re-enter
    self->finished_ = self->probe_();
}

namespace {
struct Search {
    const char *className;
    HWND found;
};

BOOL CALLBACK Match(HWND window, LPARAM data)
{
    Search *search = (Search *)data;
    char name[64];
    if (GetClassNameA(window, name, sizeof name) && strcmp(name, search->className) == 0 &&
        IsWindowVisible(window)) {
        search->found = window;
        return FALSE;
    }
    return TRUE;
}
} // namespace

HWND FindThreadWindow(const char *className)
{
    Search search = {className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), Match, (LPARAM)&search);
    // Only a menu: a dialog box found elsewhere would be another program's.
    if (!search.found && strcmp(className, "#32768") == 0)
        EnumWindows(Match, (LPARAM)&search);
    return search.found;
}
