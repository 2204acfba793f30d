/* The frames' texts, in their slots: the normal frame, the hide frame, then
 * the dance frames.
 *
 * An art file may add to the normal and hide frames from several sections,
 * so those two are strings of their own. A dance frame comes whole from one
 * section: the dance frames lie one after another in one buffer, each
 * followed by a NUL. Thousands of dance frames thus cost a few allocations,
 * not one each, and the buffer keeps its room for the next load (a panel
 * reloads the same file every time it is made). Free of window calls: the
 * fuzzer builds it natively. */
#pragma once
#include <initializer_list>
#include <memory>
#include <stddef.h>
#include <string>
#include <string_view>
#include <vector>

/* What each index of the list shows. */
enum { FRAME_NORMAL = 0, FRAME_HIDE = 1, FRAME_FIRST_DANCE = 2 };

class FrameStore {
public:
    FrameStore() = default;
    FrameStore(const FrameStore &) = delete;
    FrameStore &operator=(const FrameStore &) = delete;

    size_t size() const { return count_; }
    // The frame's bytes, NUL-terminated; valid until the store next changes.
    const char *Text(size_t index) const;
    std::string_view operator[](size_t index) const;
    std::vector<std::string> Texts() const;

    // Replaces the frames with these texts, in order.
    template <class Text>
    void Assign(const Text *texts, size_t count)
    {
        Reset(count);
        for (size_t i = 0; i < count; ++i) {
            std::string_view text(texts[i]);
            if (i < FRAME_FIRST_DANCE) {
                fixed_[i].assign(text.data(), text.size());
            } else {
                OpenDance();
                text.copy(Room(text.size()), text.size());
                Add(text.size());
            }
        }
        CloseDance();
        Fit();
    }
    FrameStore &operator=(std::initializer_list<std::string_view> texts)
    {
        Assign(texts.begin(), texts.size());
        return *this;
    }
    // Keeps the first `count` frames, adding empty ones as needed.
    void resize(size_t count);

    // Building, as the art reader does it. Reset leaves `count` empty frames
    // (at most the normal and hide frames) and no dance frames.
    void Reset(size_t count = FRAME_FIRST_DANCE);
    std::string &Fixed(size_t index) { return fixed_[index]; }
    // Opens a new, empty dance frame at the end, closing the one before.
    void OpenDance();
    // Room for at least `bytes` after the newest dance frame; the buffer may
    // move. Bytes written there join that frame through Add; those not
    // added are scratch, free to use for anything.
    char *Room(size_t bytes);
    void Add(size_t bytes);
    // Add for bytes that also close dance frames: each of `ends` (offsets
    // into the bytes, ascending) holds a NUL that ends the newest frame, and
    // a new frame opens after it.
    void AddDances(size_t bytes, const size_t *ends, size_t count);
    // Ends the newest dance frame with its NUL. Every load ends with this;
    // it never throws.
    void CloseDance();
    // After a load: gives back most of the buffer when the load used little
    // of it (a large art file replaced by a small one).
    void Fit();
    size_t Capacity() const { return capacity_; }

private:
    struct Span {
        size_t offset, length;
    };

    std::string fixed_[FRAME_FIRST_DANCE]; // the normal and hide frames
    std::vector<Span> dances_;
    std::unique_ptr<char[]> buffer_;
    size_t capacity_ = 0, used_ = 0;
    size_t count_ = 0;
    bool open_ = false; // the newest dance frame still grows
};
