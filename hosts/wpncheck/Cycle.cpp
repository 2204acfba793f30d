/* The host side of the contract, step by step, with a verdict after each
 * step. A failure that a real host would treat as "plug-in absent" (no file,
 * missing export, info byte, WPN_Initialize's result) ends the cycle after
 * the module is unloaded again, as such a host does. Whatever the plug-in
 * leaves behind (a window it did not destroy) is cleaned up by the checker
 * before the module is unloaded, so that the run can go on. */
#include "Cycle.h"

#include "MenuCloser.h"
#include "ObjectCount.h"
#include "PanelLoader.h"
#include "Paths.h"
#include "Pump.h"
#include "Report.h"
#include "ServiceCodes.h"
#include "StackLedger.h"
#include "WarmUp.h"

#include <stdio.h>
#include <string.h>
#include <algorithm>
#include <vector>

namespace {

const char *const SlotNames[] = {"PanelCreate", "PanelDestroy", "PanelTick", "PanelContextMenu", "PanelFilter"};


uint32_t U32(const void *p) { return (uint32_t)(uintptr_t)p; }

// The callbacks record at an odd address between guard bytes; its reserved
// bytes carry a pattern so that any write to them shows.
class CallbackRecord {
public:
    CallbackRecord()
    {
        memset(bytes_, GuardByte, sizeof bytes_);
        record_ = (PanelCallbacks *)(bytes_ + GUARD + 1);
        memset(record_, 0, sizeof *record_);
        record_->StructSize = PANEL_CALLBACKS_SIZE;
        memset(record_->Unused, ReservedByte, sizeof record_->Unused);
        memcpy(before_, bytes_, sizeof bytes_);
    }
    PanelCallbacks *Get() const { return record_; }

    /* From here on any change to the record is a late write. */
    void Seal() { memcpy(sealed_, bytes_, sizeof bytes_); }
    // "" when nothing changed since Seal, else what changed first; forgets
    // the change, so that each one is told once.
    std::string LateWrite()
    {
        for (size_t i = 0; i < sizeof bytes_; ++i) {
            if (bytes_[i] == sealed_[i])
                continue;
            long offset = (long)i - (long)(GUARD + 1);
            char text[120];
            if (offset >= 4 && offset < (long)offsetof(PanelCallbacks, Unused))
                snprintf(text, sizeof text, "the %s slot (offset %ld)", SlotNames[offset / 4 - 1], offset);
            else if (offset >= 0 && offset < (long)sizeof(PanelCallbacks))
                snprintf(text, sizeof text, "offset %ld", offset);
            else
                snprintf(text, sizeof text, "a byte outside the %d-byte record", PANEL_CALLBACKS_SIZE);
            memcpy(sealed_, bytes_, sizeof bytes_);
            return text;
        }
        return "";
    }

    // "" when only slots changed, else where the first stray write was.
    std::string StrayWrite() const
    {
        size_t start = GUARD + 1, slotsEnd = start + offsetof(PanelCallbacks, Unused);
        for (size_t i = 0; i < sizeof bytes_; ++i) {
            if (bytes_[i] == before_[i] || (i >= start + 4 && i < slotsEnd))
                continue;
            char text[120];
            long offset = (long)i - (long)start;
            if (offset < 0 || offset >= (long)sizeof(PanelCallbacks))
                snprintf(text, sizeof text, "wrote outside the %d-byte record (offset %ld)",
                         PANEL_CALLBACKS_SIZE, offset);
            else if (offset < 4)
                snprintf(text, sizeof text, "changed StructSize to %lu", (unsigned long)record_->StructSize);
            else
                snprintf(text, sizeof text, "wrote reserved byte at offset %ld", offset);
            return text;
        }
        return "";
    }

private:
    enum { GUARD = 16 };
    static const unsigned char GuardByte = 0xC3, ReservedByte = 0x5A;
    unsigned char bytes_[GUARD + 1 + sizeof(PanelCallbacks) + GUARD];
    unsigned char before_[sizeof bytes_];
    unsigned char sealed_[sizeof bytes_] = {};
    PanelCallbacks *record_;
};

bool InModule(const void *p, HMODULE module)
{
    MEMORY_BASIC_INFORMATION where;
    return p && VirtualQuery(p, &where, sizeof where) && where.AllocationBase == (void *)module;
}

bool StillMapped(HMODULE module)
{
    HMODULE found = nullptr;
    return GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                              (LPCWSTR)module, &found) && found == module;
}

class Cycle {
public:
    Cycle(InstrumentedHost &host, const CycleSetup &setup) : host_(host), setup_(setup) {}
    bool Run();

private:
    bool Load();
    bool Exports();
    void DecoratedNames();
    bool InfoByte();
    bool Initialize();
    void Create();
    void RememberPanel();
    void Ticks();
    void ContextMenu();
    void Destroy();
    void Resources();
    void Services();
    void Unload();
    void AfterCallback(const char *name);
    void LateUse();

    InstrumentedHost &host_;
    const CycleSetup &setup_;
    LoadedPlugin plugin_;
    PanelCallbacks slots_ = {};
    HWND panel_ = nullptr;
    int gdiBefore_ = 0, windowsBefore_ = 0;
    int callbacks_ = 0;
    std::string recordChange_;
    CallbackRecord callbackRecord_; // stays in place for the whole cycle
    std::string lateWrite_;         // the first write to it after WPN_Initialize
    // The service log as PanelDestroy returned: what comes after it is late.
    size_t lateCalls_ = 0;
    int lateAllocs_ = 0, lateFrees_ = 0, lateOthers_ = 0;
    bool destroyed_ = false;
};

// Long enough for a timer of the tick's period that the plug-in left running
// to fire at least once.
const DWORD LateUseMs = 1000;

// What to change, for a module that the load step refused.
const char *LoadFix(const LoadFailure &failure)
{
    if (failure.Step == LoadStep::File)
        return ": give the path of the .wpn file";
    if (failure.Step == LoadStep::Module && failure.Seen == ERROR_MOD_NOT_FOUND)
        return ": a DLL it imports is missing; link the compiler's runtime statically (mingw-w64: -static-libgcc, "
               "and -static for C++; MSVC: /MT)";
    if (failure.Step == LoadStep::Module)
        return ": build it as a 32-bit DLL (mingw-w64: i686-w64-mingw32-gcc -shared; MSVC: x86 tools, /LD)";
    return ""; // the machine step's words say it
}

bool Cycle::Run()
{
    host_.NewCycle();
    if (!Load())
        return false;
    bool exports = Exports();
    if (exports && setup_.First)
        DecoratedNames();
    if (!exports || !InfoByte() || !Initialize()) {
        Stage = "unload";
        FreeLibrary(plugin_.Module);
        return false;
    }
    if (!slots_.PanelCreate) {
        Out.Line(Verdict::Fail, "callbacks", "no PanelCreate, so a host cannot make a panel: set the PanelCreate "
                                             "slot in WPN_Initialize");
        Unload();
        return false;
    }
    Create();
    Ticks();
    ContextMenu();
    Destroy();
    Resources();
    Services();
    Out.Line(recordChange_.empty() ? Verdict::Pass : Verdict::Fail, "host record", "%s",
             recordChange_.empty() ? "148 bytes at an odd address, unchanged after every callback"
                                   : recordChange_.c_str());
    Out.Line(lateWrite_.empty() ? Verdict::Pass : Verdict::Fail, "callbacks record", "%s",
             lateWrite_.empty() ? "unchanged after WPN_Initialize returned"
                                : (lateWrite_ + " after WPN_Initialize had returned, when a host may have freed or "
                                                "reused it: write the slots only inside WPN_Initialize and keep no "
                                                "pointer to the record")
                                      .c_str());
    Unload();
    LateUse();
    return true;
}

bool Cycle::Load()
{
    Stage = "load";
    const wchar_t *path = setup_.PluginPath.c_str();
    LoadFailure failure = MachineStep(path);
    if (!failure)
        failure = ModuleStep(path, &plugin_.Module);
    if (!failure) {
        Out.Line(Verdict::Pass, "load", "%s", Narrow(setup_.PluginPath).c_str());
        return true;
    }
    Out.Line(Verdict::Fail, "load", "%s: %s%s", Narrow(setup_.PluginPath).c_str(), DescribeLoadFailure(failure).Text,
             LoadFix(failure));
    return false;
}

bool Cycle::Exports()
{
    LoadFailure failure = ExportsStep(plugin_.Module, &plugin_.Info, &plugin_.Initialize);
    if (!failure) {
        Out.Line(Verdict::Pass, "exports", WPN_EXPORT_INFO ", " WPN_EXPORT_INITIALIZE);
        return true;
    }
    Out.Line(Verdict::Fail, "exports",
             "%s: name both exports in a .def file given to the linker (in C++ also declare them extern \"C\")",
             DescribeLoadFailure(failure).Text);
    return false;
}

// Hosts bind only the plain names; the decorated ones are a courtesy to
// hosts that link by the stdcall names, so their absence is only a warning.
void Cycle::DecoratedNames()
{
    struct Name {
        const char *Plain, *Decorated;
    } names[] = {{WPN_EXPORT_INFO, "_WPN_GetPluginInfo@0"}, {WPN_EXPORT_INITIALIZE, "_WPN_Initialize@4"}};
    std::string missing, elsewhere;
    for (const Name &n : names) {
        FARPROC plain = GetProcAddress(plugin_.Module, n.Plain);
        FARPROC decorated = GetProcAddress(plugin_.Module, n.Decorated);
        if (!decorated)
            missing += std::string(missing.empty() ? "" : ", ") + n.Decorated;
        else if (plain && decorated != plain)
            elsewhere += std::string(elsewhere.empty() ? "" : ", ") + n.Decorated;
    }
    if (!missing.empty())
        Out.Line(Verdict::Warn, "decorated names", "%s not exported (hosts need only the plain names)",
                 missing.c_str());
    else if (!elsewhere.empty())
        Out.Line(Verdict::Warn, "decorated names", "%s not at the entry of the plain name", elsewhere.c_str());
    else
        Out.Line(Verdict::Pass, "decorated names", "_WPN_GetPluginInfo@0, _WPN_Initialize@4 at the same entries");
}

bool Cycle::InfoByte()
{
    Stage = "WPN_GetPluginInfo";
    plugin_.InfoValue = Stack.Call("WPN_GetPluginInfo", (const void *)plugin_.Info, {});
    LoadFailure failure = InfoStep(plugin_.InfoValue);
    if (!failure) {
        Out.Line(Verdict::Pass, "info byte", "0x%04lX has low byte 0x01", (unsigned long)plugin_.InfoValue);
        return true;
    }
    Out.Line(Verdict::Fail, "info byte", "%s: return a value whose low byte is 1 from WPN_GetPluginInfo",
             DescribeLoadFailure(failure).Text);
    return false;
}

bool Cycle::Initialize()
{
    Stage = "WPN_Initialize";
    CallbackRecord &record = callbackRecord_;
    // Not PrepareCallbacks: the record's reserved bytes carry the pattern.
    LoadFailure failure =
        InitialiseStep((int32_t)Stack.Call("WPN_Initialize", (const void *)plugin_.Initialize, {U32(record.Get())}));
    record.Seal();
    if (failure) {
        Out.Line(Verdict::Fail, "initialize result",
                 "%s: return 0 once the slots are written (any other result makes a host unload the plug-in)",
                 DescribeLoadFailure(failure).Text);
        return false;
    }
    Out.Line(Verdict::Pass, "initialize result", "0");

    const PanelCallbacks *r = record.Get();
    const void *slots[] = {(const void *)r->PanelCreate, (const void *)r->PanelDestroy, (const void *)r->PanelTick,
                           (const void *)r->PanelContextMenu, (const void *)r->PanelFilter};
    std::string offered, wild;
    for (int i = 0; i < 5; ++i) {
        if (!slots[i])
            continue;
        offered += std::string(offered.empty() ? "" : ", ") + SlotNames[i];
        if (!InModule(slots[i], plugin_.Module))
            wild += std::string(wild.empty() ? "" : ", ") + SlotNames[i];
    }
    std::string stray = record.StrayWrite();
    if (!stray.empty())
        Out.Line(Verdict::Fail, "initialize writes",
                 "WPN_Initialize %s: write only the five slots through struct PanelCallbacks, and never memset, "
                 "copy or size the record yourself",
                 stray.c_str());
    else if (!wild.empty())
        Out.Line(Verdict::Fail, "initialize writes",
                 "%s outside the plug-in's own code: point each slot at a function of your own module",
                 wild.c_str());
    else
        Out.Line(Verdict::Pass, "initialize writes", "only callback slots: %s",
                 offered.empty() ? "none" : offered.c_str());
    if (!stray.empty() || !wild.empty())
        return false;
    slots_.PanelCreate = r->PanelCreate;
    slots_.PanelDestroy = r->PanelDestroy;
    slots_.PanelTick = r->PanelTick;
    slots_.PanelContextMenu = r->PanelContextMenu;
    slots_.PanelFilter = r->PanelFilter;
    return true;
}

void Cycle::AfterCallback(const char *name)
{
    ++callbacks_;
    std::string late = callbackRecord_.LateWrite();
    if (!late.empty() && lateWrite_.empty())
        lateWrite_ = std::string(name) + " wrote " + late + " of the callbacks record";
    std::string change = host_.RecordChange();
    if (change.empty())
        return;
    if (recordChange_.empty())
        recordChange_ = std::string(name) + " wrote the host record: " + change +
                        ": treat HostServices as read-only, and keep only its address";
    host_.RestoreRecord();
}

void Cycle::Create()
{
    WarmUpHost(setup_.Parent);
    PumpFor(50);
    gdiBefore_ = CountGdiObjects();
    windowsBefore_ = CountThreadWindows();
    Stage = "PanelCreate";
    panel_ = (HWND)(uintptr_t)Stack.Call("PanelCreate", (const void *)slots_.PanelCreate,
                                         {U32(host_.Record()), U32(setup_.Parent)});
    AfterCallback("PanelCreate");
    FirstPanel &first = *setup_.Panel;
    if (!panel_ && !setup_.First && first.Made) {
        std::string cause = first.ClassLeft ? ": its window class \"" + first.Class +
                                                  "\" was still registered from the first load (unregister it in "
                                                  "PanelDestroy)"
                                            : " (the usual cause: a window class left registered, so that "
                                              "registering it again fails; unregister it in PanelDestroy)";
        Out.Line(Verdict::Fail, "create", "PanelCreate returned null, though it made a panel in the first cycle%s",
                 cause.c_str());
        return;
    }
    if (!panel_) {
        Out.Line(Verdict::Warn, "create", "PanelCreate returned null (allowed: the host then shows no panel)");
        return;
    }
    if (setup_.First)
        RememberPanel();
    bool child = IsWindow(panel_) && GetParent(panel_) == setup_.Parent &&
                 (GetWindowLongW(panel_, GWL_STYLE) & WS_CHILD);
    if (child)
        Out.Line(Verdict::Pass, "create", "PanelCreate returned a child window of the parent");
    else if (!IsWindow(panel_))
        Out.Line(Verdict::Fail, "create",
                 "PanelCreate returned 0x%08lX, which is not a window: return the handle CreateWindowEx gave, or "
                 "null for no panel",
                 (unsigned long)U32(panel_));
    else if (!(GetWindowLongW(panel_, GWL_STYLE) & WS_CHILD))
        Out.Line(Verdict::Fail, "create",
                 "PanelCreate returned a window that is not a child of the parent (its style lacks WS_CHILD): "
                 "create it with WS_CHILD and the parent window PanelCreate was given");
    else
        Out.Line(Verdict::Fail, "create",
                 "PanelCreate returned a child of another window than the parent: create it with the parent "
                 "window PanelCreate was given");
}

void Cycle::RememberPanel()
{
    FirstPanel &first = *setup_.Panel;
    first.Made = true;
    char name[256];
    if ((HMODULE)GetClassLongPtrA(panel_, GCLP_HMODULE) == plugin_.Module && GetClassNameA(panel_, name, sizeof name)) {
        first.Class = name;
        first.Owner = plugin_.Module;
    }
}

void Cycle::Ticks()
{
    Stage = "PanelTick";
    if (!panel_) {
        Out.Line(Verdict::Skip, "ticks", "no panel to tick");
        return;
    }
    if (!slots_.PanelTick) {
        Out.Line(Verdict::Pass, "ticks", "no PanelTick slot: the host sends no ticks");
        return;
    }
    enum { TICKS = 5 };
    for (int i = 0; i < TICKS; ++i) {
        Stack.Call("PanelTick", (const void *)slots_.PanelTick, {U32(host_.Record()), U32(panel_)});
        AfterCallback("PanelTick");
        PumpFor(60); // paints and the plug-in's own timers run in between
    }
    if (IsWindow(panel_))
        Out.Line(Verdict::Pass, "ticks", "%d PanelTick calls with messages pumped between; the panel lives", TICKS);
    else
        Out.Line(Verdict::Fail, "ticks", "the panel window was gone after the ticks: destroy it only in "
                                         "PanelDestroy, and handle every message it gets");
}

void Cycle::ContextMenu()
{
    Stage = "PanelContextMenu";
    if (!slots_.PanelContextMenu) {
        Out.Line(Verdict::Pass, "context menu", "not offered");
        return;
    }
    if (!panel_) {
        Out.Line(Verdict::Skip, "context menu", "no panel to own a menu");
        return;
    }
    bool menu, dialog;
    {
        MenuCloser closer;
        Stack.Call("PanelContextMenu", (const void *)slots_.PanelContextMenu,
                   {U32(host_.Record()), U32(panel_), 0, 0});
        menu = closer.SawMenu();
        dialog = closer.SawDialog();
    }
    AfterCallback("PanelContextMenu");
    PumpFor(50);
    if (!IsWindow(panel_))
        Out.Line(Verdict::Fail, "context menu", "the panel window was gone after PanelContextMenu: destroy it "
                                                "only in PanelDestroy");
    else
        Out.Line(Verdict::Pass, "context menu", "PanelContextMenu returned%s%s", menu ? " after its menu was closed" : " without showing a menu",
                 dialog ? " (a dialog box it opened was cancelled)" : "");
}

void Cycle::Destroy()
{
    Stage = "PanelDestroy";
    if (!slots_.PanelDestroy) {
        Out.Line(panel_ ? Verdict::Fail : Verdict::Pass, "destroy", "no PanelDestroy slot%s",
                 panel_ ? ", so nothing releases the panel window: set the PanelDestroy slot in WPN_Initialize "
                          "and destroy the window there"
                        : " (and no panel)");
    } else {
        Stack.Call("PanelDestroy", (const void *)slots_.PanelDestroy, {U32(host_.Record()), U32(panel_)});
        AfterCallback("PanelDestroy");
        if (panel_ && IsWindow(panel_))
            Out.Line(Verdict::Fail, "destroy", "PanelDestroy returned and the panel window still exists: call "
                                               "DestroyWindow on it in PanelDestroy");
        else
            Out.Line(Verdict::Pass, "destroy", "%s", panel_ ? "PanelDestroy destroyed the panel window"
                                                            : "PanelDestroy returned after a null PanelCreate");
    }
    // Leftovers must go before the module does: their window procedure lives there.
    if (panel_ && IsWindow(panel_))
        DestroyWindow(panel_);
    // Anything the plug-in asks of the host from here on is late: its
    // record is gone in a real host. Timers it left running show now.
    const ServiceLog &log = host_.Log();
    destroyed_ = true;
    lateCalls_ = log.Calls.size();
    lateAllocs_ = log.Allocs;
    lateFrees_ = log.Frees;
    lateOthers_ = log.Others;
    Stage = "messages after PanelDestroy";
    PumpFor(LateUseMs);
    AfterCallback("a message after PanelDestroy");
}

// Services called after PanelDestroy returned: from a timer or window left
// behind, or from DllMain at unload.
void Cycle::LateUse()
{
    if (!destroyed_)
        return;
    const ServiceLog &log = host_.Log();
    std::string calls;
    for (size_t i = lateCalls_; i < log.Calls.size(); ++i) {
        const ServiceCode *row = FindServiceCode(log.Calls[i].Code);
        calls += (calls.empty() ? "Request " : ", ") +
                 (row ? std::string(row->Name) : "code " + std::to_string(log.Calls[i].Code));
    }
    char counts[120] = "";
    const int allocs = log.Allocs - lateAllocs_, frees = log.Frees - lateFrees_, others = log.Others - lateOthers_;
    snprintf(counts, sizeof counts, "%s%s%d Alloc, %d Free, %d ShowMessage or Reserved", calls.c_str(),
             calls.empty() ? "" : "; ", allocs, frees, others);
    if (calls.empty() && !allocs && !frees && !others)
        Out.Line(Verdict::Pass, "after destroy", "no service called in the %lu ms after PanelDestroy returned, nor "
                                                 "at unload",
                 (unsigned long)LateUseMs);
    else
        Out.Line(Verdict::Fail, "after destroy",
                 "%s after PanelDestroy had returned, through a host record that is gone by then: kill your "
                 "timers and destroy your windows in PanelDestroy, and forget the record's address there",
                 counts);
}

void Cycle::Resources()
{
    if (!setup_.Counts)
        return;
    ResourceCounts &c = *setup_.Counts;
    c.Measured = true;
    c.GdiBefore = gdiBefore_;
    c.GdiAfter = CountGdiObjects();
    c.WindowsBefore = windowsBefore_;
    c.WindowsAfter = CountThreadWindows();
}

void Cycle::Services()
{
    std::string calls;
    const ServiceLog &log = host_.Log();
    for (const ServiceCall &c : log.Calls) {
        char one[64];
        const ServiceCode *row = FindServiceCode(c.Code);
        // A value that is an output address is not worth printing.
        if (row && row->ValueIsPointer)
            snprintf(one, sizeof one, "%s", row->Name);
        else if (row)
            snprintf(one, sizeof one, "%s(%lu)", row->Name, (unsigned long)c.Value);
        else
            snprintf(one, sizeof one, "code %lu", (unsigned long)c.Code);
        calls += (calls.empty() ? "" : ", ") + std::string(one);
    }
    std::vector<uint32_t> nulls;
    for (const ServiceCall &c : log.Calls) {
        if (!c.NullPointer || std::find(nulls.begin(), nulls.end(), c.Code) != nulls.end())
            continue;
        nulls.push_back(c.Code);
        const ServiceCode *row = FindServiceCode(c.Code);
        const bool value = row->ValueIsPointer && !c.Value;
        Out.Line(Verdict::Fail, "services",
                 "Request(%s) with a null %s, which a host %s through: pass the address of a variable of the "
                 "code's type (WRITING-A-PANEL.md, \"Request\")",
                 row->Name, value ? "value" : "out", row->OutIsPointer && !value ? "reads or writes" : "writes");
    }
    if (log.WrongThread)
        Out.Line(Verdict::Fail, "services", "called from a thread other than the host's: call the host only from "
                                            "callbacks and your window procedure, never from a thread of your own");
    else if (nulls.empty())
        Out.Line(Verdict::Pass, "services", "Request %s; Alloc x%d, Free x%d, others x%d; all on the host's thread",
                 calls.empty() ? "never" : calls.c_str(), log.Allocs, log.Frees, log.Others);

    int handedOut = (int)log.HandedOut.size();
    bool clean = !host_.Outstanding() && !log.DoubleFrees && !log.ForeignFrees;
    if (clean) {
        Out.Line(Verdict::Pass, "texts", "%d handed out, each given back through Free exactly once", handedOut);
        return;
    }
    if (host_.Outstanding())
        Out.Line(Verdict::Fail, "texts", "%d of %d handed out never given back through Free: give each text back "
                                         "with Free once you have copied what you need",
                 host_.Outstanding(), handedOut);
    if (log.DoubleFrees)
        Out.Line(Verdict::Fail, "texts", "Free called %d time(s) with a block already given back: Free each "
                                         "block once, and forget its address after",
                 log.DoubleFrees);
    if (log.ForeignFrees)
        Out.Line(Verdict::Fail, "texts", "Free called %d time(s) with a block this host never handed out: Free "
                                         "only what Request or Alloc handed out, never your own memory or null",
                 log.ForeignFrees);
}

void Cycle::Unload()
{
    Stage = "unload";
    HMODULE module = plugin_.Module;
    BOOL freed = FreeLibrary(module);
    DWORD error = GetLastError();
    plugin_.Module = nullptr;
    // A class outlives the module that registered it; its procedure does not.
    FirstPanel &first = *setup_.Panel;
    WNDCLASSA left;
    if (setup_.First && !first.Class.empty())
        first.ClassLeft = GetClassInfoA(first.Owner, first.Class.c_str(), &left) != 0;
    if (!freed)
        Out.Line(Verdict::Fail, "unload", "FreeLibrary failed (error %lu): return TRUE from DllMain on "
                                          "DLL_PROCESS_DETACH",
                 (unsigned long)error);
    else if (StillMapped(module))
        Out.Line(Verdict::Warn, "unload", "the module stays mapped after FreeLibrary (it holds a reference to itself)");
    else
        Out.Line(Verdict::Pass, "unload", "FreeLibrary released the module");
}

} // namespace

bool RunCycle(InstrumentedHost &host, const CycleSetup &setup)
{
    return Cycle(host, setup).Run();
}

