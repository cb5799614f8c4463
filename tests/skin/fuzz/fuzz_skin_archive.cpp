// Fuzz target: a skin archive opened from memory, every entry looked up by
// its own name and extracted, whole and in pieces.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "ui/skin/skin_archive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    SkinUI::SkinArchivePtr archive(SkinUI::CSkinArchive::OpenMemory(data, size));
    if (!archive) return 0;
    const int count = archive->EntryCount() < 64 ? archive->EntryCount() : 64;
    std::vector<uint8_t> buffer;
    for (int i = 0; i < count; ++i) {
        SkinUI::SkinArchiveEntry entry;
        if (archive->GetEntry(i, &entry) != SkinUI::kArchiveOk) continue;
        int index = -1;
        archive->FindEntry(entry.name, true, &index, &entry);
        archive->FindEntry(entry.name, false, nullptr, nullptr);
        // Whole extraction into a buffer of the declared size, capped so a
        // lying size cannot exhaust memory.
        const uint32_t whole = entry.uncompressedSize < (1u << 20) ? entry.uncompressedSize : (1u << 20);
        buffer.assign(whole + 97, 0);
        uint32_t written = 0;
        archive->ExtractToMemory(i, buffer.data(), whole, &written);
        // Then again in small pieces, from the start.
        archive->FindEntry(entry.name, true, nullptr, nullptr);
        for (int piece = 0; piece < 64; ++piece) {
            uint32_t r = archive->ExtractToMemory(i, buffer.data(), 97, &written);
            if (r != SkinUI::kArchiveMore) break;
        }
    }
    return 0;
}
