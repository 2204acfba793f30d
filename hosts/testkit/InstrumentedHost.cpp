/* Instrumented host services. Free accepts only blocks that this host handed
 * out and not yet taken back, and counts the rest instead of freeing them. */
#include "InstrumentedHost.h"

#include "ServiceCodes.h"
#include "PanelLoader.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <initializer_list>

InstrumentedHost *InstrumentedHost::current_;

static const unsigned char GuardByte = 0xC3;

InstrumentedHost::InstrumentedHost() : thread_(GetCurrentThreadId())
{
    current_ = this;
    size_t total = GUARD + 1 + sizeof(HostServices) + GUARD;
    bytes_ = (unsigned char *)malloc(total);
    memset(bytes_, GuardByte, total);
    // malloc gives an aligned block: one pad byte puts the record at an odd address.
    record_ = (HostServices *)(bytes_ + GUARD + 1);
    FillHostServices(record_, Request, Reserved, Alloc, Free, ShowMessage);
    pristine_.assign(bytes_, bytes_ + total);
}

InstrumentedHost::~InstrumentedHost()
{
    for (void *block : live_)
        free(block);
    for (void *block : earlier_)
        free(block);
    for (void *block : returned_)
        free(block);
    for (void *block : spare_)
        free(block);
    free(bytes_);
    if (current_ == this)
        current_ = nullptr;
}

std::string InstrumentedHost::RecordChange() const
{
    for (size_t i = 0; i < pristine_.size(); ++i) {
        if (bytes_[i] == pristine_[i])
            continue;
        char text[160];
        long offset = (long)i - (GUARD + 1);
        if (offset < 0)
            snprintf(text, sizeof text, "byte %ld before the record was written", -offset);
        else if (offset >= (long)sizeof(HostServices))
            snprintf(text, sizeof text, "byte %ld after the record was written",
                     offset - (long)sizeof(HostServices) + 1);
        else
            snprintf(text, sizeof text, "byte at offset %ld changed from 0x%02X to 0x%02X", offset,
                     pristine_[i], bytes_[i]);
        return text;
    }
    return "";
}

void InstrumentedHost::RestoreRecord()
{
    memcpy(bytes_, pristine_.data(), pristine_.size());
}

void InstrumentedHost::NewCycle()
{
    log_ = ServiceLog();
    // Blocks still live from the previous cycle were reported then; a late
    // Free of one of them is accepted without blame.
    earlier_.insert(earlier_.end(), live_.begin(), live_.end());
    live_.clear();
}

void InstrumentedHost::TakeRoom(size_t calls, size_t blockBytes)
{
    for (auto *list : {&live_, &returned_, &log_.HandedOut, &log_.Freed})
        list->reserve(list->size() + calls);
    log_.Calls.reserve(log_.Calls.size() + calls);
    spareBytes_ = blockBytes;
    spare_.reserve(spare_.size() + calls);
    for (size_t i = 0; i < calls; ++i)
        spare_.push_back(malloc(blockBytes ? blockBytes : 1));
}

void InstrumentedHost::NoteThread()
{
    if (GetCurrentThreadId() != thread_)
        log_.WrongThread = true;
}

void *InstrumentedHost::HandOut(size_t size)
{
    void *block;
    if (!spare_.empty() && size <= spareBytes_) {
        block = spare_.back();
        spare_.pop_back();
    } else {
        block = malloc(size ? size : 1);
    }
    live_.push_back(block);
    log_.HandedOut.push_back(block);
    return block;
}

uint32_t WPN_CALL InstrumentedHost::Request(uint32_t code, uintptr_t value, uintptr_t out)
{
    InstrumentedHost *self = current_;
    self->NoteThread();
    ++self->log_.Requests;
    uint32_t result = SVC_UNKNOWN;
    const ServiceCode *row = FindServiceCode(code);
    const bool nullPointer = row && ((row->ValueIsPointer && !value) || (row->OutIsPointer && !out));
    if (nullPointer) {
        result = SVC_NONE;
    } else if (code == SVC_VERSION) {
        *(uint32_t *)value = 200;
        result = SVC_OK;
    } else if (code == SVC_FOLDER) {
        auto folder = self->folders_.find(value);
        result = SVC_NONE;
        if (folder != self->folders_.end()) {
            const std::string &text = folder->second;
            char *copy = (char *)self->HandOut(text.size() + 1);
            memcpy(copy, text.c_str(), text.size() + 1);
            *(char **)out = copy;
            result = SVC_OK;
        }
    }
    self->log_.Calls.push_back({code, value, result, nullPointer});
    return result;
}

uint32_t WPN_CALL InstrumentedHost::Reserved(uint32_t, uint32_t, uint32_t)
{
    current_->NoteThread();
    ++current_->log_.Others;
    return 0;
}

void *WPN_CALL InstrumentedHost::Alloc(uint32_t size)
{
    InstrumentedHost *self = current_;
    self->NoteThread();
    ++self->log_.Allocs;
    return self->HandOut(size);
}

uint32_t WPN_CALL InstrumentedHost::Free(void *block)
{
    InstrumentedHost *self = current_;
    self->NoteThread();
    ++self->log_.Frees;
    self->log_.Freed.push_back(block);
    for (std::vector<void *> *list : {&self->live_, &self->earlier_}) {
        auto found = std::find(list->begin(), list->end(), block);
        if (found != list->end()) {
            list->erase(found);
            self->returned_.push_back(block);
            return 1;
        }
    }
    if (std::find(self->returned_.begin(), self->returned_.end(), block) != self->returned_.end()) {
        ++self->log_.DoubleFrees;
    } else {
        ++self->log_.ForeignFrees;
    }
    return 1;
}

int32_t WPN_CALL InstrumentedHost::ShowMessage(const char *, uint32_t)
{
    // Tests and the checker run unattended: the message is counted, not shown.
    current_->NoteThread();
    ++current_->log_.Others;
    return IDOK;
}
