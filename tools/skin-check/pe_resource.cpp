#include "tools/skin-check/pe_resource.h"

#include <vector>

namespace skin_check {

namespace {

class Reader {
public:
    Reader(const unsigned char* data, size_t length) : data_(data), length_(length) {}
    bool Has(uint64_t offset, uint64_t bytes) const { return offset <= length_ && bytes <= length_ - offset; }
    uint16_t U16(size_t at) const { return static_cast<uint16_t>(data_[at] | (data_[at + 1] << 8)); }
    uint32_t U32(size_t at) const {
        return uint32_t(data_[at]) | (uint32_t(data_[at + 1]) << 8) | (uint32_t(data_[at + 2]) << 16) |
               (uint32_t(data_[at + 3]) << 24);
    }

private:
    const unsigned char* data_;
    size_t length_;
};

struct Section {
    uint32_t virtualAddress;
    uint32_t virtualSize;
    uint32_t rawOffset;
    uint32_t rawSize;
};

bool RvaToOffset(const std::vector<Section>& sections, uint32_t rva, uint64_t* offset) {
    for (const Section& s : sections) {
        const uint32_t span = s.virtualSize > s.rawSize ? s.virtualSize : s.rawSize;
        if (rva >= s.virtualAddress && rva - s.virtualAddress < span) {
            if (rva - s.virtualAddress >= s.rawSize) return false;  // not backed by file data
            *offset = uint64_t(s.rawOffset) + (rva - s.virtualAddress);
            return true;
        }
    }
    return false;
}

bool NameEquals(const Reader& r, uint64_t at, const std::u16string& name) {
    if (!r.Has(at, 2)) return false;
    const uint16_t length = r.U16(static_cast<size_t>(at));
    if (length != name.size() || !r.Has(at + 2, uint64_t(length) * 2)) return false;
    for (uint16_t i = 0; i < length; ++i) {
        uint16_t a = r.U16(static_cast<size_t>(at + 2 + 2 * i)), b = name[i];
        if (a >= 'a' && a <= 'z') a -= 32;
        if (b >= 'a' && b <= 'z') b -= 32;
        if (a != b) return false;
    }
    return true;
}

// Looks one level of the resource tree up; returns the entry's target
// (offset within the resource section, high bit = subdirectory) or false.
bool FindEntry(const Reader& r, uint64_t sectionStart, uint64_t sectionSize, uint32_t directory,
               const std::u16string* name, uint16_t id, uint32_t* target) {
    const uint64_t at = sectionStart + directory;
    if (directory > sectionSize || !r.Has(at, 16)) return false;
    const uint32_t named = r.U16(static_cast<size_t>(at + 12));
    const uint32_t ids = r.U16(static_cast<size_t>(at + 14));
    for (uint32_t i = 0; i < named + ids; ++i) {
        const uint64_t entry = at + 16 + uint64_t(i) * 8;
        if (!r.Has(entry, 8)) return false;
        const uint32_t nameField = r.U32(static_cast<size_t>(entry));
        const bool isNamed = (nameField & 0x80000000u) != 0;
        bool match;
        if (name == nullptr) {
            match = true;  // any entry (the first language)
        } else if (!name->empty()) {
            match = isNamed && NameEquals(r, sectionStart + (nameField & 0x7FFFFFFFu), *name);
        } else {
            match = !isNamed && (nameField & 0xFFFF) == id;
        }
        if (match) {
            *target = r.U32(static_cast<size_t>(entry + 4));
            return true;
        }
    }
    return false;
}

}  // namespace

bool FindPeResource(const unsigned char* image, size_t length, const std::u16string& type, uint16_t id,
                    size_t* offset, size_t* size, std::string* error) {
    Reader r(image, length);
    if (!r.Has(0, 64) || image[0] != 'M' || image[1] != 'Z') return *error = "not a PE file", false;
    const uint32_t pe = r.U32(0x3C);
    if (!r.Has(pe, 24) || r.U32(pe) != 0x00004550) return *error = "not a PE file", false;
    const uint16_t sectionCount = r.U16(pe + 6);
    const uint16_t optionalSize = r.U16(pe + 20);
    const uint64_t optional = uint64_t(pe) + 24;
    if (!r.Has(optional, optionalSize) || optionalSize < 2) return *error = "damaged PE headers", false;
    const uint16_t magic = r.U16(static_cast<size_t>(optional));
    const uint64_t directories = optional + (magic == 0x20B ? 112 : 96);
    const uint64_t resourceDirectory = directories + 2 * 8;
    if (magic != 0x10B && magic != 0x20B) return *error = "damaged PE headers", false;
    if (resourceDirectory + 8 > optional + optionalSize || !r.Has(resourceDirectory, 8))
        return *error = "no resources", false;
    const uint32_t resourceRva = r.U32(static_cast<size_t>(resourceDirectory));
    const uint32_t resourceSize = r.U32(static_cast<size_t>(resourceDirectory + 4));
    if (resourceRva == 0 || resourceSize == 0) return *error = "no resources", false;

    std::vector<Section> sections;
    const uint64_t table = optional + optionalSize;
    for (uint16_t i = 0; i < sectionCount; ++i) {
        const uint64_t s = table + uint64_t(i) * 40;
        if (!r.Has(s, 40)) return *error = "damaged section table", false;
        sections.push_back(Section{r.U32(static_cast<size_t>(s + 12)), r.U32(static_cast<size_t>(s + 8)),
                                   r.U32(static_cast<size_t>(s + 20)), r.U32(static_cast<size_t>(s + 16))});
    }
    uint64_t sectionStart = 0;
    if (!RvaToOffset(sections, resourceRva, &sectionStart) || !r.Has(sectionStart, 16))
        return *error = "damaged resource section", false;
    const uint64_t sectionSize = length - sectionStart;

    uint32_t typeTarget = 0, idTarget = 0, languageTarget = 0;
    if (!FindEntry(r, sectionStart, sectionSize, 0, &type, 0, &typeTarget) || !(typeTarget & 0x80000000u))
        return *error = "no resource of that type", false;
    const std::u16string none;
    if (!FindEntry(r, sectionStart, sectionSize, typeTarget & 0x7FFFFFFFu, &none, id, &idTarget) ||
        !(idTarget & 0x80000000u))
        return *error = "no resource of that id", false;
    if (!FindEntry(r, sectionStart, sectionSize, idTarget & 0x7FFFFFFFu, nullptr, 0, &languageTarget) ||
        (languageTarget & 0x80000000u))
        return *error = "damaged resource directory", false;
    const uint64_t data = sectionStart + languageTarget;
    if (!r.Has(data, 16)) return *error = "damaged resource directory", false;
    const uint32_t dataRva = r.U32(static_cast<size_t>(data));
    const uint32_t dataSize = r.U32(static_cast<size_t>(data + 4));
    uint64_t dataOffset = 0;
    if (!RvaToOffset(sections, dataRva, &dataOffset) || !r.Has(dataOffset, dataSize))
        return *error = "resource data outside the file", false;
    *offset = static_cast<size_t>(dataOffset);
    *size = dataSize;
    return true;
}

}  // namespace skin_check
