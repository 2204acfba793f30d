/* wpnhost: a panel host of the older kind, for plug-in authors and our tests.
 *
 *   wpnhost [--settings DIR] [--close-after MS] PLUGIN.wpn
 *
 * Loads the plug-in, shows its panel in a top-level window, ticks it every
 * second and serves SVC_VERSION and SVC_FOLDER; closing the window destroys
 * the panel and unloads the plug-in. The settings folder defaults to
 * "setting\" beside this program. A plug-in that cannot be used is named in
 * one line on stderr and the exit code is 2. */
#include "Paths.h"
#include "PanelLoader.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <string>
#include <vector>

namespace {

enum { TICK_TIMER = 1, CLOSE_TIMER = 2, TICK_PERIOD = 1000 };

std::string SettingsFolder; // narrow, ends with a backslash
std::string HostFolder;
HWND HostWindow;

// The host record sits at an odd address, as the contract allows.
alignas(4) unsigned char HostRecordBytes[sizeof(HostServices) + 1];
HostServices *const Host = (HostServices *)(HostRecordBytes + 1);
PanelCallbacks Callbacks;
LoadedPlugin Plugin;
HWND Panel;

char *HandOut(const std::string &text)
{
    char *copy = (char *)malloc(text.size() + 1);
    if (copy)
        memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

uint32_t WPN_CALL Request(uint32_t code, uintptr_t value, uintptr_t out)
{
    switch (code) {
    case SVC_VERSION:
        *(uint32_t *)value = 200;
        return SVC_OK;
    case SVC_FOLDER: {
        const std::string *folder = value == SVC_FOLDER_SETTINGS ? &SettingsFolder
                                    : value == SVC_FOLDER_HOST_A || value == SVC_FOLDER_HOST_B
                                        ? &HostFolder
                                        : nullptr;
        if (!folder || folder->empty())
            return SVC_NONE;
        char *copy = HandOut(*folder);
        if (!copy)
            return SVC_NONE;
        *(char **)out = copy;
        return SVC_OK;
    }
    default:
        return SVC_UNKNOWN;
    }
}

uint32_t WPN_CALL Reserved(uint32_t, uint32_t, uint32_t) { return 0; }
void *WPN_CALL Alloc(uint32_t size) { return malloc(size ? size : 1); }
uint32_t WPN_CALL Free(void *block) { free(block); return 1; }
int32_t WPN_CALL ShowMessage(const char *text, uint32_t type)
{
    return MessageBoxA(HostWindow, text, "wpnhost", type);
}

void DestroyPanel()
{
    if (!Plugin.Module)
        return;
    KillTimer(HostWindow, TICK_TIMER);
    if (Callbacks.PanelDestroy)
        Callbacks.PanelDestroy(Host, Panel);
    UnloadPanelPlugin(&Plugin);
    Panel = nullptr;
}

LRESULT CALLBACK HostWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_TIMER:
        if (wParam == TICK_TIMER && Callbacks.PanelTick)
            Callbacks.PanelTick(Host, Panel);
        else if (wParam == CLOSE_TIMER)
            PostMessageW(window, WM_CLOSE, 0, 0);
        return 0;
    case WM_CLOSE:
        DestroyPanel();
        DestroyWindow(window);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

int Usage()
{
    fprintf(stderr, "usage: wpnhost [--settings DIR] [--close-after MS] PLUGIN.wpn\n");
    return 2;
}

} // namespace

int main()
{
    std::vector<std::wstring> words;
    if (!ProgramArguments(words))
        return Usage();
    std::wstring plugin, settings;
    UINT closeAfter = 0;
    for (size_t i = 0; i < words.size(); ++i) {
        const std::wstring &arg = words[i];
        if (arg == L"--settings" && i + 1 < words.size())
            settings = words[++i];
        else if (arg == L"--close-after" && i + 1 < words.size())
            closeAfter = (UINT)_wtoi(words[++i].c_str());
        else if (!arg.empty() && arg[0] != L'-' && plugin.empty())
            plugin = arg;
        else
            return Usage();
    }
    if (plugin.empty())
        return Usage();

    HostFolder = Narrow(ProgramFolder());
    if (settings.empty())
        settings = ProgramFolder() + L"setting\\";
    if (settings.back() != L'\\' && settings.back() != L'/')
        settings += L'\\';
    CreateDirectoryW(settings.c_str(), nullptr);
    SettingsFolder = Narrow(settings);

    plugin = FullPath(plugin);
    FillHostServices(Host, Request, Reserved, Alloc, Free, ShowMessage);
    LoadFailure failure = LoadPanelPlugin(plugin.c_str(), &Callbacks, &Plugin);
    if (failure) {
        fprintf(stderr, "wpnhost: %s: %s\n", Narrow(plugin).c_str(), DescribeLoadFailure(failure).Text);
        return 2;
    }

    WNDCLASSW wc = {};
    wc.lpfnWndProc = HostWndProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
    wc.hbrBackground = (HBRUSH)(COLOR_WINDOW + 1);
    wc.lpszClassName = L"wpnhost";
    RegisterClassW(&wc);
    std::wstring title = L"wpnhost - " + plugin.substr(plugin.find_last_of(L"\\/") + 1);
    HostWindow = CreateWindowExW(0, L"wpnhost", title.c_str(), WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                 CW_USEDEFAULT, CW_USEDEFAULT, 260, 260, nullptr, nullptr,
                                 wc.hInstance, nullptr);
    if (!HostWindow) {
        fprintf(stderr, "wpnhost: cannot create the host window\n");
        UnloadPanelPlugin(&Plugin);
        return 1;
    }
    if (Callbacks.PanelCreate)
        Panel = Callbacks.PanelCreate(Host, HostWindow);
    if (Panel)
        SetTimer(HostWindow, TICK_TIMER, TICK_PERIOD, nullptr);
    if (closeAfter)
        SetTimer(HostWindow, CLOSE_TIMER, closeAfter, nullptr);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    return 0;
}
