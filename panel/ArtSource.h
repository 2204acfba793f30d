/* Where the art reader's raw bytes come from, a block at a time: a file read
 * through the platform's own file API, or bytes already in memory (the tests
 * and the fuzzer). No stream library: it would be most of the plug-in's size.
 * Free of window calls; the file source has a POSIX form for the native
 * fuzz build. */
#pragma once
#include <stddef.h>
#include <stdint.h>
#include <string.h>

class ArtSource {
public:
    /* Up to `bytes` bytes into `into`; how many came, 0 at the end of the data
     * or on a read error. */
    virtual size_t Read(char *into, size_t bytes) = 0;

protected:
    ~ArtSource() = default;
};

/* A file opened for reading by path; others may read and write it meanwhile,
 * so an editor that holds the art file open does not keep it from the panel. */
class ArtFile final : public ArtSource {
public:
    /* A null or empty path opens nothing. */
    explicit ArtFile(const char *path);
    ~ArtFile();
    ArtFile(const ArtFile &) = delete;
    ArtFile &operator=(const ArtFile &) = delete;

    bool IsOpen() const { return handle_ != -1; }
    size_t Read(char *into, size_t bytes) override;

private:
    intptr_t handle_; // a file handle on Windows, a descriptor elsewhere; -1 when none
};

/* Bytes in memory, handed out as a file would. */
class ArtBytes final : public ArtSource {
public:
    ArtBytes(const char *bytes, size_t size) : next_(bytes), left_(size) {}
    template <class Bytes>
    explicit ArtBytes(const Bytes &bytes) : ArtBytes(bytes.data(), bytes.size()) {}

    size_t Read(char *into, size_t bytes) override
    {
        size_t n = bytes < left_ ? bytes : left_;
        memcpy(into, next_, n);
        next_ += n;
        left_ -= n;
        return n;
    }

private:
    const char *next_;
    size_t left_;
};
