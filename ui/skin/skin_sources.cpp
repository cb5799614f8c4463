#include "ui/skin/skin_sources.h"

namespace SkinUI {

namespace {

struct Settings {
    UiString folder;
    UiString archiveName;
    bool keepOpen = true;
    CSkinArchive* openArchive = nullptr;
    void* resourceModule = nullptr;
};

Settings& TheSettings() {
    static Settings settings;
    return settings;
}

void CloseKeptArchive(Settings& s) {
    CSkinArchive::Close(s.openArchive);
    s.openArchive = nullptr;
}

}  // namespace

const UiChar* const SkinSources::kMemoryArchiveName = UI_TEXT("membuffer");

void SkinSources::SetSkinFolderPath(const UiChar* path) {
    UiString& folder = TheSettings().folder;
    folder = path;
    UiChar last = folder.At(folder.Length() - 1);
    if (!folder.IsEmpty() && last != '\\' && last != '/') folder += UiChar('\\');
}

const UiString& SkinSources::SkinFolderPath() {
    return TheSettings().folder;
}

void SkinSources::UseSkinArchiveFile(const UiChar* name, bool keepOpen) {
    Settings& s = TheSettings();
    if (s.archiveName == name && s.keepOpen == keepOpen) return;
    if (s.keepOpen) CloseKeptArchive(s);
    s.archiveName = name;
    s.keepOpen = keepOpen;
    if (keepOpen) s.openArchive = CSkinArchive::OpenFile((s.folder + s.archiveName).Data());
}

void SkinSources::UseSkinArchiveMemory(const void* bytes, size_t size) {
    Settings& s = TheSettings();
    if (s.archiveName == kMemoryArchiveName) return;
    if (s.keepOpen) CloseKeptArchive(s);
    s.archiveName = kMemoryArchiveName;
    if (s.keepOpen) s.openArchive = CSkinArchive::OpenMemory(bytes, size);
}

const UiString& SkinSources::SkinArchiveName() {
    return TheSettings().archiveName;
}

bool SkinSources::IsSkinArchiveKeptOpen() {
    return TheSettings().keepOpen;
}

CSkinArchive* SkinSources::OpenSkinArchive() {
    return TheSettings().openArchive;
}

void SkinSources::SetResourceModule(void* module) {
    TheSettings().resourceModule = module;
}

void* SkinSources::ResourceModule() {
    return TheSettings().resourceModule;
}

void SkinSources::Reset() {
    Settings& s = TheSettings();
    CloseKeptArchive(s);
    s.folder.Empty();
    s.archiveName.Empty();
    s.keepOpen = true;
    s.resourceModule = nullptr;
}

SkinFileStatus ReadFileBytes(const UiChar* path, size_t maxSize, std::vector<unsigned char>* bytes) {
    bytes->clear();
    ReadOnlyFile file;
    if (!file.Open(path)) return SkinFileStatus::kOpenFailed;
    uint64_t size = 0;
    if (!file.Size(&size)) return SkinFileStatus::kReadFailed;
    if (size == 0) return SkinFileStatus::kEmpty;
    if ((maxSize != 0 && size > maxSize) || size > SIZE_MAX / 2) return SkinFileStatus::kTooLarge;
    bytes->resize(static_cast<size_t>(size));
    if (!file.ReadAt(0, bytes->data(), bytes->size())) {
        bytes->clear();
        return SkinFileStatus::kReadFailed;
    }
    return SkinFileStatus::kOk;
}

SkinFileStatus ReadArchiveEntry(CSkinArchive* archive, const UiChar* name, size_t maxSize,
                                std::vector<unsigned char>* bytes) {
    bytes->clear();
    if (archive == nullptr) return SkinFileStatus::kOpenFailed;
    int index = -1;
    SkinArchiveEntry entry;
    if (archive->FindEntry(name, true, &index, &entry) != kArchiveOk) return SkinFileStatus::kNotFound;
    if (entry.uncompressedSize == 0) return SkinFileStatus::kEmpty;
    if (maxSize != 0 && entry.uncompressedSize > maxSize) return SkinFileStatus::kTooLarge;
    // Deflate expands at most 1032 to 1: a larger declared size is a lie, and
    // is refused before the buffer is allocated.
    if (entry.uncompressedSize > uint64_t(entry.compressedSize) * 1032 + 1024)
        return SkinFileStatus::kReadFailed;
    bytes->resize(entry.uncompressedSize);
    uint32_t written = 0;
    uint32_t result = archive->ExtractToMemory(index, bytes->data(), entry.uncompressedSize, &written);
    // One call with a buffer of the entry's size extracts it whole, so the
    // CRC is checked; anything short is a failure.
    if ((result != kArchiveOk && result != kArchiveMore) || written != entry.uncompressedSize) {
        bytes->clear();
        return SkinFileStatus::kReadFailed;
    }
    return SkinFileStatus::kOk;
}

SkinFileStatus ReadSkinFile(const UiChar* name, size_t maxSize, std::vector<unsigned char>* bytes,
                            bool* archiveUsed) {
    Settings& s = TheSettings();
    const bool useArchive = !s.archiveName.IsEmpty();
    if (archiveUsed != nullptr) *archiveUsed = useArchive;
    if (!useArchive) return ReadFileBytes((s.folder + name).Data(), maxSize, bytes);
    if (s.keepOpen) return ReadArchiveEntry(s.openArchive, name, maxSize, bytes);
    SkinArchivePtr archive(CSkinArchive::OpenFile((s.folder + s.archiveName).Data()));
    return ReadArchiveEntry(archive.get(), name, maxSize, bytes);
}

}  // namespace SkinUI
