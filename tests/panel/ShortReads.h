/* An art source that hands out fewer bytes than asked, as a file on a network
 * share or one still being written can: 1 to 100 bytes a call, the sizes
 * varied by a seed, until the bytes run out. Only a call that gives nothing
 * ends the data. Shared by the frame tests under Wine and the native fuzzer. */
#pragma once
#include "ArtSource.h"

#include <string>

class ShortReads final : public ArtSource {
public:
    ShortReads(const std::string &bytes, unsigned seed) : rest_(bytes), state_(seed) {}

    size_t Read(char *into, size_t bytes) override
    {
        state_ = state_ * 1103515245u + 12345u; // the same sizes for the same seed
        const size_t most = 1 + (state_ >> 16) % 100;
        return rest_.Read(into, bytes < most ? bytes : most);
    }

private:
    ArtBytes rest_;
    unsigned state_;
};
