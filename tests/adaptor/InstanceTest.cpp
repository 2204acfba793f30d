/* The adaptor's factory and instance: exports, interfaces, reference counts,
 * and the identifier, name and icon path it derives from its file title.
 * Every text it hands out must be host memory the test can give back. */
#include "AdaptorHarness.h"
#include "StdcallProbe.h"
#include "doctest.h"

namespace {

const wchar_t IdPrefix[] = L"{C46E8446-BD99-4ef6-BE49-6D3751BF28DD-";

struct Identity {
    std::wstring Id, Name, Icon;
};

Identity ReadIdentity(OIPlugin *plugin, OIPanel *panel)
{
    Identity identity;
    wchar_t *stored = nullptr;
    wchar_t *returned = plugin->GetId(&stored);
    CHECK(returned == stored);
    identity.Id = TakeHostText(stored);
    returned = panel->GetName(&stored);
    CHECK(returned == stored);
    identity.Name = TakeHostText(stored);
    panel->GetIconPath(&stored);
    identity.Icon = TakeHostText(stored);
    return identity;
}

} // namespace

TEST_CASE("the factory is exported plain and decorated at one stdcall entry")
{
    Deployment deployment(L"Tuft.dll", L"");
    FARPROC plain = GetProcAddress(deployment.Adaptor(), "OPI_CreateInstance");
    FARPROC decorated = GetProcAddress(deployment.Adaptor(), "_OPI_CreateInstance@4");
    REQUIRE((void *)plain != nullptr);
    CHECK((void *)plain == (void *)decorated);
#if STDCALL_PROBE
    uint32_t argument = 77;
    int32_t moved = -1;
    OIBase *base = (OIBase *)(uintptr_t)CallMeasuringStack((const void *)plain, &argument, 1, &moved);
    CHECK(moved == 0);
    REQUIRE(base);
    CHECK(base->Release() == 0);
#endif
    // The copy shares the test program's OstrelLib: one host in the process.
    CHECK(OstrelLibCopies() == 1);
}

TEST_CASE("QueryInterface answers for base, plug-in and panel and counts references")
{
    Deployment deployment(L"Tuft.dll", L"");
    OIBase *base = deployment.CreateInstance();
    REQUIRE(base);
    struct Case {
        uint32_t Id;
        bool Supported;
    };
    const Case cases[] = {{0, true},           {1, false},          {2, false},     {3, true},
                          {0x1000002, true},   {0x1000001, false},  {4, false},     {0xFFFFFFFF, false}};
    int count = 1;
    for (const Case &c : cases) {
        CAPTURE(c.Id);
        void *out = (void *)0x1;
        CHECK(base->QueryInterface(c.Id, &out) == c.Supported);
        if (c.Supported) {
            CHECK(out == (void *)base); // one chain of interfaces, one address
            ++count;
        } else {
            CHECK(out == nullptr);
        }
        CHECK(base->AddRef() == count + 1);
        CHECK(base->Release() == count);
    }
    // Give back the references taken above, then the factory's.
    while (count > 1)
        CHECK(base->Release() == --count);
    CHECK(base->Release() == 0);
    CHECK_NOTHING_OUT();
}

TEST_CASE("identifier, name and icon path come from the file title")
{
    struct Case {
        const wchar_t *File;
        const wchar_t *Title;
    };
    const Case cases[] = {
        {L"TuftlingPanel.dll", L"TuftlingPanel"},
        {L"Other.bridge", L"Other"},
        {L"NoDot", L"NoDot"},
        {L"\u30BF\u30D5\u30C8.dll", L"\u30BF\u30D5\u30C8"}, // タフト
    };
    for (const Case &c : cases) {
        CAPTURE(Narrow(c.File));
        Deployment deployment(c.File, L"");
        AdaptorRefs refs(deployment);
        // Before Initialize or GetId the title is still empty.
        wchar_t *text = nullptr;
        CHECK(TakeHostText(refs.Panel->GetName(&text)) == L"");
        CHECK(refs.Plugin->Initialize());
        CHECK(refs.Plugin->Terminate());
        Identity identity = ReadIdentity(refs.Plugin, refs.Panel);
        CHECK(Narrow(identity.Id) == Narrow(std::wstring(IdPrefix) + c.Title + L"}"));
        CHECK(Narrow(identity.Name) == Narrow(c.Title));
        CHECK(Narrow(identity.Icon) == Narrow(std::wstring(L"panel\\wpn\\") + c.Title + L".ico"));
        refs.ReleaseAll();
        CHECK_NOTHING_OUT();
    }
}

TEST_CASE("GetId alone computes the title that GetName then uses")
{
    Deployment deployment(L"Solo.dll", L"");
    AdaptorRefs refs(deployment);
    wchar_t *text = nullptr;
    CHECK(TakeHostText(refs.Plugin->GetId(&text)) == std::wstring(IdPrefix) + L"Solo}");
    CHECK(TakeHostText(refs.Panel->GetName(&text)) == L"Solo");
    refs.ReleaseAll();
    CHECK_NOTHING_OUT();
}

TEST_CASE("a title near the path limit is cut, never overflows")
{
    // The module's path is longer than the 260 characters the adaptor reads.
    std::wstring longTitle(240, L'T');
    Deployment deployment(longTitle + L".dll", L"");
    AdaptorRefs refs(deployment);
    CHECK(refs.Plugin->Initialize());
    Identity identity = ReadIdentity(refs.Plugin, refs.Panel);
    CHECK(identity.Name.size() < 260);
    CHECK(longTitle.compare(0, identity.Name.size(), identity.Name) == 0);
    CHECK(identity.Id == std::wstring(IdPrefix) + identity.Name + L"}");
    CHECK(identity.Icon == L"panel\\wpn\\" + identity.Name + L".ico");
    refs.ReleaseAll();
    CHECK_NOTHING_OUT();
}

TEST_CASE("the version resource names PanelBridge under any title, at the plug-in's version")
{
    Deployment deployment(L"TuftlingPanel.dll", L"");
    VersionResource bridge(deployment.AdaptorPath()), panel(ProgramFolder() + L"TuftlingPanel.wpn");
    REQUIRE(bridge.Fixed());
    REQUIRE(panel.Fixed());
    for (auto field : {&VS_FIXEDFILEINFO::dwFileVersionMS, &VS_FIXEDFILEINFO::dwFileVersionLS,
                       &VS_FIXEDFILEINFO::dwProductVersionMS, &VS_FIXEDFILEINFO::dwProductVersionLS})
        CHECK(bridge.Fixed()->*field == panel.Fixed()->*field);
    for (const wchar_t *name : {L"FileVersion", L"ProductVersion"})
        CHECK(bridge.Text(name) == panel.Text(name));
    // "PanelBridge パネル プラグイン アダプタ"
    CHECK(bridge.Text(L"FileDescription") == L"PanelBridge \u30D1\u30CD\u30EB \u30D7\u30E9\u30B0\u30A4\u30F3 "
                                             L"\u30A2\u30C0\u30D7\u30BF");
    CHECK(bridge.Text(L"OriginalFilename") == L"PanelBridge.dll");
}

TEST_CASE("ShowPanel and Filter before any panel do nothing")
{
    Deployment deployment(L"Tuft.dll", L"");
    AdaptorRefs refs(deployment);
    CHECK(refs.Panel->ShowPanel(true) == FALSE);
    CHECK_FALSE(refs.Panel->Filter(FAKE_FILTER_CONSUMED));
    CHECK(refs.Panel->DestroyPanel());
}
