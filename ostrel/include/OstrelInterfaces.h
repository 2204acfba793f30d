/* The interfaces of the newer host's object model, as every host and plug-in
 * compiles them. The binary shape is fixed: pure virtual functions only, the
 * compiler's default member calling convention (thiscall on 32-bit x86), no
 * virtual destructor (objects die through Release), single inheritance, no
 * overloads (MSVC would regroup them in the table). Operation N of an
 * interface is the N-th of its own virtual functions after the three of
 * OIBase; positions this system does not use keep a placeholder so that the
 * numbering holds. Implementations fill placeholders with OSTREL_FILL_SLOT. */
#pragma once
#include <windows.h>
#include <stdint.h>

#define OSTREL_SLOT(n) virtual void Unused##n() = 0;
#define OSTREL_FILL_SLOT(n) void Unused##n() override {}

/* Interface identifiers for QueryInterface. */
enum : uint32_t {
    OID_BASE = 0,
    OID_PLUGIN = 3,
    OID_PANEL = 0x1000002,
};

/* Kinds of OIClient::GetHostObject. */
enum {
    OHOST_FONT_SOURCE = 9,
    OHOST_ITEM_LIST = 24,
};

class OIBase {
public:
    virtual bool QueryInterface(uint32_t id, void **out) = 0;
    virtual int AddRef() = 0;
    virtual int Release() = 0;
};

/* Implemented by a plug-in of the newer host. */
class OIPlugin : public OIBase {
public:
    virtual bool Initialize() = 0;                 // 0
    virtual bool Terminate() = 0;                  // 1
    virtual wchar_t *GetId(wchar_t **out) = 0;     // 2: host memory text
};

class OIPanel : public OIPlugin {
public:
    virtual HWND CreatePanel(HWND parent) = 0;           // 0
    virtual bool DestroyPanel() = 0;                     // 1
    virtual BOOL ShowPanel(bool show) = 0;               // 2
    virtual wchar_t *GetName(wchar_t **out) = 0;         // 3: host memory text
    virtual wchar_t *GetIconPath(wchar_t **out) = 0;     // 4: host memory text
    virtual bool Filter(uint32_t value) = 0;             // 5
};

/* Implemented by the host. */
class OIItem;
class OIItemView;

class OIMemory : public OIBase {
public:
    virtual void *Alloc(uint32_t size) = 0;   // 0
    virtual void Free(void *block) = 0;       // 1
};

class OIClient : public OIBase {
public:
    OSTREL_SLOT(0) OSTREL_SLOT(1) OSTREL_SLOT(2) OSTREL_SLOT(3) OSTREL_SLOT(4) OSTREL_SLOT(5)
    /* 6: a host object of the given kind, with a reference; false and null when none. */
    virtual bool GetHostObject(int kind, void **out) = 0;
    OSTREL_SLOT(7) OSTREL_SLOT(8) OSTREL_SLOT(9)
    /* 10: a host folder as host memory text ending in a backslash. */
    virtual bool GetFolder(int kind, wchar_t **out) = 0;
    /* 11: opens a text as a new item; the item with a reference, or null. */
    virtual OIItem *OpenItem(const wchar_t *target, const wchar_t *text, uint32_t flags) = 0;
};

class OIItemList : public OIBase {
public:
    virtual uint32_t GetCount() = 0;              // 0
    virtual OIItem *GetItem(uint32_t index) = 0;  // 1: with a reference, or null
    OSTREL_SLOT(2)
    virtual void ApplyFirst(OIItem *item) = 0;    // 3
    OSTREL_SLOT(4) OSTREL_SLOT(5)
    virtual OIItem *GetCurrent() = 0;             // 6: with a reference, or null
    virtual void ApplySecond(OIItem *item) = 0;   // 7
};

class OIItem : public OIBase {
public:
    virtual OIItemView *GetView() = 0;   // 0: with a reference
};

class OIItemView : public OIBase {
public:
    OSTREL_SLOT(0) OSTREL_SLOT(1) OSTREL_SLOT(2) OSTREL_SLOT(3) OSTREL_SLOT(4)
    virtual void GetValue(uint32_t *out) = 0;         // 5
    OSTREL_SLOT(6)
    virtual void SetText(const wchar_t *text) = 0;    // 7
    OSTREL_SLOT(8) OSTREL_SLOT(9) OSTREL_SLOT(10) OSTREL_SLOT(11) OSTREL_SLOT(12) OSTREL_SLOT(13)
    OSTREL_SLOT(14) OSTREL_SLOT(15) OSTREL_SLOT(16) OSTREL_SLOT(17) OSTREL_SLOT(18) OSTREL_SLOT(19)
    OSTREL_SLOT(20) OSTREL_SLOT(21) OSTREL_SLOT(22) OSTREL_SLOT(23) OSTREL_SLOT(24) OSTREL_SLOT(25)
    OSTREL_SLOT(26) OSTREL_SLOT(27) OSTREL_SLOT(28) OSTREL_SLOT(29) OSTREL_SLOT(30) OSTREL_SLOT(31)
    OSTREL_SLOT(32) OSTREL_SLOT(33) OSTREL_SLOT(34) OSTREL_SLOT(35) OSTREL_SLOT(36) OSTREL_SLOT(37)
    OSTREL_SLOT(38) OSTREL_SLOT(39) OSTREL_SLOT(40) OSTREL_SLOT(41) OSTREL_SLOT(42) OSTREL_SLOT(43)
    OSTREL_SLOT(44) OSTREL_SLOT(45) OSTREL_SLOT(46) OSTREL_SLOT(47) OSTREL_SLOT(48) OSTREL_SLOT(49)
    OSTREL_SLOT(50)
    virtual void GetTextA(wchar_t **out) = 0;    // 51: host memory text
    virtual void GetTextB(wchar_t **out) = 0;    // 52: host memory text
};

/* The record operation 12 of the font source points at. */
struct OFontRecord {
    HFONT Font;
};

class OIFontSource : public OIBase {
public:
    OSTREL_SLOT(0) OSTREL_SLOT(1) OSTREL_SLOT(2) OSTREL_SLOT(3) OSTREL_SLOT(4) OSTREL_SLOT(5)
    OSTREL_SLOT(6) OSTREL_SLOT(7) OSTREL_SLOT(8) OSTREL_SLOT(9) OSTREL_SLOT(10) OSTREL_SLOT(11)
    virtual const void *GetFontRecord() = 0;   // 12: an OFontRecord
};
