#include "MenuCloser.h"

#include <string.h>

MenuCloser *MenuCloser::current_;

namespace {

struct Search {
    const char *ClassName;
    HWND Found;
};

BOOL CALLBACK Match(HWND window, LPARAM data)
{
    Search *search = (Search *)data;
    char name[64];
    if (GetClassNameA(window, name, sizeof name) && strcmp(name, search->ClassName) == 0 &&
        IsWindowVisible(window)) {
        search->Found = window;
        return FALSE;
    }
    return TRUE;
}

HWND FindOpen(const char *className, bool anyThread)
{
    Search search = {className, nullptr};
    EnumThreadWindows(GetCurrentThreadId(), Match, (LPARAM)&search);
    if (!search.Found && anyThread) // Wine may keep the popup menu window elsewhere
        EnumWindows(Match, (LPARAM)&search);
    return search.Found;
}

} // namespace

MenuCloser::MenuCloser()
{
    current_ = this;
    timer_ = SetTimer(nullptr, 0, 100, Tick);
}

MenuCloser::~MenuCloser()
{
    KillTimer(nullptr, timer_);
    current_ = nullptr;
}

void CALLBACK MenuCloser::Tick(HWND, UINT, UINT_PTR, DWORD)
{
    MenuCloser *self = current_;
    if (!self)
        return;
    if (FindOpen("#32768", true)) {
        self->sawMenu_ = true;
        EndMenu();
    }
    if (HWND dialog = FindOpen("#32770", false)) {
        self->sawDialog_ = true;
        PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    }
}
