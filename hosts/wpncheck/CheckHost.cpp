/* Instrumented host services. Request serves SVC_VERSION and SVC_FOLDER the
 * way a host of the older kind does and answers every other code with
 * SVC_UNKNOWN; Free accepts only blocks that this host handed out and not yet
 * taken back, and counts the rest instead of freeing them. */
#include "CheckHost.h"

#include "WpnLoader.h"

#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <algorithm>
#include <initializer_list>

CheckHost *CheckHost::current_;

static const unsigned char GuardByte = 0xC3;

CheckHost::CheckHost(const std::string &hostFolder, const std::string &settingsFolder,
                     const std::string &otherFolder)
    : hostFolder_(hostFolder), settingsFolder_(settingsFolder), otherFolder_(otherFolder),
      thread_(GetCurrentThreadId())
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

CheckHost::~CheckHost()
{
    for (void *block : live_)
        free(block);
    for (void *block : earlier_)
        free(block);
    for (void *block : returned_)
        free(block);
    free(bytes_);
    current_ = nullptr;
}

std::string CheckHost::RecordChange() const
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

void CheckHost::RestoreRecord()
{
    memcpy(bytes_, pristine_.data(), pristine_.size());
}

void CheckHost::NewCycle()
{
    requests_.clear();
    frees_ = allocs_ = others_ = handedOut_ = doubleFrees_ = foreignFrees_ = 0;
    wrongThread_ = false;
    // Blocks still live from the previous cycle were reported then; a late
    // Free of one of them is accepted without blame.
    earlier_.insert(earlier_.end(), live_.begin(), live_.end());
    live_.clear();
}

void CheckHost::NoteThread()
{
    if (GetCurrentThreadId() != thread_)
        wrongThread_ = true;
}

char *CheckHost::HandOut(const std::string &text)
{
    char *copy = (char *)malloc(text.size() + 1);
    memcpy(copy, text.c_str(), text.size() + 1);
    live_.push_back(copy);
    ++handedOut_;
    return copy;
}

const std::string *CheckHost::Folder(uintptr_t value) const
{
    switch (value) {
    case SVC_FOLDER_HOST_A: return &hostFolder_;
    case SVC_FOLDER_SETTINGS: return &settingsFolder_;
    case SVC_FOLDER_HOST_B: return &otherFolder_;
    }
    return nullptr;
}

uint32_t WPN_CALL CheckHost::Request(uint32_t code, uintptr_t value, uintptr_t out)
{
    CheckHost *self = current_;
    self->NoteThread();
    uint32_t result = SVC_UNKNOWN;
    if (code == SVC_VERSION) {
        *(uint32_t *)value = 200;
        result = SVC_OK;
    } else if (code == SVC_FOLDER) {
        const std::string *folder = self->Folder(value);
        result = SVC_NONE;
        if (folder && !folder->empty()) {
            *(char **)out = self->HandOut(*folder);
            result = SVC_OK;
        }
    }
    self->requests_.push_back({code, value, result});
    return result;
}

uint32_t WPN_CALL CheckHost::Reserved(uint32_t, uint32_t, uint32_t)
{
    current_->NoteThread();
    ++current_->others_;
    return 0;
}

void *WPN_CALL CheckHost::Alloc(uint32_t size)
{
    CheckHost *self = current_;
    self->NoteThread();
    ++self->allocs_;
    void *block = malloc(size ? size : 1);
    self->live_.push_back(block);
    ++self->handedOut_;
    return block;
}

uint32_t WPN_CALL CheckHost::Free(void *block)
{
    CheckHost *self = current_;
    self->NoteThread();
    ++self->frees_;
    for (std::vector<void *> *list : {&self->live_, &self->earlier_}) {
        auto found = std::find(list->begin(), list->end(), block);
        if (found != list->end()) {
            list->erase(found);
            self->returned_.push_back(block);
            return 1;
        }
    }
    if (std::find(self->returned_.begin(), self->returned_.end(), block) != self->returned_.end()) {
        ++self->doubleFrees_;
    } else {
        ++self->foreignFrees_;
    }
    return 1;
}

int32_t WPN_CALL CheckHost::ShowMessage(const char *, uint32_t)
{
    // A checker runs unattended: the message is counted, not shown.
    current_->NoteThread();
    ++current_->others_;
    return IDOK;
}
