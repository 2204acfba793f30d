/* The checker's side of the contract: a host record at an odd address with
 * guard bytes around it, services that answer like an ordinary host and
 * remember every call, and the bookkeeping of the blocks they hand out.
 *
 * Blocks given back are kept, not freed, until the end of the run, so an
 * address can never be handed out twice and a second Free of it is always
 * recognised as such. */
#pragma once
#include "WpnContract.h"

#include <string>
#include <vector>

struct ServiceCall {
    uint32_t Code;
    uintptr_t Value;
    uint32_t Result;
};

class CheckHost {
public:
    /* Folders end with a backslash; the settings folder ends in "setting\". */
    CheckHost(const std::string &hostFolder, const std::string &settingsFolder,
              const std::string &otherFolder);
    ~CheckHost();
    CheckHost(const CheckHost &) = delete;
    CheckHost &operator=(const CheckHost &) = delete;

    HostServices *Record() const { return record_; }

    /* Call after every callback: the first change, described, or "". */
    std::string RecordChange() const;
    /* Puts the record and its guards back as they were, so that a plug-in
     * that wrote over a service can still be driven to the end. */
    void RestoreRecord();

    /* Forgets the calls and blocks of the previous cycle. */
    void NewCycle();

    const std::vector<ServiceCall> &Requests() const { return requests_; }
    int Frees() const { return frees_; }
    int Allocs() const { return allocs_; }
    int OtherCalls() const { return others_; }
    int HandedOut() const { return handedOut_; }
    int Outstanding() const { return (int)live_.size(); }
    int DoubleFrees() const { return doubleFrees_; }
    int ForeignFrees() const { return foreignFrees_; }
    bool WrongThread() const { return wrongThread_; }

private:
    static uint32_t WPN_CALL Request(uint32_t code, uintptr_t value, uintptr_t out);
    static uint32_t WPN_CALL Reserved(uint32_t, uint32_t, uint32_t);
    static void *WPN_CALL Alloc(uint32_t size);
    static uint32_t WPN_CALL Free(void *block);
    static int32_t WPN_CALL ShowMessage(const char *text, uint32_t type);

    void NoteThread();
    char *HandOut(const std::string &text);
    const std::string *Folder(uintptr_t value) const;

    static CheckHost *current_;
    enum { GUARD = 16 };
    unsigned char *bytes_;           // guard, one pad byte, record, guard
    HostServices *record_;
    std::vector<unsigned char> pristine_;
    std::string hostFolder_, settingsFolder_, otherFolder_;
    DWORD thread_;
    std::vector<ServiceCall> requests_;
    std::vector<void *> live_, earlier_, returned_; // earlier_: live at the cycle's start
    int frees_ = 0, allocs_ = 0, others_ = 0, handedOut_ = 0;
    int doubleFrees_ = 0, foreignFrees_ = 0;
    bool wrongThread_ = false;
};
