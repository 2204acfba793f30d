/* The host services the adaptor offers a hosted plug-in, served from the
 * stand-in host's item list, folders, memory and message box. The fake
 * plug-in calls every service from inside PanelCreate; the edge cases then go
 * through the same host record the plug-in was given. After every request
 * the host has all its references and memory texts back. */
#include "AdaptorHarness.h"
#include "doctest.h"

#include "WpnContract.h"

#include <string.h>
#include <vector>

namespace {

const uint32_t Untouched = 0xC0FFEE;

OstrelItemInfo ItemAt(int index)
{
    OstrelItemInfo info = {};
    REQUIRE(OstrelTestGetItem(index, &info));
    return info;
}

/* A hosted well-behaved fake over three items, item 1 current. */
struct ServiceFixture {
    FakeLogView Log;
    ParentWindow Parent;
    Deployment Deploy{L"Served.dll", L"FakeGood.wpn"};
    AdaptorRefs Refs{Deploy};
    HostServices *Host = nullptr;

    ServiceFixture()
    {
        OstrelTestAddItem(10, L"alpha", L"C:\\items\\alpha.txt");
        OstrelTestAddItem(11, L"\u65E5\u672C", L"C:\\items\\beta.txt"); // 日本
        OstrelTestAddItem(12, L"gamma", L"C:\\items\\gamma.txt");
        OstrelTestSetCurrent(1);
        OstrelTestSetMessageBoxAnswer(IDYES);
        Refs.Plugin->Initialize();
        REQUIRE(Refs.Panel->CreatePanel(Parent.get()));
        Host = (HostServices *)Log->CreateHost;
        REQUIRE(Host);
    }
    ~ServiceFixture() { Refs.Panel->DestroyPanel(); }

    uint32_t Request(uint32_t code, uintptr_t value, uintptr_t out) { return Host->Request(code, value, out); }
};

} // namespace

TEST_CASE("every service answers a plug-in from inside PanelCreate")
{
    ServiceFixture f;
    const FakeServiceTrace &t = f.Log->Services;
    CHECK(t.VersionResult == SVC_OK);
    CHECK(t.Version == 200);
    CHECK(t.CountResult == SVC_OK);
    CHECK(t.Count == 3);
    CHECK(t.ValueResult == SVC_OK);
    CHECK(t.Value == 10);
    CHECK(t.ValueBResult == SVC_OK);
    CHECK(t.ValueB == 11);
    CHECK(t.SetTextResult == SVC_OK);
    CHECK(Narrow(ItemAt(0).LastSetText) == FAKE_SET_TEXT);
    CHECK(t.OpenResult == SVC_UNKNOWN); // opened all the same
    CHECK(t.OpAResult == SVC_OK);
    CHECK(ItemAt(0).OpFirst == 1);
    CHECK(t.OpBResult == SVC_OK);
    CHECK(ItemAt(1).OpSecond == 1);
    CHECK(t.TextAResult == SVC_OK);
    CHECK(std::string(t.TextA) == "alpha");
    CHECK(t.TextAFree == 1);
    CHECK(t.TextBResult == SVC_OK);
    CHECK(std::string(t.TextB) == "C:\\items\\beta.txt");
    CHECK(t.TextBFree == 1);
    CHECK(t.CurrentResult == SVC_OK);
    CHECK(t.Current == 1);
    // SVC_OPEN appended item 3, SVC_OPEN_INDEX item 4.
    CHECK(t.OpenIndexResult == SVC_OK);
    CHECK(t.OpenIndex == 4);
    CHECK(OstrelTestItemCount() == 5);
    CHECK(Narrow(ItemAt(3).TextA) == FAKE_OPEN_TEXT);
    CHECK(Narrow(ItemAt(3).TextB) == "auto");
    std::wstring home = f.Deploy.Home().Path();
    for (int which = 0; which < 3; ++which) {
        CAPTURE(which);
        CHECK(t.FolderResult[which] == SVC_OK);
        CHECK(t.FolderFree[which] == 1);
    }
    CHECK(Widen(t.Folder[0]) == home + L"data\\");
    CHECK(Widen(t.Folder[1]) == home + L"user\\setting\\");
    CHECK(Widen(t.Folder[2]) == home + L"cache\\");
    CHECK(t.UnknownResult == SVC_UNKNOWN);
    CHECK(t.ReservedResult == 0);
    CHECK(t.AllocOk == 1);
    CHECK(t.AllocFree == 1);
    CHECK(t.MessageResult == IDYES);
    wchar_t message[64];
    CHECK(OstrelTestLastMessage(message, 64) == (MB_YESNO | MB_ICONQUESTION));
    CHECK(std::wstring(message) == L"\u30C6\u30B9\u30C8"); // テスト, widened from cp932
    CHECK_NOTHING_OUT();
}

TEST_CASE("item services at the edges of the list")
{
    ServiceFixture f;
    OstrelCounters before = Counters();
    // Three items of the fixture and two the fake opened from PanelCreate.
    REQUIRE(OstrelTestItemCount() == 5);
    const uint32_t end = 5;

    SUBCASE("values: an index at or past the end writes 0 and gives 1")
    {
        for (uint32_t code : {SVC_ITEM_VALUE, SVC_ITEM_VALUE_B}) {
            uint32_t count = (uint32_t)OstrelTestItemCount();
            for (uint32_t index : {count, count + 1, 0xFFFFFFFFu}) {
                CAPTURE(code);
                CAPTURE(index);
                uint32_t value = Untouched;
                CHECK(f.Request(code, index, (uintptr_t)&value) == SVC_NONE);
                CHECK(value == 0);
            }
            uint32_t value = Untouched;
            CHECK(f.Request(code, 2, (uintptr_t)&value) == SVC_OK);
            CHECK(value == 12);
        }
    }
    SUBCASE("texts: no item leaves the out-pointer as it was")
    {
        for (uint32_t code : {SVC_ITEM_TEXT_A, SVC_ITEM_TEXT_B}) {
            CAPTURE(code);
            char *text = (char *)&Untouched;
            CHECK(f.Request(code, end, (uintptr_t)&text) == SVC_NONE);
            CHECK(text == (char *)&Untouched);
            CHECK(f.Request(code, 0xFFFFFFFF, (uintptr_t)&text) == SVC_NONE);
            CHECK(text == (char *)&Untouched);
        }
        char *text = nullptr;
        REQUIRE(f.Request(SVC_ITEM_TEXT_A, 1, (uintptr_t)&text) == SVC_OK);
        CHECK(std::string(text) == "\x93\xfa\x96\x7b"); // 日本 in cp932
        CHECK(f.Host->Free(text) == 1);
    }
    SUBCASE("set text: only an item in the list takes it")
    {
        CHECK(f.Request(SVC_ITEM_SET_TEXT, end, (uintptr_t)"lost") == SVC_NONE);
        CHECK(f.Request(SVC_ITEM_SET_TEXT, 2, (uintptr_t)"kept") == SVC_OK);
        CHECK(Narrow(ItemAt(2).LastSetText) == "kept");
        CHECK(ItemAt(2).TextsSet == 1);
    }
    SUBCASE("the item operations apply only to items in the list")
    {
        CHECK(f.Request(SVC_ITEM_OP_A, 0xFFFFFFFF, 0) == SVC_NONE);
        CHECK(f.Request(SVC_ITEM_OP_A, end, 0) == SVC_NONE);
        CHECK(Counters().NullFirstOps == 0);
        CHECK(f.Request(SVC_ITEM_OP_A, 2, 0) == SVC_OK);
        CHECK(f.Request(SVC_ITEM_OP_B, 2, 0) == SVC_OK);
        CHECK(ItemAt(2).OpFirst == 1);
        CHECK(ItemAt(2).OpSecond == 1);
    }
    SUBCASE("the current index: none, or not in the list, writes nothing")
    {
        for (int current : {OSTREL_CURRENT_DETACHED, OSTREL_CURRENT_NONE}) {
            CAPTURE(current);
            OstrelTestSetCurrent(current);
            uint32_t index = Untouched;
            CHECK(f.Request(SVC_CURRENT_INDEX, (uintptr_t)&index, 0) == SVC_NONE);
            CHECK(index == Untouched);
        }
        OstrelTestSetCurrent(2);
        uint32_t index = Untouched;
        CHECK(f.Request(SVC_CURRENT_INDEX, (uintptr_t)&index, 0) == SVC_OK);
        CHECK(index == 2);
    }
    SUBCASE("the count follows the list")
    {
        OstrelTestAddItem(99, L"late", L"late");
        uint32_t count = Untouched;
        CHECK(f.Request(SVC_ITEM_COUNT, (uintptr_t)&count, 0) == SVC_OK);
        CHECK(count == 6); // three, two opened by the fake, one late
    }
    OstrelCounters after = Counters();
    CHECK(after.Opened == before.Opened);
    CHECK_NOTHING_OUT();
}

TEST_CASE("opening a text as an item")
{
    ServiceFixture f;
    wchar_t text[128];

    SUBCASE("SVC_OPEN passes the flags and target auto and still answers 3")
    {
        CHECK(f.Request(SVC_OPEN, 0x21, (uintptr_t)"C:\\new.txt") == SVC_UNKNOWN);
        CHECK(OstrelTestLastOpen(text, 128) == 0x21);
        CHECK(std::wstring(text) == L"C:\\new.txt");
        CHECK(Narrow(ItemAt(OstrelTestItemCount() - 1).TextB) == "auto");
    }
    SUBCASE("SVC_OPEN_INDEX gives the new item's index, opened with flags 3")
    {
        uint32_t index = Untouched;
        CHECK(f.Request(SVC_OPEN_INDEX, (uintptr_t)&index, (uintptr_t)"C:\\new.txt") == SVC_OK);
        CHECK(index == (uint32_t)OstrelTestItemCount() - 1);
        CHECK(OstrelTestLastOpen(text, 128) == 3);
    }
    SUBCASE("an opened item outside the list, or none at all, gives 0xFFFFFFFF and 0")
    {
        for (int mode : {OSTREL_OPEN_DETACHED, OSTREL_OPEN_NOTHING}) {
            CAPTURE(mode);
            OstrelTestSetOpenMode(mode);
            int count = OstrelTestItemCount();
            uint32_t index = Untouched;
            CHECK(f.Request(SVC_OPEN_INDEX, (uintptr_t)&index, (uintptr_t)"C:\\elsewhere.txt") == SVC_OK);
            CHECK(index == 0xFFFFFFFF);
            CHECK(OstrelTestItemCount() == count);
            CHECK(f.Request(SVC_OPEN, 0, (uintptr_t)"C:\\elsewhere.txt") == SVC_UNKNOWN);
        }
    }
    CHECK_NOTHING_OUT();
}

TEST_CASE("host folders")
{
    ServiceFixture f;
    std::wstring home = f.Deploy.Home().Path();
    auto folder = [&](uint32_t which, std::string &text) {
        char *out = (char *)&Untouched;
        uint32_t result = f.Request(SVC_FOLDER, which, (uintptr_t)&out);
        text = "(untouched)";
        if (out != (char *)&Untouched) {
            text = out;
            CHECK(f.Host->Free(out) == 1);
        }
        return result;
    };
    std::string text;

    SUBCASE("values other than 0, 1 and 2 give 1 and leave the out-pointer")
    {
        for (uint32_t which : {3u, 4u, 19u, 0xFFFFFFFFu}) {
            CAPTURE(which);
            CHECK(folder(which, text) == SVC_NONE);
            CHECK(text == "(untouched)");
        }
    }
    SUBCASE("the settings folder ends in setting\\ even when kind 5 is empty or missing")
    {
        OstrelTestSetFolder(5, L"");
        CHECK(folder(1, text) == SVC_OK);
        CHECK(text == "setting\\");
        OstrelTestSetFolder(5, nullptr);
        CHECK(folder(1, text) == SVC_OK);
        CHECK(text == "setting\\");
        OstrelTestSetFolder(5, L"D:\\\u30E6\u30FC\u30B6\\"); // ユーザ
        CHECK(folder(1, text) == SVC_OK);
        CHECK(text == "D:\\\x83\x86\x81\x5b\x83\x55\\setting\\");
    }
    SUBCASE("a settings folder not there yet is made, one level inside an absolute kind 5 folder only")
    {
        std::wstring settings = f.Deploy.SettingsFolder();
        REQUIRE(RemoveDirectoryW(settings.c_str())); // made for the fake's request from PanelCreate
        CHECK(folder(1, text) == SVC_OK);
        CHECK(FileExists(settings));
        CurrentFolder here(home);
        CreateDirectoryW((home + L"relative").c_str(), nullptr);
        struct Shape {
            std::wstring Kind5, Unmade;
        };
        for (const Shape &shape : {Shape{home + L"absent\\", home + L"absent"}, Shape{L"", home + L"setting"},
                                   Shape{L"relative\\", home + L"relative\\setting"}}) {
            CAPTURE(Narrow(shape.Kind5));
            OstrelTestSetFolder(5, shape.Kind5.c_str());
            CHECK(folder(1, text) == SVC_OK);
            CHECK(Widen(text) == shape.Kind5 + L"setting\\");
            CHECK_FALSE(FileExists(shape.Unmade));
        }
    }
    SUBCASE("an empty or missing host folder gives 1")
    {
        OstrelTestSetFolder(1, L"");
        OstrelTestSetFolder(17, nullptr);
        CHECK(folder(0, text) == SVC_NONE);
        CHECK(text == "(untouched)");
        CHECK(folder(2, text) == SVC_NONE);
        CHECK(text == "(untouched)");
    }
    CHECK_NOTHING_OUT();
}

TEST_CASE("hostile requests get their answer and touch nothing")
{
    ServiceFixture f;
    OstrelCounters before = Counters();
    std::vector<OstrelItemInfo> items;
    for (int i = 0; i < OstrelTestItemCount(); ++i)
        items.push_back(ItemAt(i));
    uint32_t number = Untouched;
    char *text = (char *)&Untouched;
    const uintptr_t n = (uintptr_t)&number, t = (uintptr_t)&text, s = (uintptr_t)"text";
    struct Case {
        uint32_t Code;
        uintptr_t Value, Out;
        uint32_t Result;
    };
    std::vector<Case> cases = {
        // A null pointer where the code writes or reads through it: 1, or the
        // answer the contract fixes for the code (3 for SVC_OPEN, 0 for SVC_OPEN_INDEX).
        {SVC_VERSION, 0, n, SVC_NONE},       {SVC_ITEM_COUNT, 0, n, SVC_NONE},  {SVC_ITEM_VALUE, 0, 0, SVC_NONE},
        {SVC_ITEM_VALUE_B, 0, 0, SVC_NONE},  {SVC_ITEM_SET_TEXT, 0, 0, SVC_NONE}, {SVC_OPEN, 7, 0, SVC_UNKNOWN},
        {SVC_ITEM_TEXT_A, 0, 0, SVC_NONE},   {SVC_ITEM_TEXT_B, 0, 0, SVC_NONE}, {SVC_CURRENT_INDEX, 0, n, SVC_NONE},
        {SVC_OPEN_INDEX, 0, s, SVC_OK},      {SVC_OPEN_INDEX, 0, 0, SVC_OK},    {SVC_FOLDER, 1, 0, SVC_NONE},
        // The second item operation past the end: applied to nothing, and 0.
        {SVC_ITEM_OP_B, items.size(), 0, SVC_OK}, {SVC_ITEM_OP_B, 0xFFFFFFFF, 0, SVC_OK},
    };
    for (uint32_t code : {0u, 10u, 11u, 12u, 13u, 14u, 15u, 20u, 21u, 100u, 0xFFFFFFFFu})
        cases.push_back({code, n, t, SVC_UNKNOWN});
    for (const Case &c : cases) {
        CAPTURE(c.Code);
        CAPTURE(c.Value);
        CAPTURE(c.Out);
        CHECK(f.Request(c.Code, c.Value, c.Out) == c.Result);
    }
    CHECK(number == Untouched);
    CHECK(text == (char *)&Untouched);
    // No text to open: nothing opened, and no index for it.
    CHECK(f.Request(SVC_OPEN_INDEX, n, 0) == SVC_OK);
    CHECK(number == 0xFFFFFFFF);
    OstrelCounters after = Counters();
    CHECK(after.Opened == before.Opened);
    CHECK(after.MessageBoxes == before.MessageBoxes);
    CHECK(after.NullSecondOps == before.NullSecondOps);
    CHECK(OstrelTestItemCount() == (int)items.size());
    for (size_t i = 0; i < items.size(); ++i) {
        OstrelItemInfo now = ItemAt((int)i);
        CHECK(now.OpFirst == items[i].OpFirst);
        CHECK(now.OpSecond == items[i].OpSecond);
        CHECK(now.TextsSet == items[i].TextsSet);
    }
    CHECK_NOTHING_OUT();
}

TEST_CASE("memory and the message box")
{
    ServiceFixture f;
    void *block = f.Host->Alloc(0);
    CHECK(block != nullptr);
    CHECK(f.Host->Free(block) == 1);
    block = f.Host->Alloc(100000);
    REQUIRE(block);
    memset(block, 0x5A, 100000);
    CHECK(f.Host->Free(block) == 1);
    CHECK(f.Host->Free(nullptr) == 1);
    CHECK(f.Host->ShowMessage(nullptr, MB_OK) == IDYES); // an empty text, not a null, for the library
    CHECK(f.Host->Reserved(0xFFFFFFFF, 0, 7) == 0);
    OstrelTestSetMessageBoxAnswer(IDCANCEL);
    CHECK(f.Host->ShowMessage("plain", MB_OKCANCEL) == IDCANCEL);
    wchar_t message[64];
    CHECK(OstrelTestLastMessage(message, 64) == MB_OKCANCEL);
    CHECK(std::wstring(message) == L"plain");
    CHECK_NOTHING_OUT();
}

TEST_CASE("under TUFT_NULL_EMPTY_TEXTS the host library's empty texts are null pointers")
{
    Deployment deployment(L"Empty.dll", L"");
    bool asked = EnvCount("TUFT_NULL_EMPTY_TEXTS", 0) > 0;
    OCharConv conv;
    CHECK((OString().c_str() == nullptr) == asked);
    CHECK((conv.a2t("") == nullptr) == asked);
}
