/* Inside the stand-in library: the host's objects and their shared state.
 * The library owns every object; reference counts exist for accounting only,
 * so a module that forgets a Release shows up in OstrelCounters::References
 * instead of freeing something twice. Items live until the library unloads,
 * so a pointer held by a careless caller never dangles. */
#pragma once
#include "OstrelLib.h"
#include "OstrelStandIn.h"

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

/* QueryInterface, AddRef and Release for one of the host's objects. */
template <class Interface>
class HostObject : public Interface {
public:
    bool QueryInterface(uint32_t id, void **out) override;
    int AddRef() override;
    int Release() override;

private:
    int references_ = 0;
};

class Item;

class ItemView final : public HostObject<OIItemView> {
public:
    explicit ItemView(Item &item) : item_(item) {}
    OSTREL_FILL_SLOT(0) OSTREL_FILL_SLOT(1) OSTREL_FILL_SLOT(2) OSTREL_FILL_SLOT(3) OSTREL_FILL_SLOT(4)
    void GetValue(uint32_t *out) override;
    OSTREL_FILL_SLOT(6)
    void SetText(const wchar_t *text) override;
    OSTREL_FILL_SLOT(8) OSTREL_FILL_SLOT(9) OSTREL_FILL_SLOT(10) OSTREL_FILL_SLOT(11) OSTREL_FILL_SLOT(12)
    OSTREL_FILL_SLOT(13) OSTREL_FILL_SLOT(14) OSTREL_FILL_SLOT(15) OSTREL_FILL_SLOT(16) OSTREL_FILL_SLOT(17)
    OSTREL_FILL_SLOT(18) OSTREL_FILL_SLOT(19) OSTREL_FILL_SLOT(20) OSTREL_FILL_SLOT(21) OSTREL_FILL_SLOT(22)
    OSTREL_FILL_SLOT(23) OSTREL_FILL_SLOT(24) OSTREL_FILL_SLOT(25) OSTREL_FILL_SLOT(26) OSTREL_FILL_SLOT(27)
    OSTREL_FILL_SLOT(28) OSTREL_FILL_SLOT(29) OSTREL_FILL_SLOT(30) OSTREL_FILL_SLOT(31) OSTREL_FILL_SLOT(32)
    OSTREL_FILL_SLOT(33) OSTREL_FILL_SLOT(34) OSTREL_FILL_SLOT(35) OSTREL_FILL_SLOT(36) OSTREL_FILL_SLOT(37)
    OSTREL_FILL_SLOT(38) OSTREL_FILL_SLOT(39) OSTREL_FILL_SLOT(40) OSTREL_FILL_SLOT(41) OSTREL_FILL_SLOT(42)
    OSTREL_FILL_SLOT(43) OSTREL_FILL_SLOT(44) OSTREL_FILL_SLOT(45) OSTREL_FILL_SLOT(46) OSTREL_FILL_SLOT(47)
    OSTREL_FILL_SLOT(48) OSTREL_FILL_SLOT(49) OSTREL_FILL_SLOT(50)
    void GetTextA(wchar_t **out) override;
    void GetTextB(wchar_t **out) override;

private:
    Item &item_;
};

class Item final : public HostObject<OIItem> {
public:
    Item(uint32_t value, const wchar_t *textA, const wchar_t *textB);
    OIItemView *GetView() override;

    uint32_t Value;
    std::wstring TextA, TextB, LastSetText;
    int OpFirst = 0, OpSecond = 0, TextsSet = 0;

private:
    ItemView view_;
};

class ItemList final : public HostObject<OIItemList> {
public:
    uint32_t GetCount() override;
    OIItem *GetItem(uint32_t index) override;
    OSTREL_FILL_SLOT(2)
    void ApplyFirst(OIItem *item) override;
    OSTREL_FILL_SLOT(4) OSTREL_FILL_SLOT(5)
    OIItem *GetCurrent() override;
    void ApplySecond(OIItem *item) override;
};

class FontSource final : public HostObject<OIFontSource> {
public:
    ~FontSource();
    OSTREL_FILL_SLOT(0) OSTREL_FILL_SLOT(1) OSTREL_FILL_SLOT(2) OSTREL_FILL_SLOT(3) OSTREL_FILL_SLOT(4)
    OSTREL_FILL_SLOT(5) OSTREL_FILL_SLOT(6) OSTREL_FILL_SLOT(7) OSTREL_FILL_SLOT(8) OSTREL_FILL_SLOT(9)
    OSTREL_FILL_SLOT(10) OSTREL_FILL_SLOT(11)
    const void *GetFontRecord() override;
    HFONT Font();

private:
    OFontRecord record_ = {};
};

/* Everything the library keeps, one per process. */
struct HostState {
    std::vector<std::unique_ptr<Item>> AllItems; // owner of every item ever made
    std::vector<Item *> List;                    // the item list, in order
    Item *Current = nullptr;
    int OpenMode = OSTREL_OPEN_APPEND;
    std::wstring LastOpenText;
    uint32_t LastOpenFlags = 0;
    std::map<int, std::pair<bool, std::wstring>> FolderOverrides; // kind -> (has text, text)
    bool ObjectAnswersFalse = false;
    bool NullEmptyTexts = false;
    int MessageBoxAnswer = 0;
    std::wstring LastMessage;
    uint32_t LastMessageType = 0;
    HWND MainWindow = nullptr;
    std::set<void *> Blocks; // host memory out in other hands
    OstrelCounters Counters = {};

    Item *MakeItem(uint32_t value, const wchar_t *textA, const wchar_t *textB);
};

HostState &State();
ItemList &TheItemList();
FontSource &TheFontSource();

/* A copy of text in host memory, counted until it is given back. */
wchar_t *HostMemoryText(const std::wstring &text);

template <class Interface>
bool HostObject<Interface>::QueryInterface(uint32_t id, void **out)
{
    *out = nullptr;
    if (id != OID_BASE)
        return false;
    AddRef();
    *out = static_cast<OIBase *>(this);
    return true;
}

template <class Interface>
int HostObject<Interface>::AddRef()
{
    ++State().Counters.References;
    return ++references_;
}

template <class Interface>
int HostObject<Interface>::Release()
{
    --State().Counters.References;
    return --references_;
}
