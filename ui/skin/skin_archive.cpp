#include "ui/skin/skin_archive.h"

#include <zlib.h>

#include <cstring>
#include <string>

#include "ui/core/text_convert.h"

namespace SkinUI {

namespace {

// End of central directory record.
constexpr uint32_t kEndSignature = 0x06054B50;
constexpr uint32_t kEndRecordSize = 22;
constexpr uint32_t kEndSearchSpan = 65535;
// Central directory file header.
constexpr uint32_t kCentralSignature = 0x02014B50;
constexpr uint32_t kCentralHeaderSize = 46;
// Local file header.
constexpr uint32_t kLocalSignature = 0x04034B50;
constexpr uint32_t kLocalHeaderSize = 30;

constexpr uint16_t kFlagEncrypted = 0x0001;
constexpr uint16_t kFlagDataDescriptor = 0x0008;
constexpr uint16_t kMethodStored = 0;
constexpr uint16_t kMethodDeflated = 8;
constexpr uint32_t kInputChunk = 16384;
constexpr int kMaxLookupName = 256;

inline uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
inline uint32_t Le32(const uint8_t* p) {
    return uint32_t(p[0]) | (uint32_t(p[1]) << 8) | (uint32_t(p[2]) << 16) | (uint32_t(p[3]) << 24);
}

// Central directory header fields (offsets within the 46-byte header).
namespace central {
constexpr int kVersionMadeBy = 4;   // 2
constexpr int kFlags = 8;           // 2
constexpr int kMethod = 10;         // 2
constexpr int kDosTime = 12;        // 2, then the DOS date (2)
constexpr int kCrc = 16;            // 4
constexpr int kCompressed = 20;     // 4
constexpr int kUncompressed = 24;   // 4
constexpr int kNameLength = 28;     // 2
constexpr int kExtraLength = 30;    // 2
constexpr int kCommentLength = 32;  // 2
constexpr int kExternalAttr = 38;   // 4
constexpr int kLocalOffset = 42;    // 4
}  // namespace central

// Local header fields (offsets within the 30-byte header).
namespace local {
constexpr int kMethod = 8;         // 2
constexpr int kCrc = 14;           // 4
constexpr int kCompressed = 18;    // 4
constexpr int kUncompressed = 22;  // 4
constexpr int kNameLength = 26;    // 2
constexpr int kExtraLength = 28;   // 2
}  // namespace local

constexpr uint64_t kFileTimePerSecond = 10000000ULL;
constexpr int64_t kSecondsFrom1601To1970 = 11644473600LL;

// Days from 1970-01-01 to a civil date (proleptic Gregorian).
int64_t DaysFromCivil(int64_t y, unsigned m, unsigned d) {
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<int64_t>(doe) - 719468;
}

uint64_t UnixToFileTime(int64_t seconds) {
    int64_t s = seconds + kSecondsFrom1601To1970;
    return s < 0 ? 0 : static_cast<uint64_t>(s) * kFileTimePerSecond;
}

// DOS times carry no zone; they are taken as UTC.
uint64_t DosToFileTime(uint16_t time, uint16_t date) {
    unsigned month = (date >> 5) & 15, day = date & 31;
    if (month < 1) month = 1;
    if (month > 12) month = 12;
    if (day < 1) day = 1;
    int64_t days = DaysFromCivil(1980 + (date >> 9), month, day);
    int64_t seconds = days * 86400 + (time >> 11) * 3600 + ((time >> 5) & 63) * 60 + (time & 31) * 2;
    return UnixToFileTime(seconds);
}

uint32_t WindowsAttributes(uint16_t versionMadeBy, uint32_t external) {
    const unsigned host = versionMadeBy >> 8;
    if (host == 3 || host == 19) {  // Unix, macOS: a mode in the high half
        uint32_t mode = external >> 16;
        uint32_t attributes = ((mode & 0170000) == 0040000) ? 0x10u : 0x20u;
        if ((mode & 0200) == 0) attributes |= 0x01;
        return attributes;
    }
    return external & 0x37;  // read-only, hidden, system, directory, archive
}

}  // namespace

struct CSkinArchive::Extraction {
    int index = -1;
    uint16_t method = 0;
    uint64_t dataOffset = 0;  // in the source
    uint32_t compressedSize = 0;
    uint32_t uncompressedSize = 0;
    uint32_t expectedCrc = 0;
    uint32_t consumed = 0;  // compressed bytes handed to zlib (file source)
    uint32_t produced = 0;
    uint32_t crc = 0;
    bool complete = false;
    bool streamOpen = false;
    z_stream stream = {};
    std::vector<uint8_t> input;

    ~Extraction() {
        if (streamOpen) inflateEnd(&stream);
    }
};

CSkinArchive::CSkinArchive() = default;
CSkinArchive::~CSkinArchive() = default;

CSkinArchive* CSkinArchive::OpenFile(const UiChar* path, uint32_t* result) {
    uint32_t code = kArchiveCannotOpen;
    SkinArchivePtr archive(new CSkinArchive());
    if (path != nullptr && archive->file_.Open(path)) {
        code = archive->file_.Size(&archive->sourceLength_) ? archive->ReadDirectory() : kArchiveReadError;
    }
    if (result != nullptr) *result = code;
    return code == kArchiveOk ? archive.release() : nullptr;
}

CSkinArchive* CSkinArchive::OpenMemory(const void* block, size_t length, uint32_t* result) {
    uint32_t code = kArchiveBadArguments;
    SkinArchivePtr archive(new CSkinArchive());
    if (block != nullptr || length == 0) {
        archive->memory_ = static_cast<const uint8_t*>(block);
        archive->sourceLength_ = length;
        code = archive->ReadDirectory();
    }
    if (result != nullptr) *result = code;
    return code == kArchiveOk ? archive.release() : nullptr;
}

void CSkinArchive::Close(CSkinArchive* archive) {
    if (archive == nullptr) return;
    {
        std::lock_guard<std::mutex> guard(archive->lock_);
        archive->EndExtraction();
        archive->file_.Close();
    }
    delete archive;
}

bool CSkinArchive::ReadSource(uint64_t offset, void* buffer, size_t length) const {
    if (offset > sourceLength_ || length > sourceLength_ - offset) return false;
    if (length == 0) return true;
    if (memory_ != nullptr) {
        std::memcpy(buffer, memory_ + offset, length);
        return true;
    }
    return file_.ReadAt(offset, buffer, length);
}

uint32_t CSkinArchive::ReadDirectory() {
    // The end record is the signature nearest the end within the last 64 KiB
    // (it may be followed by a comment of up to 65535 bytes).
    const uint64_t span = sourceLength_ < kEndSearchSpan ? sourceLength_ : kEndSearchSpan;
    if (span < kEndRecordSize) return kArchiveCorrupt;
    std::vector<uint8_t> tailCopy;
    const uint8_t* tail;
    const uint64_t tailStart = sourceLength_ - span;
    if (memory_ != nullptr) {
        tail = memory_ + tailStart;
    } else {
        tailCopy.resize(static_cast<size_t>(span));
        if (!ReadSource(tailStart, tailCopy.data(), tailCopy.size())) return kArchiveReadError;
        tail = tailCopy.data();
    }
    int64_t found = -1;
    for (int64_t i = static_cast<int64_t>(span - kEndRecordSize); i >= 0; --i) {
        if (tail[i] == 0x50 && Le32(tail + i) == kEndSignature) {
            found = i;
            break;
        }
    }
    if (found < 0) return kArchiveCorrupt;
    const uint8_t* end = tail + found;
    const uint64_t endPosition = tailStart + static_cast<uint64_t>(found);
    const uint16_t thisDisk = Le16(end + 4), directoryDisk = Le16(end + 6);
    const uint16_t entriesHere = Le16(end + 8), entriesTotal = Le16(end + 10);
    const uint32_t directorySize = Le32(end + 12), directoryOffset = Le32(end + 16);
    if (thisDisk != 0 || directoryDisk != 0 || entriesHere != entriesTotal) return kArchiveCorrupt;
    if (endPosition < uint64_t(directoryOffset) + directorySize) return kArchiveCorrupt;
    prefix_ = endPosition - (uint64_t(directoryOffset) + directorySize);
    const uint64_t directoryStart = prefix_ + directoryOffset;
    // Every header takes at least 46 bytes, which bounds the entry count by
    // the directory's size before anything is allocated for it.
    if (uint64_t(entriesTotal) * kCentralHeaderSize > directorySize) return kArchiveCorrupt;

    if (memory_ != nullptr) {
        directory_ = memory_ + directoryStart;
    } else {
        directoryCopy_.resize(directorySize);
        if (!ReadSource(directoryStart, directoryCopy_.data(), directorySize)) return kArchiveReadError;
        directory_ = directoryCopy_.data();
    }
    directorySize_ = directorySize;

    entries_.reserve(entriesTotal);
    uint32_t offset = 0;
    for (uint32_t i = 0; i < entriesTotal; ++i) {
        if (directorySize_ - offset < kCentralHeaderSize) return kArchiveCorrupt;
        const uint8_t* h = directory_ + offset;
        if (Le32(h) != kCentralSignature) return kArchiveCorrupt;
        const uint32_t length = kCentralHeaderSize + Le16(h + central::kNameLength) +
                                Le16(h + central::kExtraLength) + Le16(h + central::kCommentLength);
        if (directorySize_ - offset < length) return kArchiveCorrupt;
        entries_.push_back(DirectoryEntry{offset});
        offset += length;
    }
    return kArchiveOk;
}

const uint8_t* CSkinArchive::Record(int index) const {
    return directory_ + entries_[index].offset;
}

void CSkinArchive::FillEntry(int index, SkinArchiveEntry* entry) const {
    const uint8_t* h = Record(index);
    std::memset(entry, 0, sizeof(*entry));
    entry->index = index;
    const uint16_t nameLength = Le16(h + central::kNameLength);
    AnsiToUiBuffer(reinterpret_cast<const char*>(h + kCentralHeaderSize), nameLength, entry->name,
                   SkinArchiveEntry::kNameSize);
    entry->attributes =
        WindowsAttributes(Le16(h + central::kVersionMadeBy), Le32(h + central::kExternalAttr));
    const uint64_t dosTime = DosToFileTime(Le16(h + central::kDosTime), Le16(h + central::kDosTime + 2));
    entry->accessTime = entry->creationTime = entry->modificationTime = dosTime;
    entry->compressedSize = Le32(h + central::kCompressed);
    entry->uncompressedSize = Le32(h + central::kUncompressed);

    // An extended timestamp ("UT") in the local header overrides the DOS time.
    uint8_t header[kLocalHeaderSize];
    const uint64_t localOffset = prefix_ + Le32(h + central::kLocalOffset);
    if (!ReadSource(localOffset, header, sizeof(header)) || Le32(header) != kLocalSignature) return;
    const uint16_t extraLength = Le16(header + local::kExtraLength);
    std::vector<uint8_t> extra(extraLength);
    if (!ReadSource(localOffset + kLocalHeaderSize + Le16(header + local::kNameLength), extra.data(),
                    extraLength))
        return;
    for (size_t pos = 0; pos + 4 <= extra.size();) {
        const uint16_t id = Le16(&extra[pos]), size = Le16(&extra[pos + 2]);
        if (size > extra.size() - pos - 4) break;
        if (id == 0x5455 && size >= 1) {
            const uint8_t flags = extra[pos + 4];
            size_t field = pos + 5;
            const size_t fieldEnd = pos + 4 + size;
            uint64_t* targets[3] = {&entry->modificationTime, &entry->accessTime, &entry->creationTime};
            for (int bit = 0; bit < 3; ++bit) {
                if ((flags & (1 << bit)) == 0) continue;
                if (field + 4 > fieldEnd) break;
                *targets[bit] = UnixToFileTime(static_cast<int32_t>(Le32(&extra[field])));
                field += 4;
            }
            break;
        }
        pos += 4 + size;
    }
}

uint32_t CSkinArchive::GetEntry(int index, SkinArchiveEntry* entry) {
    std::lock_guard<std::mutex> guard(lock_);
    if (entry == nullptr || index < 0 || index >= EntryCount()) return kArchiveBadArguments;
    FillEntry(index, entry);
    return kArchiveOk;
}

uint32_t CSkinArchive::FindEntry(const UiChar* name, bool ignoreCase, int* index, SkinArchiveEntry* entry) {
    std::lock_guard<std::mutex> guard(lock_);
    EndExtraction();
    // The name is read before the outputs are cleared: it may be the name
    // field of the very entry being filled.
    const bool refused = (name == nullptr || UiStrLen(name) >= kMaxLookupName);
    std::string wanted = refused ? std::string() : UiToAnsi(name);
    for (char& c : wanted) {
        if (c == '\\') c = '/';
    }
    if (index != nullptr) *index = -1;
    if (entry != nullptr) {
        std::memset(entry, 0, sizeof(*entry));
        entry->index = -1;
    }
    if (refused) return kArchiveNotFound;
    for (int i = 0; i < EntryCount(); ++i) {
        const uint8_t* h = Record(i);
        if (Le16(h + central::kNameLength) != wanted.size()) continue;
        const char* candidate = reinterpret_cast<const char*>(h + kCentralHeaderSize);
        bool equal = true;
        for (size_t k = 0; k < wanted.size() && equal; ++k) {
            char a = candidate[k], b = wanted[k];
            if (ignoreCase) {
                if (a >= 'A' && a <= 'Z') a = static_cast<char>(a + 32);
                if (b >= 'A' && b <= 'Z') b = static_cast<char>(b + 32);
            }
            equal = (a == b);
        }
        if (!equal) continue;
        if (index != nullptr) *index = i;
        if (entry != nullptr) FillEntry(i, entry);
        return kArchiveOk;
    }
    return kArchiveNotFound;
}

void CSkinArchive::EndExtraction() {
    extraction_.reset();
}

// Checks the local header against the directory and prepares decompression.
uint32_t CSkinArchive::BeginExtraction(int index) {
    EndExtraction();
    const uint8_t* h = Record(index);
    const uint16_t flags = Le16(h + central::kFlags);
    const uint16_t method = Le16(h + central::kMethod);
    if ((flags & kFlagEncrypted) != 0 || (method != kMethodStored && method != kMethodDeflated))
        return kArchiveCorrupt;
    uint8_t header[kLocalHeaderSize];
    const uint64_t localOffset = prefix_ + Le32(h + central::kLocalOffset);
    if (!ReadSource(localOffset, header, sizeof(header))) return kArchiveReadError;
    if (Le32(header) != kLocalSignature || Le16(header + local::kMethod) != method) return kArchiveCorrupt;
    if ((flags & kFlagDataDescriptor) == 0 &&
        (Le32(header + local::kCrc) != Le32(h + central::kCrc) ||
         Le32(header + local::kCompressed) != Le32(h + central::kCompressed) ||
         Le32(header + local::kUncompressed) != Le32(h + central::kUncompressed)))
        return kArchiveCorrupt;
    if (Le16(header + local::kNameLength) != Le16(h + central::kNameLength)) return kArchiveCorrupt;

    std::unique_ptr<Extraction> x(new Extraction());
    x->index = index;
    x->method = method;
    x->dataOffset = localOffset + kLocalHeaderSize + Le16(header + local::kNameLength) +
                    Le16(header + local::kExtraLength);
    x->compressedSize = Le32(h + central::kCompressed);
    x->uncompressedSize = Le32(h + central::kUncompressed);
    x->expectedCrc = Le32(h + central::kCrc);
    x->crc = static_cast<uint32_t>(crc32(0L, Z_NULL, 0));
    // The whole compressed block must lie inside the source.
    if (x->dataOffset > sourceLength_ || x->compressedSize > sourceLength_ - x->dataOffset)
        return kArchiveCorrupt;
    if (method == kMethodStored && x->compressedSize != x->uncompressedSize) return kArchiveCorrupt;
    if (method == kMethodDeflated) {
        if (inflateInit2(&x->stream, -MAX_WBITS) != Z_OK) return kArchiveDecompressFailed;
        x->streamOpen = true;
        if (memory_ != nullptr) {
            // A memory source is handed to zlib in one piece; nothing is copied.
            x->stream.next_in = const_cast<Bytef*>(memory_ + x->dataOffset);
            x->stream.avail_in = x->compressedSize;
            x->consumed = x->compressedSize;
        }
    }
    extraction_ = std::move(x);
    return kArchiveOk;
}

uint32_t CSkinArchive::ExtractStored(uint8_t* out, uint32_t length, uint32_t* produced) {
    Extraction& x = *extraction_;
    if (!ReadSource(x.dataOffset + x.produced, out, length)) return kArchiveReadError;
    *produced = length;
    return kArchiveOk;
}

uint32_t CSkinArchive::ExtractDeflated(uint8_t* out, uint32_t length, uint32_t* produced) {
    Extraction& x = *extraction_;
    z_stream& zs = x.stream;
    zs.next_out = out;
    zs.avail_out = length;
    uint32_t result = kArchiveOk;
    while (zs.avail_out > 0) {
        if (zs.avail_in == 0) {
            const uint32_t left = x.compressedSize - x.consumed;
            if (left == 0) {
                result = kArchiveDecompressFailed;  // truncated data
                break;
            }
            const uint32_t chunk = left < kInputChunk ? left : kInputChunk;
            x.input.resize(kInputChunk);
            if (!ReadSource(x.dataOffset + x.consumed, x.input.data(), chunk)) {
                result = kArchiveReadError;
                break;
            }
            x.consumed += chunk;
            zs.next_in = x.input.data();
            zs.avail_in = chunk;
        }
        const int r = inflate(&zs, Z_SYNC_FLUSH);
        if (r == Z_STREAM_END) {
            // The stream may end only where the declared size ends.
            if (zs.avail_out > 0) result = kArchiveDecompressFailed;
            break;
        }
        if (r != Z_OK && !(r == Z_BUF_ERROR && zs.avail_in == 0)) {
            result = kArchiveDecompressFailed;
            break;
        }
    }
    *produced = length - zs.avail_out;
    return result;
}

uint32_t CSkinArchive::ExtractToMemory(int index, void* buffer, uint32_t length, uint32_t* written) {
    std::lock_guard<std::mutex> guard(lock_);
    if (written != nullptr) *written = 0;
    if (index < 0 || index >= EntryCount() || (buffer == nullptr && length != 0)) return kArchiveBadArguments;
    if (!extraction_ || extraction_->index != index) {
        const uint32_t begun = BeginExtraction(index);
        if (begun != kArchiveOk) return begun;
    }
    Extraction& x = *extraction_;
    if (x.complete) return kArchiveOk;

    const uint32_t left = x.uncompressedSize - x.produced;
    const uint32_t want = length < left ? length : left;
    uint32_t produced = 0;
    uint32_t result = kArchiveOk;
    if (want > 0) {
        uint8_t* out = static_cast<uint8_t*>(buffer);
        result = (x.method == kMethodStored) ? ExtractStored(out, want, &produced)
                                             : ExtractDeflated(out, want, &produced);
    }
    if (result != kArchiveOk) {
        EndExtraction();
        return result;
    }
    if (produced > 0)
        x.crc = static_cast<uint32_t>(crc32(x.crc, static_cast<const Bytef*>(buffer), produced));
    x.produced += produced;
    if (written != nullptr) *written = produced;
    if (x.produced == x.uncompressedSize) {
        x.complete = true;
        if (x.crc != x.expectedCrc) {
            EndExtraction();
            return kArchiveCorrupt;
        }
        return produced > 0 ? kArchiveMore : kArchiveOk;
    }
    return kArchiveMore;
}

}  // namespace SkinUI
