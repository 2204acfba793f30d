/* The host services a panel plug-in calls through its host record. Requests
 * go to the newer host's application object: its item list, its folders and
 * its message box. Narrow texts from the plug-in are widened and wide texts
 * from the host narrowed through HostLibrary.h, or in the calling plug-in's
 * own code page where it is not the system's (CodePage.h); texts handed to
 * the plug-in come from this module's heap and come back through ServiceFree.
 * Every host interface and host memory text obtained is given back before a
 * request returns (HostRef, HostText). */
#include "Services.h"

#include "CodePage.h"
#include "Folders.h"
#include "HostLibrary.h"
#include "HostMemory.h"
#include "HostRef.h"
#include "ServiceCodes.h"

#include <new>

namespace {

const uint32_t SERVICE_VERSION = 200;
const uint32_t INDEX_NOT_FOUND = 0xFFFFFFFFu;
const uint32_t OPEN_INDEX_FLAGS = 3;
const wchar_t OpenTarget[] = L"auto";
const wchar_t SettingFolder[] = L"setting\\";

/* Where the request under way was called from, set by ServiceRequest and
 * ServiceShowMessage for their call; the caller's code page is looked up
 * only by the requests that convert a text. */
const void *RequestCaller = nullptr;

class RequestFrom {
public:
    explicit RequestFrom(const void *caller) : saved_(RequestCaller) { RequestCaller = caller; }
    ~RequestFrom() { RequestCaller = saved_; }
    RequestFrom(const RequestFrom &) = delete;
    RequestFrom &operator=(const RequestFrom &) = delete;

private:
    const void *saved_;
};

WideText Widen(const char *text)
{
    return WidenInPage(CodePageAt(RequestCaller), text);
}

/* A null pointer where the code reads or writes through one would fault
 * inside this module, in the host's process. */
bool NullWhereUsed(const ServiceCode &row, uintptr_t value, uintptr_t out)
{
    return (row.ValueIsPointer && !value) || (row.OutIsPointer && !out);
}

void WriteNumber(uintptr_t address, uint32_t number)
{
    *(uint32_t *)address = number;
}

/* The item at index, or nothing when the index is not below the count. */
HostRef<OIItem> LookUpItem(OIItemList *list, uint32_t index)
{
    if (!list || index >= list->GetCount())
        return HostRef<OIItem>();
    return HostRef<OIItem>(list->GetItem(index));
}

HostRef<OIItemView> ViewOf(OIItem *item)
{
    return HostRef<OIItemView>(item ? item->GetView() : nullptr);
}

/* Stores a narrow copy of a wide text at out, from this module's heap. */
bool HandOut(const wchar_t *text, uintptr_t out)
{
    char *copy = NarrowCopyInPage(CodePageAt(RequestCaller), text);
    if (!copy)
        return false;
    *(char **)out = copy;
    return true;
}

/* Index of item in the list; the count is read again before each step, as
 * the list may change under a long search. */
bool FindIndex(OIItemList *list, OIItem *wanted, uint32_t *index)
{
    if (!list || !wanted)
        return false;
    for (uint32_t i = 0; i < list->GetCount(); ++i) {
        HostRef<OIItem> item(list->GetItem(i));
        if (item.get() == wanted) {
            *index = i;
            return true;
        }
    }
    return false;
}

uint32_t ItemCount(uintptr_t value)
{
    HostRef<OIItemList> list = GetItemList();
    WriteNumber(value, list ? list->GetCount() : 0);
    return SVC_OK;
}

uint32_t ItemValue(uint32_t index, uintptr_t out)
{
    HostRef<OIItemList> list = GetItemList();
    HostRef<OIItemView> view = ViewOf(LookUpItem(list.get(), index).get());
    if (!view) {
        WriteNumber(out, 0);
        return SVC_NONE;
    }
    uint32_t number = 0;
    view->GetValue(&number);
    WriteNumber(out, number);
    return SVC_OK;
}

uint32_t ItemSetText(uint32_t index, const char *text)
{
    HostRef<OIItemList> list = GetItemList();
    HostRef<OIItemView> view = ViewOf(LookUpItem(list.get(), index).get());
    if (!view)
        return SVC_NONE;
    view->SetText(Widen(text).get());
    return SVC_OK;
}

uint32_t ItemText(uint32_t index, bool second, uintptr_t out)
{
    HostRef<OIItemList> list = GetItemList();
    HostRef<OIItemView> view = ViewOf(LookUpItem(list.get(), index).get());
    if (!view)
        return SVC_NONE;
    HostText text;
    if (second)
        view->GetTextB(text.Out());
    else
        view->GetTextA(text.Out());
    return HandOut(text.get(), out) ? SVC_OK : SVC_NONE;
}

uint32_t Open(uint32_t flags, const char *text)
{
    HostRef<OIItem> item(OlxGetClient()->OpenItem(OpenTarget, Widen(text).get(), flags));
    // The same answer as for an unknown code: the plug-in cannot tell.
    return SVC_UNKNOWN;
}

uint32_t OpenIndex(uintptr_t indexOut, const char *text)
{
    HostRef<OIItem> item(OlxGetClient()->OpenItem(OpenTarget, Widen(text).get(), OPEN_INDEX_FLAGS));
    HostRef<OIItemList> list = GetItemList();
    uint32_t index = INDEX_NOT_FOUND;
    FindIndex(list.get(), item.get(), &index);
    WriteNumber(indexOut, index);
    return SVC_OK;
}

uint32_t ApplyItemOpA(uint32_t index)
{
    HostRef<OIItemList> list = GetItemList();
    if (!list || index >= list->GetCount())
        return SVC_NONE;
    HostRef<OIItem> item(list->GetItem(index));
    list->ApplyFirst(item.get());
    return SVC_OK;
}

// Range-tested, unlike what plug-ins are told: an index past the end would
// hand the host a null item. The answer is 0 all the same, as promised.
uint32_t ApplyItemOpB(uint32_t index)
{
    HostRef<OIItemList> list = GetItemList();
    HostRef<OIItem> item = LookUpItem(list.get(), index);
    if (item)
        list->ApplySecond(item.get());
    return SVC_OK;
}

uint32_t CurrentIndex(uintptr_t value)
{
    HostRef<OIItemList> list = GetItemList();
    if (!list)
        return SVC_NONE;
    HostRef<OIItem> current(list->GetCurrent());
    uint32_t index;
    if (!FindIndex(list.get(), current.get(), &index))
        return SVC_NONE;
    WriteNumber(value, index);
    return SVC_OK;
}

uint32_t Folder(uint32_t which, uintptr_t out)
{
    int kind;
    switch (which) {
    case SVC_FOLDER_HOST_A: kind = FOLDER_KIND_HOST_A; break;
    case SVC_FOLDER_SETTINGS: kind = FOLDER_KIND_SETTINGS; break;
    case SVC_FOLDER_HOST_B: kind = FOLDER_KIND_HOST_B; break;
    default: return SVC_NONE;
    }
    HostText folder;
    OlxGetClient()->GetFolder(kind, folder.Out());
    // A host that gives no text gives the empty one. No separator before
    // "setting\": host folders end with one.
    WideText path = which == SVC_FOLDER_SETTINGS ? JoinTexts({folder.get(), SettingFolder})
                                                 : JoinTexts({folder.get()});
    if (path.empty())
        return SVC_NONE;
    // A plug-in writes its settings there: on a fresh host it must exist.
    if (which == SVC_FOLDER_SETTINGS)
        MakeFolderInside(folder.get(), path.get());
    return HandOut(path.get(), out) ? SVC_OK : SVC_NONE;
}

} // namespace

uint32_t WPN_CALL ServiceRequest(uint32_t code, uintptr_t value, uintptr_t out)
{
    const ServiceCode *row = FindServiceCode(code);
    if (!row)
        return SVC_UNKNOWN;
    RequestFrom plugin(CALLER_ADDRESS());
    // Such a request touches nothing and answers "no", or the answer the
    // contract fixes for its code.
    if (NullWhereUsed(*row, value, out)) {
        // Nothing opened, so no index for it, where there is a number to say so.
        if (code == SVC_OPEN_INDEX && value)
            WriteNumber(value, INDEX_NOT_FOUND);
        return row->FixedResult != NO_FIXED_RESULT ? row->FixedResult : (uint32_t)SVC_NONE;
    }
    // The dispatch; what each code reads and answers is in ServiceCodes.
    switch (code) {
    case SVC_VERSION:
        WriteNumber(value, SERVICE_VERSION);
        return SVC_OK;
    case SVC_ITEM_COUNT: return ItemCount(value);
    case SVC_ITEM_VALUE:
    case SVC_ITEM_VALUE_B: return ItemValue((uint32_t)value, out);
    case SVC_ITEM_SET_TEXT: return ItemSetText((uint32_t)value, (const char *)out);
    case SVC_OPEN: return Open((uint32_t)value, (const char *)out);
    case SVC_ITEM_OP_A: return ApplyItemOpA((uint32_t)value);
    case SVC_ITEM_TEXT_A: return ItemText((uint32_t)value, false, out);
    case SVC_ITEM_TEXT_B: return ItemText((uint32_t)value, true, out);
    case SVC_CURRENT_INDEX: return CurrentIndex(value);
    case SVC_ITEM_OP_B: return ApplyItemOpB((uint32_t)value);
    case SVC_OPEN_INDEX: return OpenIndex(value, (const char *)out);
    case SVC_FOLDER: return Folder((uint32_t)value, out);
    }
    return SVC_UNKNOWN;
}

uint32_t WPN_CALL ServiceReserved(uint32_t, uint32_t, uint32_t)
{
    return 0;
}

void *WPN_CALL ServiceAlloc(uint32_t size)
{
    return new (std::nothrow) char[size ? size : 1];
}

uint32_t WPN_CALL ServiceFree(void *block)
{
    delete[] (char *)block;
    return 1;
}

int32_t WPN_CALL ServiceShowMessage(const char *text, uint32_t type)
{
    RequestFrom plugin(CALLER_ADDRESS());
    return OlxMessageBox(Widen(text).get(), type);
}
