#include "FrameStore.h"

#include <new>
#include <string.h>

const char *FrameStore::Text(size_t index) const
{
    if (index < FRAME_FIRST_DANCE)
        return fixed_[index].c_str();
    return buffer_.get() + dances_[index - FRAME_FIRST_DANCE].offset;
}

std::string_view FrameStore::operator[](size_t index) const
{
    if (index < FRAME_FIRST_DANCE)
        return fixed_[index];
    const Span &span = dances_[index - FRAME_FIRST_DANCE];
    return std::string_view(buffer_.get() + span.offset, span.length);
}

std::vector<std::string> FrameStore::Texts() const
{
    std::vector<std::string> texts;
    for (size_t i = 0; i < count_; ++i)
        texts.emplace_back((*this)[i]);
    return texts;
}

void FrameStore::resize(size_t count)
{
    std::vector<std::string> texts = Texts();
    texts.resize(count);
    Assign(texts.data(), texts.size());
}

void FrameStore::Reset(size_t count)
{
    fixed_[FRAME_NORMAL].clear();
    fixed_[FRAME_HIDE].clear();
    dances_.clear();
    used_ = 0;
    open_ = false;
    count_ = count < FRAME_FIRST_DANCE ? count : (size_t)FRAME_FIRST_DANCE;
}

void FrameStore::OpenDance()
{
    CloseDance();
    Room(0); // from here on a byte is always free for the NUL
    dances_.push_back({used_, 0});
    ++count_;
    open_ = true;
}

char *FrameStore::Room(size_t bytes)
{
    // One byte more for the NUL that closes the frame.
    if (capacity_ - used_ <= bytes) {
        size_t capacity = capacity_ ? capacity_ : 64 * 1024;
        while (capacity - used_ <= bytes) {
            if (capacity > (size_t)-1 / 2)
                throw std::bad_alloc();
            capacity *= 2;
        }
        std::unique_ptr<char[]> bigger(new char[capacity]);
        if (used_)
            memcpy(bigger.get(), buffer_.get(), used_);
        buffer_ = std::move(bigger);
        capacity_ = capacity;
    }
    return buffer_.get() + used_;
}

void FrameStore::Add(size_t bytes)
{
    used_ += bytes;
    dances_.back().length += bytes;
}

void FrameStore::AddDances(size_t bytes, const size_t *ends, size_t count)
{
    dances_.reserve(dances_.size() + count); // the one step that may throw
    size_t from = 0;
    for (size_t i = 0; i < count; ++i) {
        dances_.back().length += ends[i] - from;
        used_ += ends[i] - from + 1; // the NUL is in place
        dances_.push_back({used_, 0});
        from = ends[i] + 1;
    }
    count_ += count;
    Add(bytes - from);
}

void FrameStore::CloseDance()
{
    if (!open_)
        return;
    // Never needs to grow (it runs while an exception unwinds): OpenDance
    // and every Room call leave a byte free beyond what Add may take.
    buffer_[used_++] = '\0';
    open_ = false;
}

void FrameStore::Fit()
{
    const size_t SMALL = 64 * 1024;
    if (capacity_ <= SMALL || used_ >= capacity_ / 4)
        return;
    size_t capacity = SMALL;
    while (capacity - used_ <= SMALL / 2)
        capacity *= 2;
    char *smaller = new (std::nothrow) char[capacity];
    if (!smaller)
        return; // keeping the big buffer is no fault
    if (used_)
        memcpy(smaller, buffer_.get(), used_);
    buffer_.reset(smaller);
    capacity_ = capacity;
}
