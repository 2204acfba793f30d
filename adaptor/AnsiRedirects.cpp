/* This module's versions of the ANSI functions that carry text, for plug-ins
 * written in a code page other than the system's. Each keeps the system
 * function's stdcall signature exactly, finds the calling plug-in's code page
 * from its return address (CodePage.h), converts with it and calls the wide
 * function. A caller outside every registered plug-in (code page 0) gets the
 * ANSI function unchanged, so a pointer handed on to other code does no harm.
 *
 * Where the system already converts rightly, the ANSI function is called as
 * it was: text drawn in a font of a specific character set (GDI converts by
 * the font's), texts of a window whose procedure is ANSI (they pass through
 * the plug-in's own procedure, whose DefWindowProcA is redirected too).
 *
 * A text read back into a caller's buffer is converted to the plug-in's code
 * page and cut to the caller's size on a character boundary, always with its
 * NUL inside the buffer. */
#include "AnsiRedirects.h"

#include "CodePage.h"

#include <new>
#include <stddef.h>
#include <string.h>

namespace {

/* The calling plug-in's code page; must be used in the redirected function
 * itself, whose return address it reads. */
#define PLUGIN_PAGE() CodePageAt(CALLER_ADDRESS())

/* A wide buffer of count characters for the system to fill; none for a
 * count that is negative or beyond any text of the system's. */
class WideSpace {
public:
    explicit WideSpace(int count)
    {
        if (count < 0 || count > MaxChars)
            count = 0;
        text_ = count <= (int)(sizeof small_ / sizeof *small_) ? small_ : new (std::nothrow) wchar_t[count];
        size_ = text_ ? count : 0;
        if (text_ && count)
            text_[0] = 0;
    }
    ~WideSpace()
    {
        if (text_ != small_)
            delete[] text_;
    }
    WideSpace(const WideSpace &) = delete;
    WideSpace &operator=(const WideSpace &) = delete;
    wchar_t *get() { return text_; }
    int size() const { return size_; }

    enum { MaxChars = 1 << 24 };

private:
    wchar_t small_[260];
    wchar_t *text_;
    int size_;
};

/* Narrows wide[0, length) into the caller's buffer. */
int GiveBack(UINT page, const wchar_t *wide, int length, char *buffer, int capacity)
{
    NarrowIn narrow(page, wide, length);
    return CopyOut(page, narrow.get(), narrow.size(), buffer, capacity);
}

/* A caller's buffer size as the conversions take it. */
int Room(UINT_PTR capacity)
{
    return capacity > 0x7FFFFFFF ? 0x7FFFFFFF : (int)capacity;
}

int NarrowLength(UINT page, const wchar_t *wide, int length)
{
    return length > 0 ? WideCharToMultiByte(page, 0, wide, length, nullptr, 0, nullptr, nullptr) : 0;
}

/* --- Windows and their texts --------------------------------------------- */

/* Texts of an ANSI window go through its procedure unchanged. */
bool ConvertsFor(UINT page, HWND window)
{
    return page && IsWindowUnicode(window);
}

BOOL SetTextIn(UINT page, HWND window, const char *text)
{
    if (!ConvertsFor(page, window))
        return SetWindowTextA(window, text);
    return SetWindowTextW(window, WideIn(page, text).get());
}

int GetTextIn(UINT page, HWND window, char *buffer, int capacity)
{
    if (!ConvertsFor(page, window))
        return GetWindowTextA(window, buffer, capacity);
    WideSpace wide(GetWindowTextLengthW(window) + 1);
    int length = GetWindowTextW(window, wide.get(), wide.size());
    return GiveBack(page, wide.get(), length, buffer, capacity);
}

int TextLengthIn(UINT page, HWND window)
{
    if (!ConvertsFor(page, window))
        return GetWindowTextLengthA(window);
    WideSpace wide(GetWindowTextLengthW(window) + 1);
    return NarrowLength(page, wide.get(), GetWindowTextW(window, wide.get(), wide.size()));
}

/* WM_SETTEXT, WM_GETTEXT and WM_GETTEXTLENGTH through a wide window
 * function (SendMessageW or DefWindowProcW). */
template <class Send> LRESULT TextMessage(UINT page, Send send, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_SETTEXT)
        return send(WM_SETTEXT, wParam, (LPARAM)WideIn(page, (const char *)lParam).get());
    WideSpace wide((int)send(WM_GETTEXTLENGTH, 0, 0) + 1);
    int length = (int)send(WM_GETTEXT, (WPARAM)wide.size(), (LPARAM)wide.get());
    if (message == WM_GETTEXTLENGTH)
        return NarrowLength(page, wide.get(), length);
    return GiveBack(page, wide.get(), length, (char *)lParam, Room(wParam));
}

bool IsTextMessage(UINT message)
{
    return message == WM_SETTEXT || message == WM_GETTEXT || message == WM_GETTEXTLENGTH;
}

/* A class whose procedure is the plug-in's own ANSI one: its windows take
 * their texts in ANSI, through that procedure. */
bool IsPluginAnsiClass(const char *className, HINSTANCE instance)
{
    WNDCLASSEXA info = {};
    info.cbSize = sizeof info;
    return GetClassInfoExA(instance, className, &info) && IsForeignPluginCode((const void *)info.lpfnWndProc);
}

/* The name of the plug-in's own ANSI window being made. On its way to the
 * window's WM_NCCREATE the system may take the name through its own code
 * page and back, which a code page such as UTF-8 does not survive; so the
 * name is kept here, converted from the bytes as given, for the
 * DefWindowProcA of that WM_NCCREATE. */
struct Creation {
    const wchar_t *Name;
    HWND Parent;
    HMENU Menu;
    DWORD Thread;
};
Creation *Creating = nullptr;

HWND CreateOwnWindow(UINT page, DWORD exStyle, LPCSTR className, LPCSTR name, DWORD style, int x, int y, int width,
                     int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter)
{
    WideIn wideName(page, name);
    Creation creation = {wideName.get(), parent, menu, GetCurrentThreadId()};
    Creation *outer = Creating;
    Creating = name ? &creation : nullptr;
    HWND made =
        CreateWindowExA(exStyle, className, name, style, x, y, width, height, parent, menu, instance, parameter);
    Creating = outer;
    return made;
}

/* The kept name when this WM_NCCREATE is the creation's, taken once. */
const wchar_t *KeptName(const CREATESTRUCTA *created)
{
    Creation *creation = Creating;
    if (!creation || creation->Thread != GetCurrentThreadId() || creation->Parent != created->hwndParent ||
        creation->Menu != created->hMenu)
        return nullptr;
    Creating = nullptr;
    return creation->Name;
}

HWND WINAPI PluginCreateWindowExA(DWORD exStyle, LPCSTR className, LPCSTR name, DWORD style, int x, int y, int width,
                                  int height, HWND parent, HMENU menu, HINSTANCE instance, LPVOID parameter)
{
    UINT page = PLUGIN_PAGE();
    // A name of 0xFF and a resource number names an icon, not a text.
    bool icon = name && (BYTE)name[0] == 0xFF;
    if (page && !icon && IsPluginAnsiClass(className, instance))
        return CreateOwnWindow(page, exStyle, className, name, style, x, y, width, height, parent, menu, instance,
                               parameter);
    if (!page || icon)
        return CreateWindowExA(exStyle, className, name, style, x, y, width, height, parent, menu, instance,
                               parameter);
    WideIn wideClass(page, IS_INTRESOURCE(className) ? nullptr : className);
    return CreateWindowExW(exStyle, IS_INTRESOURCE(className) ? (LPCWSTR)className : wideClass.get(),
                           WideIn(page, name).get(), style, x, y, width, height, parent, menu, instance, parameter);
}

BOOL WINAPI PluginSetWindowTextA(HWND window, LPCSTR text)
{
    return SetTextIn(PLUGIN_PAGE(), window, text);
}

int WINAPI PluginGetWindowTextA(HWND window, LPSTR buffer, int capacity)
{
    return GetTextIn(PLUGIN_PAGE(), window, buffer, capacity);
}

int WINAPI PluginGetWindowTextLengthA(HWND window)
{
    return TextLengthIn(PLUGIN_PAGE(), window);
}

BOOL WINAPI PluginSetDlgItemTextA(HWND dialog, int id, LPCSTR text)
{
    UINT page = PLUGIN_PAGE();
    return page ? SetTextIn(page, GetDlgItem(dialog, id), text) : SetDlgItemTextA(dialog, id, text);
}

UINT WINAPI PluginGetDlgItemTextA(HWND dialog, int id, LPSTR buffer, int capacity)
{
    UINT page = PLUGIN_PAGE();
    if (!page)
        return GetDlgItemTextA(dialog, id, buffer, capacity);
    HWND item = GetDlgItem(dialog, id);
    if (!item) {
        CopyOut(page, "", 0, buffer, capacity);
        return 0;
    }
    return (UINT)GetTextIn(page, item, buffer, capacity);
}

LRESULT WINAPI PluginSendMessageA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    UINT page = PLUGIN_PAGE();
    if (!IsTextMessage(message) || !ConvertsFor(page, window))
        return SendMessageA(window, message, wParam, lParam);
    return TextMessage(page, [window](UINT m, WPARAM w, LPARAM l) { return SendMessageW(window, m, w, l); },
                       message, wParam, lParam);
}

/* The plug-in's own ANSI windows keep their texts through here: the name a
 * window is created with (WM_NCCREATE) and every text set or read later. */
LRESULT WINAPI PluginDefWindowProcA(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    UINT page = PLUGIN_PAGE();
    if (page && message == WM_NCCREATE && lParam) {
        const CREATESTRUCTA *ansi = (const CREATESTRUCTA *)lParam;
        if (ansi->lpszName && (BYTE)ansi->lpszName[0] != 0xFF) {
            const wchar_t *kept = KeptName(ansi);
            WideIn name(page, kept ? nullptr : ansi->lpszName);
            WideIn className(page, IS_INTRESOURCE(ansi->lpszClass) ? nullptr : ansi->lpszClass);
            CREATESTRUCTW wide;
            memcpy(&wide, ansi, sizeof wide);
            wide.lpszName = kept ? kept : name.get();
            if (!IS_INTRESOURCE(ansi->lpszClass))
                wide.lpszClass = className.get();
            return DefWindowProcW(window, message, wParam, (LPARAM)&wide);
        }
    }
    if (!page || !IsTextMessage(message))
        return DefWindowProcA(window, message, wParam, lParam);
    return TextMessage(page, [window](UINT m, WPARAM w, LPARAM l) { return DefWindowProcW(window, m, w, l); },
                       message, wParam, lParam);
}

int WINAPI PluginMessageBoxA(HWND owner, LPCSTR text, LPCSTR caption, UINT type)
{
    UINT page = PLUGIN_PAGE();
    if (!page)
        return MessageBoxA(owner, text, caption, type);
    return MessageBoxW(owner, WideIn(page, text).get(), WideIn(page, caption).get(), type);
}

/* --- Menus ----------------------------------------------------------------- */

/* The item argument is a text, not a bitmap or owner's value. */
bool ItemIsText(UINT flags)
{
    return !(flags & (MF_BITMAP | MF_OWNERDRAW | MF_SEPARATOR));
}

BOOL WINAPI PluginAppendMenuA(HMENU menu, UINT flags, UINT_PTR id, LPCSTR item)
{
    UINT page = PLUGIN_PAGE();
    if (!page || !ItemIsText(flags))
        return AppendMenuA(menu, flags, id, item);
    return AppendMenuW(menu, flags, id, WideIn(page, item).get());
}

BOOL WINAPI PluginInsertMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item)
{
    UINT page = PLUGIN_PAGE();
    if (!page || !ItemIsText(flags))
        return InsertMenuA(menu, position, flags, id, item);
    return InsertMenuW(menu, position, flags, id, WideIn(page, item).get());
}

BOOL WINAPI PluginModifyMenuA(HMENU menu, UINT position, UINT flags, UINT_PTR id, LPCSTR item)
{
    UINT page = PLUGIN_PAGE();
    if (!page || !ItemIsText(flags))
        return ModifyMenuA(menu, position, flags, id, item);
    return ModifyMenuW(menu, position, flags, id, WideIn(page, item).get());
}

BOOL WINAPI PluginInsertMenuItemA(HMENU menu, UINT item, BOOL byPosition, LPCMENUITEMINFOA info)
{
    UINT page = PLUGIN_PAGE();
    bool text = info && info->dwTypeData &&
                ((info->fMask & MIIM_STRING) ||
                 ((info->fMask & MIIM_TYPE) && !(info->fType & (MFT_BITMAP | MFT_OWNERDRAW | MFT_SEPARATOR))));
    if (!page || !text || info->cbSize > sizeof(MENUITEMINFOW))
        return InsertMenuItemA(menu, item, byPosition, info);
    WideIn label(page, info->dwTypeData);
    MENUITEMINFOW wide = {};
    memcpy(&wide, info, info->cbSize); // the same layout, whichever of its sizes the caller used
    wide.dwTypeData = (LPWSTR)label.get();
    return InsertMenuItemW(menu, item, byPosition, &wide);
}

int WINAPI PluginGetMenuStringA(HMENU menu, UINT item, LPSTR buffer, int capacity, UINT flags)
{
    UINT page = PLUGIN_PAGE();
    if (!page)
        return GetMenuStringA(menu, item, buffer, capacity, flags);
    WideSpace wide(GetMenuStringW(menu, item, nullptr, 0, flags) + 1);
    int length = GetMenuStringW(menu, item, wide.get(), wide.size(), flags);
    if (!buffer || capacity <= 0)
        return NarrowLength(page, wide.get(), length);
    return GiveBack(page, wide.get(), length, buffer, capacity);
}

/* --- GDI text and fonts -------------------------------------------------- */

/* The plug-in's code page for text drawn on dc, or 0 where GDI converts
 * rightly by itself: a font of a specific character set (Shift_JIS,
 * symbols, ...) takes its bytes in that set's code page. */
UINT DrawingPage(UINT page, HDC dc)
{
    if (!page)
        return 0;
    int charset = GetTextCharset(dc);
    return charset == ANSI_CHARSET || charset == DEFAULT_CHARSET ? page : 0;
}

BOOL WINAPI PluginTextOutA(HDC dc, int x, int y, LPCSTR text, int length)
{
    UINT page = DrawingPage(PLUGIN_PAGE(), dc);
    if (!page)
        return TextOutA(dc, x, y, text, length);
    WideIn wide(page, text, length);
    return TextOutW(dc, x, y, wide.get(), wide.size());
}

/* Advances given per byte, summed per character of the code page. */
BOOL WINAPI PluginExtTextOutA(HDC dc, int x, int y, UINT options, const RECT *rect, LPCSTR text, UINT length,
                              const INT *advances)
{
    UINT page = DrawingPage(PLUGIN_PAGE(), dc);
    if (!page || (options & ETO_GLYPH_INDEX) || (int)length < 0)
        return ExtTextOutA(dc, x, y, options, rect, text, length, advances);
    WideIn wide(page, text, (int)length);
    if (!advances)
        return ExtTextOutW(dc, x, y, options, rect, wide.get(), (UINT)wide.size(), nullptr);
    const int per = (options & ETO_PDY) ? 2 : 1;
    INT *wideAdvances = new (std::nothrow) INT[(size_t)wide.size() * per + 1]();
    if (!wideAdvances)
        return FALSE;
    int at = 0, out = 0;
    while (at < (int)length && out < wide.size()) {
        int step = IsDBCSLeadByteEx(page, (BYTE)text[at]) && at + 1 < (int)length ? 2 : 1;
        int units = MultiByteToWideChar(page, 0, text + at, step, nullptr, 0);
        for (int b = 0; b < step; ++b)
            for (int k = 0; k < per; ++k)
                wideAdvances[out * per + k] += advances[(at + b) * per + k];
        out += units > 0 ? units : 1;
        at += step;
    }
    BOOL done = ExtTextOutW(dc, x, y, options, rect, wide.get(), (UINT)wide.size(), wideAdvances);
    delete[] wideAdvances;
    return done;
}

/* DrawTextA and DrawTextExA: DT_MODIFYSTRING writes the text as drawn back
 * into the caller's buffer, which holds the text and four more bytes. */
int DrawTextIn(UINT page, HDC dc, LPSTR text, int length, RECT *rect, UINT format, DRAWTEXTPARAMS *params)
{
    if (length < 0)
        length = text ? (int)strlen(text) : 0;
    WideIn given(page, text, length);
    WideSpace wide(given.size() + 5);
    if (wide.size())
        memcpy(wide.get(), given.get(), (given.size() + 1) * sizeof(wchar_t));
    int height = DrawTextExW(dc, wide.get(), given.size(), rect, format, params);
    if (params)
        params->uiLengthDrawn = NarrowLength(page, wide.get(), (int)params->uiLengthDrawn);
    if ((format & DT_MODIFYSTRING) && text)
        GiveBack(page, wide.get(), -1, text, length + 4);
    return height;
}

int WINAPI PluginDrawTextA(HDC dc, LPCSTR text, int length, LPRECT rect, UINT format)
{
    UINT page = DrawingPage(PLUGIN_PAGE(), dc);
    if (!page || !text)
        return DrawTextA(dc, text, length, rect, format);
    return DrawTextIn(page, dc, (LPSTR)text, length, rect, format, nullptr);
}

int WINAPI PluginDrawTextExA(HDC dc, LPSTR text, int length, LPRECT rect, UINT format, LPDRAWTEXTPARAMS params)
{
    UINT page = DrawingPage(PLUGIN_PAGE(), dc);
    if (!page || !text)
        return DrawTextExA(dc, text, length, rect, format, params);
    return DrawTextIn(page, dc, text, length, rect, format, params);
}

BOOL WINAPI PluginGetTextExtentPoint32A(HDC dc, LPCSTR text, int length, LPSIZE size)
{
    UINT page = DrawingPage(PLUGIN_PAGE(), dc);
    if (!page)
        return GetTextExtentPoint32A(dc, text, length, size);
    WideIn wide(page, text, length);
    return GetTextExtentPoint32W(dc, wide.get(), wide.size(), size);
}

LONG WINAPI PluginTabbedTextOutA(HDC dc, int x, int y, LPCSTR text, int length, int tabCount, const INT *tabs,
                                 int origin)
{
    UINT page = DrawingPage(PLUGIN_PAGE(), dc);
    if (!page)
        return TabbedTextOutA(dc, x, y, text, length, tabCount, tabs, origin);
    WideIn wide(page, text, length);
    return TabbedTextOutW(dc, x, y, wide.get(), wide.size(), tabCount, tabs, origin);
}

/* Fonts asked for by name: the name is in the plug-in's code page. */
HFONT WINAPI PluginCreateFontA(int height, int width, int escapement, int orientation, int weight, DWORD italic,
                               DWORD underline, DWORD strikeOut, DWORD charset, DWORD precision, DWORD clip,
                               DWORD quality, DWORD pitch, LPCSTR face)
{
    UINT page = PLUGIN_PAGE();
    if (!page)
        return CreateFontA(height, width, escapement, orientation, weight, italic, underline, strikeOut, charset,
                           precision, clip, quality, pitch, face);
    return CreateFontW(height, width, escapement, orientation, weight, italic, underline, strikeOut, charset,
                       precision, clip, quality, pitch, WideIn(page, face).get());
}

HFONT WINAPI PluginCreateFontIndirectA(const LOGFONTA *font)
{
    UINT page = PLUGIN_PAGE();
    if (!page || !font)
        return CreateFontIndirectA(font);
    LOGFONTW wide;
    memcpy(&wide, font, offsetof(LOGFONTA, lfFaceName));
    // The face name need not end within its field.
    WideIn face(page, font->lfFaceName, (int)strnlen(font->lfFaceName, LF_FACESIZE));
    lstrcpynW(wide.lfFaceName, face.get(), LF_FACESIZE);
    return CreateFontIndirectW(&wide);
}

/* --- The clipboard --------------------------------------------------------- */

/* Text in the plug-in's code page says so, so that the system widens it
 * rightly for those who ask for Unicode. */
HANDLE WINAPI PluginSetClipboardData(UINT format, HANDLE data)
{
    LCID locale = LocaleAt(CALLER_ADDRESS());
    HANDLE set = SetClipboardData(format, data);
    if (!locale || format != CF_TEXT || !set)
        return set;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, sizeof(LCID));
    if (LCID *stored = block ? (LCID *)GlobalLock(block) : nullptr) {
        *stored = locale;
        GlobalUnlock(block);
        if (!SetClipboardData(CF_LOCALE, block))
            GlobalFree(block); // still ours when the clipboard did not take it
    } else if (block) {
        GlobalFree(block);
    }
    return set;
}

/* --- Files and settings ---------------------------------------------------- */

HANDLE WINAPI PluginCreateFileA(LPCSTR path, DWORD access, DWORD share, LPSECURITY_ATTRIBUTES security,
                                DWORD disposition, DWORD flags, HANDLE templateFile)
{
    UINT page = PLUGIN_PAGE();
    if (!page)
        return CreateFileA(path, access, share, security, disposition, flags, templateFile);
    return CreateFileW(WideIn(page, path).get(), access, share, security, disposition, flags, templateFile);
}

void NarrowFound(UINT page, const WIN32_FIND_DATAW &wide, WIN32_FIND_DATAA *found)
{
    memcpy(found, &wide, offsetof(WIN32_FIND_DATAA, cFileName));
    GiveBack(page, wide.cFileName, -1, found->cFileName, sizeof found->cFileName);
    GiveBack(page, wide.cAlternateFileName, -1, found->cAlternateFileName, sizeof found->cAlternateFileName);
}

HANDLE WINAPI PluginFindFirstFileA(LPCSTR pattern, LPWIN32_FIND_DATAA found)
{
    UINT page = PLUGIN_PAGE();
    if (!page)
        return FindFirstFileA(pattern, found);
    WIN32_FIND_DATAW wide;
    HANDLE search = FindFirstFileW(WideIn(page, pattern).get(), &wide);
    if (search != INVALID_HANDLE_VALUE)
        NarrowFound(page, wide, found);
    return search;
}

BOOL WINAPI PluginFindNextFileA(HANDLE search, LPWIN32_FIND_DATAA found)
{
    UINT page = PLUGIN_PAGE();
    if (!page)
        return FindNextFileA(search, found);
    WIN32_FIND_DATAW wide;
    if (!FindNextFileW(search, &wide))
        return FALSE;
    NarrowFound(page, wide, found);
    return TRUE;
}

/* With no section or no key the answer is a list of names, each ending in
 * a NUL and the list in one more. */
DWORD WINAPI PluginGetPrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR fallback, LPSTR buffer,
                                            DWORD capacity, LPCSTR file)
{
    UINT page = PLUGIN_PAGE();
    if (!page || !buffer || !capacity || capacity > WideSpace::MaxChars)
        return GetPrivateProfileStringA(section, key, fallback, buffer, capacity, file);
    WideSpace wide((int)capacity + 1);
    DWORD length = GetPrivateProfileStringW(WideIn(page, section).get(), WideIn(page, key).get(),
                                            WideIn(page, fallback).get(), wide.get(), (DWORD)wide.size(),
                                            WideIn(page, file).get());
    bool list = !section || !key;
    if (!list)
        return (DWORD)GiveBack(page, wide.get(), (int)length, buffer, (int)capacity);
    NarrowIn narrow(page, wide.get(), (int)length); // each name with its NUL
    if (capacity < 2) {
        buffer[0] = 0;
        return 0;
    }
    int copied = CopyOut(page, narrow.get(), narrow.size(), buffer, (int)capacity - 1);
    buffer[copied + 1] = 0;
    return (DWORD)copied;
}

UINT WINAPI PluginGetPrivateProfileIntA(LPCSTR section, LPCSTR key, INT fallback, LPCSTR file)
{
    UINT page = PLUGIN_PAGE();
    if (!page)
        return GetPrivateProfileIntA(section, key, fallback, file);
    return GetPrivateProfileIntW(WideIn(page, section).get(), WideIn(page, key).get(), fallback,
                                 WideIn(page, file).get());
}

BOOL WINAPI PluginWritePrivateProfileStringA(LPCSTR section, LPCSTR key, LPCSTR text, LPCSTR file)
{
    UINT page = PLUGIN_PAGE();
    if (!page)
        return WritePrivateProfileStringA(section, key, text, file);
    return WritePrivateProfileStringW(WideIn(page, section).get(), WideIn(page, key).get(), WideIn(page, text).get(),
                                      WideIn(page, file).get());
}

/* A name cut to the buffer is still NUL-terminated, and says so. */
DWORD WINAPI PluginGetModuleFileNameA(HMODULE module, LPSTR buffer, DWORD capacity)
{
    UINT page = PLUGIN_PAGE();
    if (!page || !buffer || !capacity)
        return GetModuleFileNameA(module, buffer, capacity);
    WideSpace wide(32768);
    DWORD length = wide.size() ? GetModuleFileNameW(module, wide.get(), (DWORD)wide.size()) : 0;
    if (!length) {
        buffer[0] = 0;
        return 0;
    }
    NarrowIn narrow(page, wide.get(), (int)length);
    int copied = CopyOut(page, narrow.get(), narrow.size(), buffer, Room(capacity));
    if (copied < narrow.size()) {
        SetLastError(ERROR_INSUFFICIENT_BUFFER);
        return capacity;
    }
    return (DWORD)copied;
}

/* --- Code pages and walking the plug-in's texts ---------------------------- */

bool MeansAnsi(UINT codePage)
{
    return codePage == CP_ACP || codePage == CP_THREAD_ACP;
}

UINT WINAPI PluginGetACP(void)
{
    UINT page = PLUGIN_PAGE();
    return page ? page : GetACP();
}

BOOL WINAPI PluginGetCPInfo(UINT codePage, LPCPINFO info)
{
    UINT page = PLUGIN_PAGE();
    return GetCPInfo(page && MeansAnsi(codePage) ? page : codePage, info);
}

BOOL WINAPI PluginIsDBCSLeadByte(BYTE byte)
{
    UINT page = PLUGIN_PAGE();
    return page ? IsDBCSLeadByteEx(page, byte) : IsDBCSLeadByte(byte);
}

LPSTR WINAPI PluginCharNextA(LPCSTR text)
{
    UINT page = PLUGIN_PAGE();
    return page ? CharNextExA((WORD)page, text, 0) : CharNextA(text);
}

LPSTR WINAPI PluginCharPrevA(LPCSTR start, LPCSTR text)
{
    UINT page = PLUGIN_PAGE();
    return page ? CharPrevExA((WORD)page, start, text, 0) : CharPrevA(start, text);
}

int WINAPI PluginMultiByteToWideChar(UINT codePage, DWORD flags, LPCCH text, int length, LPWSTR wide, int capacity)
{
    UINT page = PLUGIN_PAGE();
    return MultiByteToWideChar(page && MeansAnsi(codePage) ? page : codePage, flags, text, length, wide, capacity);
}

int WINAPI PluginWideCharToMultiByte(UINT codePage, DWORD flags, LPCWCH wide, int length, LPSTR text, int capacity,
                                     LPCCH fallback, LPBOOL usedFallback)
{
    UINT page = PLUGIN_PAGE();
    return WideCharToMultiByte(page && MeansAnsi(codePage) ? page : codePage, flags, wide, length, text, capacity,
                               fallback, usedFallback);
}

FARPROC WINAPI PluginGetProcAddress(HMODULE module, LPCSTR name);

#define REDIRECT(dll, name) {dll, #name, (FARPROC)(void *)Plugin##name}
const char User[] = "user32.dll", Gdi[] = "gdi32.dll", Kernel[] = "kernel32.dll";

const AnsiRedirect Redirects[] = {
    REDIRECT(User, CreateWindowExA),
    REDIRECT(User, SetWindowTextA),
    REDIRECT(User, GetWindowTextA),
    REDIRECT(User, GetWindowTextLengthA),
    REDIRECT(User, SetDlgItemTextA),
    REDIRECT(User, GetDlgItemTextA),
    REDIRECT(User, SendMessageA),
    REDIRECT(User, DefWindowProcA),
    REDIRECT(User, MessageBoxA),
    REDIRECT(User, AppendMenuA),
    REDIRECT(User, InsertMenuA),
    REDIRECT(User, ModifyMenuA),
    REDIRECT(User, InsertMenuItemA),
    REDIRECT(User, GetMenuStringA),
    REDIRECT(Gdi, TextOutA),
    REDIRECT(Gdi, ExtTextOutA),
    REDIRECT(User, DrawTextA),
    REDIRECT(User, DrawTextExA),
    REDIRECT(Gdi, GetTextExtentPoint32A),
    REDIRECT(User, TabbedTextOutA),
    REDIRECT(Gdi, CreateFontA),
    REDIRECT(Gdi, CreateFontIndirectA),
    REDIRECT(User, SetClipboardData),
    REDIRECT(Kernel, CreateFileA),
    REDIRECT(Kernel, FindFirstFileA),
    REDIRECT(Kernel, FindNextFileA),
    REDIRECT(Kernel, GetPrivateProfileStringA),
    REDIRECT(Kernel, GetPrivateProfileIntA),
    REDIRECT(Kernel, WritePrivateProfileStringA),
    REDIRECT(Kernel, GetModuleFileNameA),
    REDIRECT(Kernel, GetACP),
    REDIRECT(Kernel, GetCPInfo),
    REDIRECT(Kernel, IsDBCSLeadByte),
    REDIRECT(User, CharNextA),
    REDIRECT(User, CharPrevA),
    REDIRECT(Kernel, MultiByteToWideChar),
    REDIRECT(Kernel, WideCharToMultiByte),
    REDIRECT(Kernel, GetProcAddress),
};

/* A plug-in that looks one of these up by name gets this module's version
 * of the system's function; by ordinal, or for a function of another
 * module that happens to share a name, it gets what the system gives. */
FARPROC WINAPI PluginGetProcAddress(HMODULE module, LPCSTR name)
{
    UINT page = PLUGIN_PAGE();
    FARPROC found = GetProcAddress(module, name);
    if (!page || !found || IS_INTRESOURCE(name))
        return found;
    for (const AnsiRedirect &row : Redirects)
        if (strcmp(row.Name, name) == 0 && GetProcAddress(GetModuleHandleA(row.Dll), name) == found)
            return row.Function;
    return found;
}

} // namespace

const AnsiRedirect *FindRedirect(const char *dll, const char *name)
{
    for (const AnsiRedirect &row : Redirects)
        if (lstrcmpiA(row.Dll, dll) == 0 && strcmp(row.Name, name) == 0)
            return &row;
    return nullptr;
}
