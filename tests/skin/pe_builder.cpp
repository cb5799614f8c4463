#include "tests/skin/pe_builder.h"

#include <cstdint>

namespace kelo_test {

namespace {

void Put16(std::string* s, size_t at, uint16_t v) {
    (*s)[at] = static_cast<char>(v & 0xFF);
    (*s)[at + 1] = static_cast<char>(v >> 8);
}
void Put32(std::string* s, size_t at, uint32_t v) {
    Put16(s, at, static_cast<uint16_t>(v & 0xFFFF));
    Put16(s, at + 2, static_cast<uint16_t>(v >> 16));
}

}  // namespace

std::string PeWithResource(const std::string& type, unsigned id, const std::string& data) {
    const uint32_t kPe = 0x40, kOptional = kPe + 24, kOptionalSize = 224,
                   kSections = kOptional + kOptionalSize;
    const uint32_t kRaw = 0x200, kRva = 0x1000;
    // Resource section layout: three directories with one entry each, the
    // data entry, the type name, then the data.
    const uint32_t root = 0, typeDir = 24, langDir = 48, dataEntry = 72, name = 88;
    const uint32_t dataAt = (name + 2 + 2 * static_cast<uint32_t>(type.size()) + 15) & ~15u;
    const uint32_t sectionSize = dataAt + static_cast<uint32_t>(data.size());

    std::string pe(kRaw + sectionSize, '\0');
    pe[0] = 'M';
    pe[1] = 'Z';
    Put32(&pe, 0x3C, kPe);
    Put32(&pe, kPe, 0x00004550);
    Put16(&pe, kPe + 4, 0x14C);
    Put16(&pe, kPe + 6, 1);
    Put16(&pe, kPe + 20, kOptionalSize);
    Put16(&pe, kOptional, 0x10B);
    Put32(&pe, kOptional + 92, 16);         // NumberOfRvaAndSizes
    Put32(&pe, kOptional + 96 + 16, kRva);  // resource directory
    Put32(&pe, kOptional + 96 + 20, sectionSize);
    pe.replace(kSections, 5, ".rsrc");
    Put32(&pe, kSections + 8, sectionSize);
    Put32(&pe, kSections + 12, kRva);
    Put32(&pe, kSections + 16, sectionSize);
    Put32(&pe, kSections + 20, kRaw);

    const uint32_t s = kRaw;
    Put16(&pe, s + root + 12, 1);  // one named entry
    Put32(&pe, s + root + 16, 0x80000000u | name);
    Put32(&pe, s + root + 20, 0x80000000u | typeDir);
    Put16(&pe, s + typeDir + 14, 1);  // one id entry
    Put32(&pe, s + typeDir + 16, id);
    Put32(&pe, s + typeDir + 20, 0x80000000u | langDir);
    Put16(&pe, s + langDir + 14, 1);
    Put32(&pe, s + langDir + 16, 0x0409);
    Put32(&pe, s + langDir + 20, dataEntry);
    Put32(&pe, s + dataEntry, kRva + dataAt);
    Put32(&pe, s + dataEntry + 4, static_cast<uint32_t>(data.size()));
    Put16(&pe, s + name, static_cast<uint16_t>(type.size()));
    for (size_t i = 0; i < type.size(); ++i) Put16(&pe, s + name + 2 + 2 * i, static_cast<uint8_t>(type[i]));
    pe.replace(s + dataAt, data.size(), data);
    return pe;
}

}  // namespace kelo_test
