// SkinSources: the process-wide settings that say where skin files come from.
//
// Skin files are read from the skin folder, or, when an archive name is set,
// from that archive: the archive kept open (the default), or opened by name
// from the skin folder for each load. The name "membuffer" stands for an
// archive held in memory, which only works kept open. Images of a resource
// type come from the resource module (Windows only).
//
// The settings are made at start-up on the UI thread and read by every load;
// they are not locked. CManagerUI exposes them as its static settings.
#pragma once

#include <cstddef>
#include <vector>

#include "ui/core/ui_string.h"
#include "ui/skin/skin_archive.h"

namespace SkinUI {

class SkinSources {
public:
    static const UiChar* const kMemoryArchiveName;  // "membuffer"

    // Stores the folder; a non-empty path that does not end in "\" or "/"
    // gets "\" appended.
    static void SetSkinFolderPath(const UiChar* path);
    static const UiString& SkinFolderPath();

    // Uses the archive file name (relative to the skin folder). Nothing
    // happens when neither the name nor keepOpen changes; otherwise a kept-open
    // archive is closed, and with keepOpen the new one is opened and kept.
    static void UseSkinArchiveFile(const UiChar* name, bool keepOpen);
    // Uses an archive held in memory, which must stay valid while it is used.
    // Nothing happens when the archive is already the memory archive, so a
    // second call keeps the first block.
    static void UseSkinArchiveMemory(const void* bytes, size_t size);
    static const UiString& SkinArchiveName();
    static bool IsSkinArchiveKeptOpen();
    static CSkinArchive* OpenSkinArchive();

    // The module whose resources hold resource-type images (HMODULE on
    // Windows); null means none.
    static void SetResourceModule(void* module);
    static void* ResourceModule();

    // Back to the start-up state (empty folder, no archive, kept open); for
    // tests and tools.
    static void Reset();
};

// Why a skin file could not be read.
enum class SkinFileStatus {
    kOk,
    kOpenFailed,  // the file (or archive) cannot be opened
    kNotFound,    // no archive entry of that name
    kEmpty,       // size 0
    kTooLarge,    // more than the limit
    kReadFailed,  // short read, or the archive entry cannot be extracted
};

// Reads a skin file whole from the skin folder or the skin archive, as the
// settings say. maxSize 0 means no limit. archiveUsed (optional) tells whether
// the archive route was taken.
SkinFileStatus ReadSkinFile(const UiChar* name, size_t maxSize, std::vector<unsigned char>* bytes,
                            bool* archiveUsed = nullptr);

// Reads a file by its path (absolute, or relative to the current folder).
SkinFileStatus ReadFileBytes(const UiChar* path, size_t maxSize, std::vector<unsigned char>* bytes);

// Reads an entry of an archive whole (ignoring case in its name).
SkinFileStatus ReadArchiveEntry(CSkinArchive* archive, const UiChar* name, size_t maxSize,
                                std::vector<unsigned char>* bytes);

}  // namespace SkinUI
