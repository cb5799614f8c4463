// CSkinArchive: a reader of the ZIP archives skins are shipped in.
//
// An archive is read from a file or from a memory block (the installer keeps
// its skin archive in its resources). Bytes before the archive are allowed and
// skipped. Every file is found through the central directory and decompressed
// straight into the caller's buffer; nothing is unpacked as a whole. Stored
// and deflated entries are supported; other methods, encrypted entries and
// multi-disk archives fail as corrupt.
//
// Every offset, size and name length read from the archive is checked against
// the source's length before it is used, so a damaged archive yields a result
// code, never a read outside the source.
//
// A handle serialises its operations with its own lock, so one open archive
// may be shared between threads (one operation at a time).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <vector>

#include "ui/core/ui_char.h"
#include "ui/skin/read_only_file.h"

namespace SkinUI {

// Result codes of the archive operations.
enum SkinArchiveResult : uint32_t {
    kArchiveOk = 0,                        // success; for extraction: nothing more to extract
    kArchiveMore = 0x600,                  // extraction produced data; more may follow
    kArchiveCannotOpen = 0x200,            // the archive file cannot be opened
    kArchiveNotFound = 0x500,              // no entry of that name
    kArchiveCorrupt = 0x700,               // corrupt or not a ZIP (also a CRC mismatch)
    kArchiveReadError = 0x800,             // a read error, or an offset outside the source
    kArchiveBadArguments = 0x10000,        // null buffer, index out of range
    kArchiveAlreadyOpen = 0x1000000,       // the handle is already open
    kArchiveDecompressFailed = 0x5000000,  // the deflate data is damaged or truncated
};

// What FindEntry reports about an entry.
struct SkinArchiveEntry {
    static constexpr int kNameSize = 260;
    int32_t index;           // -1 when not found
    UiChar name[kNameSize];  // from the archive's ANSI code page
    uint32_t attributes;     // Windows file attribute bits
    uint64_t accessTime;     // FILETIME values: 100 ns units since 1601, UTC
    uint64_t creationTime;
    uint64_t modificationTime;
    uint32_t compressedSize;
    uint32_t uncompressedSize;
};

class CSkinArchive {
public:
    // Opens an archive file (shared reading) and reads its directory. Null on
    // failure; *result (optional) receives the code.
    static CSkinArchive* OpenFile(const UiChar* path, uint32_t* result = nullptr);
    // Opens an archive held in memory; the block must outlive the handle.
    static CSkinArchive* OpenMemory(const void* block, size_t length, uint32_t* result = nullptr);
    // Ends any extraction, closes the source and releases the handle (null is
    // allowed).
    static void Close(CSkinArchive* archive);

    CSkinArchive(const CSkinArchive&) = delete;
    CSkinArchive& operator=(const CSkinArchive&) = delete;

    // Number of entries in the central directory.
    int EntryCount() const { return static_cast<int>(entries_.size()); }

    // Looks an entry up by name. Backslashes in name count as "/"; with
    // ignoreCase ASCII letters compare without case. Names of 256 characters or
    // more are refused. Returns 0 and fills *index and *entry, or 0x500 with
    // *index -1 and a zeroed entry whose index is -1.
    uint32_t FindEntry(const UiChar* name, bool ignoreCase, int* index, SkinArchiveEntry* entry);
    // The entry at a directory position (0 .. EntryCount() - 1).
    uint32_t GetEntry(int index, SkinArchiveEntry* entry);

    // Decompresses the entry into buffer, continuing a previous call on the
    // same entry. Returns 0x600 when this call produced data (buffer full, or
    // the rest of the entry) and 0 when the entry was already complete.
    // Never writes more than length bytes nor more than the entry's declared
    // size. When the entry completes, its CRC-32 is compared: a mismatch is
    // 0x700. *written (optional) receives the bytes produced by this call.
    uint32_t ExtractToMemory(int index, void* buffer, uint32_t length, uint32_t* written = nullptr);

private:
    struct Extraction;
    struct DirectoryEntry {
        uint32_t offset;  // of the record within the central directory
    };

    CSkinArchive();
    ~CSkinArchive();

    uint32_t ReadDirectory();
    bool ReadSource(uint64_t offset, void* buffer, size_t length) const;
    const uint8_t* Record(int index) const;
    void FillEntry(int index, SkinArchiveEntry* entry) const;
    uint32_t BeginExtraction(int index);
    uint32_t ExtractStored(uint8_t* out, uint32_t length, uint32_t* produced);
    uint32_t ExtractDeflated(uint8_t* out, uint32_t length, uint32_t* produced);
    void EndExtraction();

    std::mutex lock_;
    // Source: a memory block or a file.
    const uint8_t* memory_ = nullptr;
    ReadOnlyFile file_;
    uint64_t sourceLength_ = 0;
    // Bytes that precede the archive; added to every offset read from it.
    uint64_t prefix_ = 0;
    // The central directory: a view of the memory block, or a copy of the file's.
    const uint8_t* directory_ = nullptr;
    uint32_t directorySize_ = 0;
    std::vector<uint8_t> directoryCopy_;
    std::vector<DirectoryEntry> entries_;
    std::unique_ptr<Extraction> extraction_;
};

struct SkinArchiveCloser {
    void operator()(CSkinArchive* archive) const { CSkinArchive::Close(archive); }
};
using SkinArchivePtr = std::unique_ptr<CSkinArchive, SkinArchiveCloser>;

}  // namespace SkinUI
