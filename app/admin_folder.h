#pragma once

// The folder the full installer is started from. The download lies in the
// user's temporary folder, which every program of that user can write; the
// elevated start must not run anything from there.

#include <windows.h>

#include <string>

namespace kelo {

// Names of the folders this program makes; the next run removes old ones.
extern const wchar_t kInstallerFolderPrefix[];

// "<Windows folder>\Temp", without a trailing backslash: the system's own
// temporary folder, whose subfolders are not writable by other users.
std::wstring SystemTempFolder();

// A security descriptor whose DACL is protected (nothing inherited) and
// grants full control to Administrators and SYSTEM only, inherited by
// everything created inside.
class AdminOnlySecurity {
public:
    AdminOnlySecurity();
    AdminOnlySecurity(const AdminOnlySecurity&) = delete;
    AdminOnlySecurity& operator=(const AdminOnlySecurity&) = delete;

    bool IsValid() const { return valid_; }
    SECURITY_ATTRIBUTES* Attributes() { return valid_ ? &attributes_ : nullptr; }

private:
    BYTE administrators_[SECURITY_MAX_SID_SIZE] = {};
    BYTE system_[SECURITY_MAX_SID_SIZE] = {};
    BYTE acl_[256] = {};
    SECURITY_DESCRIPTOR descriptor_ = {};
    SECURITY_ATTRIBUTES attributes_ = {};
    bool valid_ = false;
};

// Creates base\<prefix><16 random hex digits> with AdminOnlySecurity; a name
// that already exists is never reused. False when no folder could be made.
bool CreateAdminOnlyFolder(const std::wstring& base, std::wstring& folder);

// Deletes the files directly inside the folder, then the folder. Folders that
// are reparse points, and subfolders, are left alone.
void RemoveInstallerFolder(const std::wstring& folder);

// Removes what earlier runs left under base. A folder whose installer is
// still running (or still held by a run in progress) cannot be removed and
// stays.
void RemoveStaleInstallerFolders(const std::wstring& base);

}  // namespace kelo
