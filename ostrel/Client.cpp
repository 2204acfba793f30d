/* The host application object: host objects by kind, the host folders and
 * opening a text as a new item. Folders sit under one root, OSTREL_HOME or
 * the program's own folder, and each ends with a backslash; kind 2 is
 * "panel\" so that a panel plug-in and its icon sit side by side. */
#include "Host.h"

namespace {

class Client final : public HostObject<OIClient> {
public:
    OSTREL_FILL_SLOT(0) OSTREL_FILL_SLOT(1) OSTREL_FILL_SLOT(2) OSTREL_FILL_SLOT(3) OSTREL_FILL_SLOT(4)
    OSTREL_FILL_SLOT(5)
    bool GetHostObject(int kind, void **out) override;
    OSTREL_FILL_SLOT(7) OSTREL_FILL_SLOT(8) OSTREL_FILL_SLOT(9)
    bool GetFolder(int kind, wchar_t **out) override;
    OIItem *OpenItem(const wchar_t *target, const wchar_t *text, uint32_t flags) override;
};

const wchar_t *FolderName(int kind)
{
    switch (kind) {
    case 1: return L"data\\";
    case 2: return L"panel\\";
    case 5: return L"user\\";
    case 17: return L"cache\\";
    }
    return nullptr;
}

std::wstring HomeFolder()
{
    wchar_t path[MAX_PATH * 2];
    DWORD n = GetEnvironmentVariableW(L"OSTREL_HOME", path, MAX_PATH * 2);
    std::wstring home;
    if (n && n < MAX_PATH * 2) {
        home.assign(path, n);
    } else {
        n = GetModuleFileNameW(nullptr, path, MAX_PATH * 2);
        home.assign(path, n < MAX_PATH * 2 ? n : 0);
        home.erase(home.find_last_of(L"\\/") + 1);
    }
    if (!home.empty() && home.back() != L'\\' && home.back() != L'/')
        home += L'\\';
    return home;
}

bool Client::GetHostObject(int kind, void **out)
{
    *out = nullptr;
    OIBase *object = nullptr;
    if (kind == OHOST_ITEM_LIST)
        object = &TheItemList();
    else if (kind == OHOST_FONT_SOURCE)
        object = &TheFontSource();
    if (!object)
        return false;
    object->AddRef();
    *out = object;
    return !State().ObjectAnswersFalse;
}

bool Client::GetFolder(int kind, wchar_t **out)
{
    *out = nullptr;
    auto found = State().FolderOverrides.find(kind);
    if (found != State().FolderOverrides.end()) {
        if (!found->second.first)
            return false;
        *out = HostMemoryText(found->second.second);
        return true;
    }
    const wchar_t *name = FolderName(kind);
    if (!name)
        return false;
    *out = HostMemoryText(HomeFolder() + name);
    return true;
}

OIItem *Client::OpenItem(const wchar_t *target, const wchar_t *text, uint32_t flags)
{
    HostState &state = State();
    ++state.Counters.Opened;
    state.LastOpenText = text ? text : L"";
    state.LastOpenFlags = flags;
    if (state.OpenMode == OSTREL_OPEN_NOTHING)
        return nullptr;
    Item *item = state.MakeItem(0, text, target);
    if (state.OpenMode == OSTREL_OPEN_APPEND)
        state.List.push_back(item);
    item->AddRef();
    return item;
}

Client &TheClient()
{
    static Client client;
    return client;
}

} // namespace

extern "C" OIClient *OlxGetClient(void)
{
    return &TheClient();
}

extern "C" void OstrelHomeFolder(wchar_t *path, int capacity)
{
    if (capacity <= 0)
        return;
    lstrcpynW(path, HomeFolder().c_str(), capacity);
}
