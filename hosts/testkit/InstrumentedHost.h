/* The host's side of the contract for wpncheck and the tests: a host record
 * at an odd address with guard bytes around it, services that answer like an
 * ordinary host and log every call, and the bookkeeping of the blocks they
 * hand out. Request serves SVC_VERSION and the SVC_FOLDER kinds given a
 * folder, and answers every other code with SVC_UNKNOWN. A null pointer
 * where a code reads or writes through value or out is logged, answered
 * SVC_NONE and never followed.
 *
 * Blocks given back are kept, not freed, until the host goes, so an address
 * is never handed out twice and a second Free of it is always recognised as
 * such. A long run would see the host's memory grow by one block and a few
 * log entries per call; TakeRoom takes that room beforehand. One host serves
 * at a time: the last one made. */
#pragma once
#include "WpnContract.h"

#include <map>
#include <string>
#include <vector>

struct ServiceCall {
    uint32_t Code;
    uintptr_t Value;
    uint32_t Result;
    bool NullPointer; // a null where the code reads or writes through value or out
};

/* What the plug-in asked of the host since it was made or since NewCycle. */
struct ServiceLog {
    int Requests = 0;
    std::vector<ServiceCall> Calls; // every Request, in order
    int Frees = 0;
    int Allocs = 0;
    int Others = 0;                 // Reserved, ShowMessage
    std::vector<void *> HandedOut;  // texts and Alloc blocks, in order
    std::vector<void *> Freed;      // every block given to Free, in order
    int DoubleFrees = 0;            // Free of a block already given back
    int ForeignFrees = 0;           // Free of a block this host never handed out
    bool WrongThread = false;       // a service called off the host's thread
};

class InstrumentedHost {
public:
    InstrumentedHost();
    ~InstrumentedHost();
    InstrumentedHost(const InstrumentedHost &) = delete;
    InstrumentedHost &operator=(const InstrumentedHost &) = delete;

    HostServices *Record() const { return record_; }

    /* What SVC_FOLDER answers for this kind (SVC_FOLDER_SETTINGS and the
     * others): the text, or SVC_NONE when cleared or never set. Folders end
     * with a backslash; the settings folder ends in "setting\". */
    void SetFolder(uintptr_t kind, const std::string &folder) { folders_[kind] = folder; }
    void ClearFolder(uintptr_t kind) { folders_.erase(kind); }

    /* Call after every callback: the first change, described, or "". */
    std::string RecordChange() const;
    /* Puts the record and its guards back as they were, so that a plug-in
     * that wrote over a service can still be driven to the end. */
    void RestoreRecord();

    /* Forgets the calls of the previous cycle; its blocks still out may
     * still be given back, without blame. */
    void NewCycle();

    /* Takes now the memory that `calls` more Requests and Frees will keep:
     * the log's room and a block of `blockBytes` for each, handed out in
     * their place by the calls that fit in one. So a soak run measures the
     * plug-in, not this host's bookkeeping. */
    void TakeRoom(size_t calls, size_t blockBytes);

    ServiceLog &Log() { return log_; }
    const ServiceLog &Log() const { return log_; }
    /* Blocks handed out this cycle and not given back. */
    int Outstanding() const { return (int)live_.size(); }

private:
    static uint32_t WPN_CALL Request(uint32_t code, uintptr_t value, uintptr_t out);
    static uint32_t WPN_CALL Reserved(uint32_t, uint32_t, uint32_t);
    static void *WPN_CALL Alloc(uint32_t size);
    static uint32_t WPN_CALL Free(void *block);
    static int32_t WPN_CALL ShowMessage(const char *text, uint32_t type);

    void NoteThread();
    void *HandOut(size_t size);

    static InstrumentedHost *current_;
    enum { GUARD = 16 };
    unsigned char *bytes_; // guard, one pad byte, record, guard
    HostServices *record_;
    std::vector<unsigned char> pristine_;
    std::map<uintptr_t, std::string> folders_;
    DWORD thread_;
    ServiceLog log_;
    std::vector<void *> live_, earlier_, returned_; // earlier_: live at the cycle's start
    std::vector<void *> spare_;                       // taken by TakeRoom, never handed out yet
    size_t spareBytes_ = 0;
};
