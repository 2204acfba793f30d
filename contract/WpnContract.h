/* The panel plug-in contract: the only thing a panel host and a panel plug-in
 * share. A plug-in is a 32-bit DLL with two exports; the host hands it a record
 * of services, the plug-in fills a record of callbacks. Every function here is
 * stdcall (callee pops) and every argument and result is 32 bits wide.
 *
 * Both records are byte-packed: a host may place them at any address, so a
 * plug-in must not assume alignment. Their sizes and offsets are fixed by the
 * binary interface and checked below.
 *
 * The header is plain C as well as C++ (C89 onward; the size checks need C11
 * or C++11), so that a plug-in can be written in either.
 *
 * What a host does with each of these, and what it relies on, is in the
 * guide, docs/WRITING-A-PANEL.md; the comments below name its sections
 * ("guide: ..."). */
#ifndef WPN_CONTRACT_H
#define WPN_CONTRACT_H

#include <windows.h>
#include <stddef.h>
#include <stdint.h>

#define WPN_CALL __stdcall

#ifdef __cplusplus
extern "C" {
#endif

struct HostServices;
struct PanelCallbacks;

/* Host side: the services a plug-in may call from inside any callback, on
 * the host's thread, until PanelDestroy returns; never later (guide: "Host
 * services"; "Reserved, Alloc, Free, ShowMessage"). */
typedef uint32_t(WPN_CALL *WpnRequestFn)(uint32_t code, uintptr_t value, uintptr_t out);
typedef uint32_t(WPN_CALL *WpnReservedFn)(uint32_t a, uint32_t b, uint32_t c);
typedef void *(WPN_CALL *WpnAllocFn)(uint32_t size);
typedef uint32_t(WPN_CALL *WpnFreeFn)(void *block);
typedef int32_t(WPN_CALL *WpnShowMessageFn)(const char *text, uint32_t type);

/* Plug-in side: the callbacks a plug-in writes into PanelCallbacks, each
 * declared with WPN_CALL (guide: "The callbacks"). */
typedef HWND(WPN_CALL *PanelCreateFn)(struct HostServices *host, HWND parent);
typedef int32_t(WPN_CALL *PanelDestroyFn)(struct HostServices *host, HWND panel);
typedef int32_t(WPN_CALL *PanelTickFn)(struct HostServices *host, HWND panel);
typedef int32_t(WPN_CALL *PanelContextMenuFn)(struct HostServices *host, HWND owner,
                                              uint32_t arg3, uint32_t arg4);
typedef int32_t(WPN_CALL *PanelFilterFn)(uint32_t value);

/* The two exports, bound by name with GetProcAddress; name them in a .def
 * file (guide: "The exports"). */
typedef uint32_t(WPN_CALL *WpnGetPluginInfoFn)(void);
typedef int32_t(WPN_CALL *WpnInitializeFn)(struct PanelCallbacks *callbacks);

#define WPN_EXPORT_INFO "WPN_GetPluginInfo"
#define WPN_EXPORT_INITIALIZE "WPN_Initialize"

#pragma pack(push, 1)
/* Filled by the host; its address comes with every callback but PanelFilter
 * and stays valid until PanelDestroy has returned. Read it, never write it
 * (guide: "The two records and the calling convention"). */
struct HostServices {
    uint32_t StructSize; /* HOST_SERVICES_SIZE */
    WpnRequestFn Request;
    WpnReservedFn Reserved;
    WpnAllocFn Alloc;
    WpnFreeFn Free;
    WpnShowMessageFn ShowMessage;
    uint8_t Unused[124]; /* zero */
};

/* Zeroed by the host and handed to WPN_Initialize, which writes the slots it
 * offers and nothing else; a slot left zero is not offered. Keep no pointer
 * to it: a host may free or reuse it once WPN_Initialize returned (guide:
 * "The two records and the calling convention"). */
struct PanelCallbacks {
    uint32_t StructSize; /* PANEL_CALLBACKS_SIZE, set by the host */
    PanelCreateFn PanelCreate;
    PanelDestroyFn PanelDestroy;
    PanelTickFn PanelTick;
    PanelContextMenuFn PanelContextMenu;
    PanelFilterFn PanelFilter;
    uint8_t Unused[120]; /* zero */
};
#pragma pack(pop)

enum {
    HOST_SERVICES_SIZE = 148,
    PANEL_CALLBACKS_SIZE = 144
};

/* Service codes of Request(code, value, out): each code's arguments, what
 * the host writes and its result, are in the guide's table (guide:
 * "Request"). A pointer argument is never null. Texts marked Free are the
 * host's: give each back once with Free (guide: "Texts and memory"). */
enum {
    SVC_VERSION = 1,        /* value: uint32_t*; writes 200                           */
    SVC_ITEM_COUNT = 2,     /* value: uint32_t*; writes the number of items           */
    SVC_ITEM_VALUE = 3,     /* value: index, out: uint32_t*; the item view's value    */
    SVC_ITEM_SET_TEXT = 4,  /* value: index, out: const char*; hands the text over    */
    SVC_OPEN = 5,           /* value: flags, out: const char*; result always 3        */
    SVC_ITEM_OP_A = 6,      /* value: index; the host's first item operation, whose
                               effect is the host's (guide: "What the contract
                               leaves to the host")                                   */
    SVC_ITEM_TEXT_A = 7,    /* value: index, out: char**; the view's first text; Free */
    SVC_ITEM_TEXT_B = 8,    /* value: index, out: char**; the second text; Free       */
    SVC_CURRENT_INDEX = 9,  /* value: uint32_t*; the current item's index             */
    SVC_ITEM_OP_B = 16,     /* value: index; the host's second item operation, as 6;
                               result always 0                                        */
    SVC_OPEN_INDEX = 17,    /* value: uint32_t*, out: const char*; opens, writes the
                               new index or 0xFFFFFFFF; result always 0               */
    SVC_ITEM_VALUE_B = 18,  /* value: index, out: uint32_t*; the same as 3            */
    SVC_FOLDER = 19         /* value: SVC_FOLDER_*, out: char**; a folder path; Free  */
};

/* Service results (guide: "Request"). */
enum {
    SVC_OK = 0,     /* done                                                         */
    SVC_NONE = 1,   /* nothing to give (no such item, an empty path): out untouched */
    SVC_UNKNOWN = 3 /* a code this host does not serve: cope with it               */
};

/* SVC_FOLDER values. Only the settings folder has a purpose the contract
 * names; which folders 0 and 2 are is the host's (guide: "What the contract
 * leaves to the host"). */
enum {
    SVC_FOLDER_HOST_A = 0,   /* a host folder                               */
    SVC_FOLDER_SETTINGS = 1, /* a host folder followed by "setting\": yours */
    SVC_FOLDER_HOST_B = 2    /* another host folder                         */
};

/* The host accepts a plug-in whose info result has this low byte. */
#define WPN_INFO_ACCEPTED(info) (((info) & 0xFFu) == 1u)

#ifdef __cplusplus
}
#endif

#if defined(__cplusplus) || (defined(__STDC_VERSION__) && __STDC_VERSION__ >= 201112L)
#ifdef __cplusplus
#define WPN_STATIC_ASSERT static_assert
#else
#define WPN_STATIC_ASSERT _Static_assert
#endif
WPN_STATIC_ASSERT(sizeof(void *) == 4, "the panel contract is 32-bit only");
WPN_STATIC_ASSERT(sizeof(struct HostServices) == HOST_SERVICES_SIZE, "HostServices size");
WPN_STATIC_ASSERT(offsetof(struct HostServices, Request) == 4, "Request offset");
WPN_STATIC_ASSERT(offsetof(struct HostServices, Reserved) == 8, "Reserved offset");
WPN_STATIC_ASSERT(offsetof(struct HostServices, Alloc) == 12, "Alloc offset");
WPN_STATIC_ASSERT(offsetof(struct HostServices, Free) == 16, "Free offset");
WPN_STATIC_ASSERT(offsetof(struct HostServices, ShowMessage) == 20, "ShowMessage offset");
WPN_STATIC_ASSERT(offsetof(struct HostServices, Unused) == 24, "HostServices reserved offset");
WPN_STATIC_ASSERT(sizeof(struct PanelCallbacks) == PANEL_CALLBACKS_SIZE, "PanelCallbacks size");
WPN_STATIC_ASSERT(offsetof(struct PanelCallbacks, PanelCreate) == 4, "PanelCreate offset");
WPN_STATIC_ASSERT(offsetof(struct PanelCallbacks, PanelDestroy) == 8, "PanelDestroy offset");
WPN_STATIC_ASSERT(offsetof(struct PanelCallbacks, PanelTick) == 12, "PanelTick offset");
WPN_STATIC_ASSERT(offsetof(struct PanelCallbacks, PanelContextMenu) == 16, "PanelContextMenu offset");
WPN_STATIC_ASSERT(offsetof(struct PanelCallbacks, PanelFilter) == 20, "PanelFilter offset");
WPN_STATIC_ASSERT(offsetof(struct PanelCallbacks, Unused) == 24, "PanelCallbacks reserved offset");
#undef WPN_STATIC_ASSERT
#endif

#endif /* WPN_CONTRACT_H */
