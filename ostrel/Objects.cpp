/* The host's item list, its items and their views, and the font source.
 * The two item operations only count, so callers can see which item each
 * was applied to, including a null one. */
#include "Host.h"

HostState &State()
{
    static HostState state;
    return state;
}

ItemList &TheItemList()
{
    static ItemList list;
    return list;
}

FontSource &TheFontSource()
{
    static FontSource source;
    return source;
}

Item *HostState::MakeItem(uint32_t value, const wchar_t *textA, const wchar_t *textB)
{
    AllItems.emplace_back(new Item(value, textA, textB));
    return AllItems.back().get();
}

Item::Item(uint32_t value, const wchar_t *textA, const wchar_t *textB)
    : Value(value), TextA(textA ? textA : L""), TextB(textB ? textB : L""), view_(*this)
{
}

OIItemView *Item::GetView()
{
    view_.AddRef();
    return &view_;
}

void ItemView::GetValue(uint32_t *out)
{
    *out = item_.Value;
}

void ItemView::SetText(const wchar_t *text)
{
    item_.LastSetText = text ? text : L"";
    ++item_.TextsSet;
}

void ItemView::GetTextA(wchar_t **out)
{
    *out = HostMemoryText(item_.TextA);
}

void ItemView::GetTextB(wchar_t **out)
{
    *out = HostMemoryText(item_.TextB);
}

uint32_t ItemList::GetCount()
{
    return (uint32_t)State().List.size();
}

OIItem *ItemList::GetItem(uint32_t index)
{
    if (index >= State().List.size())
        return nullptr;
    Item *item = State().List[index];
    item->AddRef();
    return item;
}

// An item operation only counts: on the item, or a null item on the host.
static void CountOperation(OIItem *item, int Item::*onItem, int OstrelCounters::*onNull)
{
    if (item)
        ++(static_cast<Item *>(item)->*onItem);
    else
        ++(State().Counters.*onNull);
}

void ItemList::ApplyFirst(OIItem *item)
{
    CountOperation(item, &Item::OpFirst, &OstrelCounters::NullFirstOps);
}

OIItem *ItemList::GetCurrent()
{
    Item *item = State().Current;
    if (item)
        item->AddRef();
    return item;
}

void ItemList::ApplySecond(OIItem *item)
{
    CountOperation(item, &Item::OpSecond, &OstrelCounters::NullSecondOps);
}

// The font lives as long as the library: it goes when the module unloads.
FontSource::~FontSource()
{
    if (record_.Font) {
        DeleteObject(record_.Font);
        record_.Font = nullptr;
    }
}

HFONT FontSource::Font()
{
    if (!record_.Font) {
        // "ＭＳ Ｐゴシック", the host's user-interface face.
        record_.Font = CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SHIFTJIS_CHARSET,
                                   OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                   DEFAULT_PITCH | FF_SWISS, L"\uFF2D\uFF33 \uFF30\u30B4\u30B7\u30C3\u30AF");
    }
    return record_.Font;
}

const void *FontSource::GetFontRecord()
{
    ++State().Counters.FontRecords;
    Font();
    return &record_;
}
