/* The headers, the section table, the export directory's name table and the
 * import descriptors with their name thunks: the little of the PE format that
 * names cross. Counts from the file are capped, so a hostile file costs at
 * most a bounded walk. */
#include "PeImage.h"

#include <ctype.h>
#include <stdio.h>
#include <string.h>
#include <algorithm>

namespace {

const size_t MaxNames = 1 << 16, MaxDlls = 4096, MaxText = 4096;

class Bytes {
public:
    explicit Bytes(const std::string &bytes) : b_(bytes) {}
    bool Has(size_t at, size_t n) const { return at <= b_.size() && n <= b_.size() - at; }
    uint16_t U16(size_t at) const { return (uint16_t)(Byte(at) | Byte(at + 1) << 8); }
    uint32_t U32(size_t at) const { return (uint32_t)U16(at) | (uint32_t)U16(at + 2) << 16; }
    // A NUL-terminated text that lies wholly within the bytes.
    bool Text(size_t at, std::string &out) const
    {
        if (!Has(at, 1))
            return false;
        size_t n = strnlen(b_.data() + at, std::min(b_.size() - at, MaxText));
        if (!Has(at, n + 1))
            return false;
        out.assign(b_.data() + at, n);
        return true;
    }

private:
    uint32_t Byte(size_t at) const { return (unsigned char)b_[at]; }
    const std::string &b_;
};

struct Section {
    uint32_t Address, Size, Raw, RawSize;
};

class Layout {
public:
    explicit Layout(const Bytes &bytes) : bytes_(bytes) {}

    bool ReadHeaders(PeImage &image)
    {
        if (!bytes_.Has(0, 0x40) || bytes_.U16(0) != 0x5A4D) // "MZ"
            return false;
        const size_t pe = bytes_.U32(0x3C), coff = pe + 4, optional = coff + 20;
        if (!bytes_.Has(pe, 24) || bytes_.U32(pe) != 0x4550) // "PE\0\0"
            return false;
        image.Machine = bytes_.U16(coff);
        const size_t sections = bytes_.U16(coff + 2), optionalSize = bytes_.U16(coff + 16);
        if (!bytes_.Has(optional, 2))
            return false;
        const uint16_t magic = bytes_.U16(optional);
        if (magic != 0x10B && magic != 0x20B) // PE32, PE32+
            return false;
        wide_ = magic == 0x20B;
        const size_t count = optional + (wide_ ? 108 : 92), directories = count + 4;
        if (!bytes_.Has(count, 4))
            return false;
        directoryCount_ = bytes_.U32(count);
        directories_ = directories;
        if (!bytes_.Has(directories, (size_t)std::min<uint32_t>(directoryCount_, 16) * 8))
            return false;
        const size_t table = optional + optionalSize;
        if (!bytes_.Has(table, sections * 40))
            return false;
        for (size_t i = 0; i < sections; ++i) {
            size_t s = table + i * 40;
            sections_.push_back({bytes_.U32(s + 12), bytes_.U32(s + 8), bytes_.U32(s + 20), bytes_.U32(s + 16)});
        }
        return true;
    }

    // The directory's address, 0 when the image has none.
    uint32_t Directory(uint32_t index) const
    {
        if (index >= directoryCount_ || !bytes_.U32(directories_ + index * 8 + 4))
            return 0;
        return bytes_.U32(directories_ + index * 8);
    }

    // The file offset of a relative virtual address, or SIZE_MAX.
    size_t Offset(uint32_t address) const
    {
        for (const Section &s : sections_) {
            uint32_t span = std::max(s.Size, s.RawSize);
            if (address >= s.Address && address - s.Address < span) {
                uint32_t into = address - s.Address;
                return into < s.RawSize ? (size_t)s.Raw + into : SIZE_MAX;
            }
        }
        return SIZE_MAX;
    }

    bool TextAt(uint32_t address, std::string &out) const { return bytes_.Text(Offset(address), out); }
    bool Wide() const { return wide_; }
    const Bytes &bytes() const { return bytes_; }

private:
    const Bytes &bytes_;
    bool wide_ = false;
    uint32_t directoryCount_ = 0;
    size_t directories_ = 0;
    std::vector<Section> sections_;
};

bool ReadExports(const Layout &layout, PeImage &image)
{
    const uint32_t directory = layout.Directory(0);
    if (!directory)
        return true;
    const size_t at = layout.Offset(directory);
    const Bytes &bytes = layout.bytes();
    if (!bytes.Has(at, 40))
        return false;
    const uint32_t count = bytes.U32(at + 24);
    const size_t names = layout.Offset(bytes.U32(at + 32));
    if (count > MaxNames || (count && !bytes.Has(names, (size_t)count * 4)))
        return false;
    for (uint32_t i = 0; i < count; ++i) {
        std::string name;
        if (!layout.TextAt(bytes.U32(names + i * 4), name))
            return false;
        image.Exports.push_back(name);
    }
    return true;
}

bool ReadThunks(const Layout &layout, uint32_t address, PeImport &import)
{
    const Bytes &bytes = layout.bytes();
    const size_t step = layout.Wide() ? 8 : 4;
    size_t at = layout.Offset(address);
    for (size_t n = 0; n < MaxNames; ++n, at += step) {
        if (!bytes.Has(at, step))
            return false;
        const uint32_t low = bytes.U32(at), high = layout.Wide() ? bytes.U32(at + 4) : 0;
        if (!low && !high)
            return true;
        const bool byOrdinal = layout.Wide() ? (high & 0x80000000u) != 0 : (low & 0x80000000u) != 0;
        std::string name;
        if (byOrdinal)
            name = "#" + std::to_string(low & 0xFFFF);
        else if (!layout.TextAt(low + 2, name)) // after the two-byte hint
            return false;
        import.Names.push_back(name);
    }
    return false;
}

bool ReadImports(const Layout &layout, PeImage &image)
{
    const uint32_t directory = layout.Directory(1);
    if (!directory)
        return true;
    const Bytes &bytes = layout.bytes();
    size_t at = layout.Offset(directory);
    for (size_t n = 0; n < MaxDlls; ++n, at += 20) {
        if (!bytes.Has(at, 20))
            return false;
        const uint32_t lookup = bytes.U32(at), name = bytes.U32(at + 12), bound = bytes.U32(at + 16);
        if (!name && !bound)
            return true;
        PeImport import;
        if (!layout.TextAt(name, import.Dll) || !ReadThunks(layout, lookup ? lookup : bound, import))
            return false;
        image.Imports.push_back(import);
    }
    return false;
}

bool SameName(const std::string &a, const std::string &b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (tolower((unsigned char)a[i]) != tolower((unsigned char)b[i]))
            return false;
    return true;
}

} // namespace

PeImage ReadPeImage(const std::string &bytes)
{
    PeImage image;
    Bytes raw(bytes);
    Layout layout(raw);
    image.Valid = layout.ReadHeaders(image) && ReadExports(layout, image) && ReadImports(layout, image);
    return image;
}

const PeImport *FindImport(const PeImage &image, const std::string &dll)
{
    for (const PeImport &import : image.Imports)
        if (SameName(import.Dll, dll))
            return &import;
    return nullptr;
}

std::string MachineName(uint16_t machine)
{
    switch (machine) {
    case PE_MACHINE_I386: return "32-bit x86";
    case 0x8664: return "64-bit x86-64";
    case 0xAA64: return "64-bit ARM";
    }
    char text[32];
    snprintf(text, sizeof text, "machine 0x%04X", machine);
    return text;
}
