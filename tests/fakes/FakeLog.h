/* What the fake panel plug-ins record, in a named file mapping of the test
 * process so that the record outlives each load and unload of a fake. The
 * test creates the mapping; a fake opens it by the same name. */
#pragma once
#include <windows.h>
#include <stdint.h>

/* The services the well-behaved fake calls from inside PanelCreate, with
 * what it got back. Texts are copied before they are given back. */
struct FakeServiceTrace {
    uint32_t Version, VersionResult;
    uint32_t Count, CountResult;
    uint32_t Value, ValueResult;     // SVC_ITEM_VALUE, index 0
    uint32_t ValueB, ValueBResult;   // SVC_ITEM_VALUE_B, index 1
    uint32_t SetTextResult;          // SVC_ITEM_SET_TEXT, index 0
    uint32_t OpenResult;             // SVC_OPEN, flags 7
    uint32_t OpAResult, OpBResult;   // SVC_ITEM_OP_A index 0, SVC_ITEM_OP_B index 1
    char TextA[64];
    uint32_t TextAResult, TextAFree; // SVC_ITEM_TEXT_A, index 0
    char TextB[64];
    uint32_t TextBResult, TextBFree; // SVC_ITEM_TEXT_B, index 1
    uint32_t Current, CurrentResult; // SVC_CURRENT_INDEX
    uint32_t OpenIndex, OpenIndexResult;
    char Folder[3][300];
    uint32_t FolderResult[3], FolderFree[3];
    uint32_t UnknownResult;          // code 12
    uint32_t ReservedResult;
    uint32_t AllocOk, AllocFree;
    int32_t MessageResult;
};

struct FakeLog {
    LONG InfoCalls, InitCalls, CreateCalls, DestroyCalls, TickCalls, FilterCalls;
    LONG TickDepth, MaxTickDepth;    // PanelTick calls under way, and the most at once
    LONG BoxesShown, BoxesReturned;  // the modal fakes' message boxes, opened and returned from
    LONG Unloads;                    // times the fake module was unloaded
    uintptr_t CallbacksAddress;      // WPN_Initialize's argument
    uint32_t CallbacksSizeSeen;      // its StructSize on entry
    uintptr_t CreateHost, DestroyHost, TickHost;
    HWND CreateParent, Panel, DestroyWindowArg, TickWindow;
    HWND Child;                      // FAKE_CHILD_BOX's control inside its panel
    uint32_t HostSizeSeen;           // the host record's StructSize in PanelCreate
    uint32_t HostReservedNonZero;    // non-zero bytes among its reserved 124
    uint32_t LastFilterValue;
    FakeServiceTrace Services;
};

/* The value PanelFilter of the well-behaved fake consumes. */
enum { FAKE_FILTER_CONSUMED = 42 };
/* The text the well-behaved fake hands to item 0's view. */
#define FAKE_SET_TEXT "set by the fake"
#define FAKE_OPEN_TEXT "opened by the fake"
#define FAKE_MESSAGE "\x83\x65\x83\x58\x83\x67" /* "テスト" in cp932 */

inline void FakeLogName(wchar_t (&name)[64])
{
    wsprintfW(name, L"TuftFakeLog-%lu", GetCurrentProcessId());
}

/* Inside a fake plug-in: the test's record, mapped on first use and
 * unmapped when the module goes. */
class FakeLogMapping {
public:
    ~FakeLogMapping()
    {
        if (log_) {
            ++log_->Unloads; // a module's statics go when it unloads
            UnmapViewOfFile(log_);
            log_ = nullptr;
        }
        if (mapping_) {
            CloseHandle(mapping_);
            mapping_ = nullptr;
        }
    }
    FakeLog *Get()
    {
        if (!log_) {
            wchar_t name[64];
            FakeLogName(name);
            mapping_ = OpenFileMappingW(FILE_MAP_ALL_ACCESS, FALSE, name);
            if (mapping_)
                log_ = (FakeLog *)MapViewOfFile(mapping_, FILE_MAP_ALL_ACCESS, 0, 0, sizeof(FakeLog));
        }
        static FakeLog scratch; // no test listening: record nowhere in particular
        return log_ ? log_ : &scratch;
    }

private:
    HANDLE mapping_ = nullptr;
    FakeLog *log_ = nullptr;
};
