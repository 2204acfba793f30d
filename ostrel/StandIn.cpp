/* The stand-in's control surface for the stand-in host application and the
 * tests, and the host message box, which a test can answer without showing. */
#include "Host.h"

namespace {

void CopyText(const std::wstring &text, wchar_t *out, int capacity)
{
    if (out && capacity > 0)
        lstrcpynW(out, text.c_str(), capacity);
}

int IndexInList(const Item *item)
{
    const std::vector<Item *> &list = State().List;
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i] == item)
            return (int)i;
    return -1;
}

} // namespace

extern "C" int OlxMessageBox(const wchar_t *text, uint32_t type)
{
    HostState &state = State();
    ++state.Counters.MessageBoxes;
    state.LastMessage = text ? text : L"";
    state.LastMessageType = type;
    if (state.MessageBoxAnswer)
        return state.MessageBoxAnswer;
    return MessageBoxW(state.MainWindow, state.LastMessage.c_str(), L"Ostrel", type);
}

extern "C" void OstrelTestReset(void)
{
    HostState &state = State();
    state.List.clear();
    state.Current = nullptr;
    state.OpenMode = OSTREL_OPEN_APPEND;
    state.LastOpenText.clear();
    state.LastOpenFlags = 0;
    state.FolderOverrides.clear();
    state.ObjectAnswersFalse = false;
    state.NullEmptyTexts = false;
    state.MessageBoxAnswer = 0;
    state.LastMessage.clear();
    state.LastMessageType = 0;
    int references = state.Counters.References;
    int blocks = state.Counters.Blocks;
    state.Counters = OstrelCounters();
    state.Counters.References = references;
    state.Counters.Blocks = blocks;
}

extern "C" int OstrelTestAddItem(uint32_t value, const wchar_t *textA, const wchar_t *textB)
{
    State().List.push_back(State().MakeItem(value, textA, textB));
    return (int)State().List.size() - 1;
}

extern "C" void OstrelTestSetCurrent(int index)
{
    HostState &state = State();
    if (index == OSTREL_CURRENT_DETACHED)
        state.Current = state.MakeItem(0xDE7AC4ED, L"detached", L"detached");
    else if (index >= 0 && index < (int)state.List.size())
        state.Current = state.List[index];
    else
        state.Current = nullptr;
}

extern "C" int OstrelTestItemCount(void)
{
    return (int)State().List.size();
}

extern "C" BOOL OstrelTestGetItem(int index, OstrelItemInfo *info)
{
    if (index < 0 || index >= (int)State().List.size())
        return FALSE;
    const Item &item = *State().List[index];
    info->Value = item.Value;
    info->OpFirst = item.OpFirst;
    info->OpSecond = item.OpSecond;
    info->TextsSet = item.TextsSet;
    CopyText(item.TextA, info->TextA, 128);
    CopyText(item.TextB, info->TextB, 128);
    CopyText(item.LastSetText, info->LastSetText, 128);
    return TRUE;
}

extern "C" int OstrelTestCurrent(void)
{
    if (!State().Current)
        return OSTREL_CURRENT_NONE;
    int index = IndexInList(State().Current);
    return index >= 0 ? index : OSTREL_CURRENT_DETACHED;
}

extern "C" void OstrelTestSetOpenMode(int mode)
{
    State().OpenMode = mode;
}

extern "C" uint32_t OstrelTestLastOpen(wchar_t *text, int capacity)
{
    CopyText(State().LastOpenText, text, capacity);
    return State().LastOpenFlags;
}

extern "C" void OstrelTestSetFolder(int kind, const wchar_t *text)
{
    State().FolderOverrides[kind] = std::make_pair(text != nullptr, std::wstring(text ? text : L""));
}

extern "C" void OstrelTestSetObjectAnswersFalse(BOOL on)
{
    State().ObjectAnswersFalse = on != FALSE;
}

extern "C" void OstrelTestSetNullEmptyTexts(BOOL on)
{
    State().NullEmptyTexts = on != FALSE;
}

extern "C" void OstrelTestSetMessageBoxAnswer(int answer)
{
    State().MessageBoxAnswer = answer;
}

extern "C" uint32_t OstrelTestLastMessage(wchar_t *text, int capacity)
{
    CopyText(State().LastMessage, text, capacity);
    return State().LastMessageType;
}

extern "C" void OstrelTestGetCounters(OstrelCounters *counters)
{
    *counters = State().Counters;
}

extern "C" HFONT OstrelTestFont(void)
{
    return TheFontSource().Font();
}

extern "C" void OstrelSetMainWindow(HWND window)
{
    State().MainWindow = window;
}
