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
 * or C++11), so that a plug-in can be written in either. */
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

/* Host side: the services a plug-in may call from inside any callback. */
typedef uint32_t(WPN_CALL *WpnRequestFn)(uint32_t code, uintptr_t value, uintptr_t out);
typedef uint32_t(WPN_CALL *WpnReservedFn)(uint32_t a, uint32_t b, uint32_t c);
typedef void *(WPN_CALL *WpnAllocFn)(uint32_t size);
typedef uint32_t(WPN_CALL *WpnFreeFn)(void *block);
typedef int32_t(WPN_CALL *WpnShowMessageFn)(const char *text, uint32_t type);

/* Plug-in side: the callbacks a plug-in writes into PanelCallbacks. */
typedef HWND(WPN_CALL *PanelCreateFn)(struct HostServices *host, HWND parent);
typedef int32_t(WPN_CALL *PanelDestroyFn)(struct HostServices *host, HWND panel);
typedef int32_t(WPN_CALL *PanelTickFn)(struct HostServices *host, HWND panel);
typedef int32_t(WPN_CALL *PanelContextMenuFn)(struct HostServices *host, HWND owner,
                                              uint32_t arg3, uint32_t arg4);
typedef int32_t(WPN_CALL *PanelFilterFn)(uint32_t value);

/* The two exports, bound by name with GetProcAddress. */
typedef uint32_t(WPN_CALL *WpnGetPluginInfoFn)(void);
typedef int32_t(WPN_CALL *WpnInitializeFn)(struct PanelCallbacks *callbacks);

#define WPN_EXPORT_INFO "WPN_GetPluginInfo"
#define WPN_EXPORT_INITIALIZE "WPN_Initialize"

#pragma pack(push, 1)
struct HostServices {
    uint32_t StructSize; /* HOST_SERVICES_SIZE */
    WpnRequestFn Request;
    WpnReservedFn Reserved;
    WpnAllocFn Alloc;
    WpnFreeFn Free;
    WpnShowMessageFn ShowMessage;
    uint8_t Unused[124]; /* zero */
};

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

/* Service codes of Request. */
enum {
    SVC_VERSION = 1,        /* value: unsigned*                  */
    SVC_ITEM_COUNT = 2,     /* value: unsigned*                  */
    SVC_ITEM_VALUE = 3,     /* value: index, out: unsigned*      */
    SVC_ITEM_SET_TEXT = 4,  /* value: index, out: const char*    */
    SVC_OPEN = 5,           /* value: flags, out: const char*    */
    SVC_ITEM_OP_A = 6,      /* value: index                      */
    SVC_ITEM_TEXT_A = 7,    /* value: index, out: char**         */
    SVC_ITEM_TEXT_B = 8,    /* value: index, out: char**         */
    SVC_CURRENT_INDEX = 9,  /* value: unsigned*                  */
    SVC_ITEM_OP_B = 16,     /* value: index                      */
    SVC_OPEN_INDEX = 17,    /* value: unsigned*, out: const char* */
    SVC_ITEM_VALUE_B = 18,  /* value: index, out: unsigned*      */
    SVC_FOLDER = 19         /* value: 0, 1 or 2, out: char**     */
};

/* Service results. */
enum {
    SVC_OK = 0,
    SVC_NONE = 1,
    SVC_UNKNOWN = 3
};

/* SVC_FOLDER values. */
enum {
    SVC_FOLDER_HOST_A = 0,
    SVC_FOLDER_SETTINGS = 1, /* a host folder followed by "setting\" */
    SVC_FOLDER_HOST_B = 2
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
