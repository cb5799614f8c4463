#include "app/admin_folder.h"

#include <ntsecapi.h>

#include "app/scoped_handle.h"

namespace kelo {

const wchar_t kInstallerFolderPrefix[] = L"KeloSetup-";

namespace {

constexpr int kNameAttempts = 8;

std::wstring RandomHex16() {
    unsigned char bytes[8] = {};
    // From advapi32, which the program imports anyway (bcrypt.dll would be one
    // more DLL the loader looks for beside the program).
    if (!RtlGenRandom(bytes, sizeof bytes)) return std::wstring();
    static const wchar_t kDigits[] = L"0123456789abcdef";
    std::wstring text;
    for (unsigned char b : bytes) {
        text += kDigits[b >> 4];
        text += kDigits[b & 15];
    }
    return text;
}

// Opens the folder itself (not what a reparse point names) and keeps it from
// being renamed or replaced while it is emptied.
ScopedHandle OpenPlainFolder(const std::wstring& folder) {
    ScopedHandle handle(CreateFileW(folder.c_str(), FILE_LIST_DIRECTORY | FILE_READ_ATTRIBUTES | SYNCHRONIZE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                                    FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!handle.IsValid()) return ScopedHandle();
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!GetFileInformationByHandle(handle.Get(), &info)) return ScopedHandle();
    const DWORD attributes = info.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY) || (attributes & FILE_ATTRIBUTE_REPARSE_POINT))
        return ScopedHandle();
    return handle;
}

}  // namespace

std::wstring SystemTempFolder() {
    wchar_t windows[MAX_PATH] = {};
    const UINT length = GetSystemWindowsDirectoryW(windows, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return std::wstring();
    std::wstring folder(windows, length);
    if (folder.back() != L'\\') folder += L'\\';
    return folder + L"Temp";
}

AdminOnlySecurity::AdminOnlySecurity() {
    DWORD size = sizeof administrators_;
    if (!CreateWellKnownSid(WinBuiltinAdministratorsSid, nullptr, administrators_, &size)) return;
    size = sizeof system_;
    if (!CreateWellKnownSid(WinLocalSystemSid, nullptr, system_, &size)) return;

    auto* acl = reinterpret_cast<ACL*>(acl_);
    constexpr DWORD kInherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    if (!InitializeAcl(acl, sizeof acl_, ACL_REVISION) ||
        !AddAccessAllowedAceEx(acl, ACL_REVISION, kInherit, FILE_ALL_ACCESS, administrators_) ||
        !AddAccessAllowedAceEx(acl, ACL_REVISION, kInherit, FILE_ALL_ACCESS, system_)) {
        return;
    }
    // Protected: the ACEs of the temporary folder above (which lets users
    // create files) are not inherited.
    if (!InitializeSecurityDescriptor(&descriptor_, SECURITY_DESCRIPTOR_REVISION) ||
        !SetSecurityDescriptorDacl(&descriptor_, TRUE, acl, FALSE) ||
        !SetSecurityDescriptorControl(&descriptor_, SE_DACL_PROTECTED, SE_DACL_PROTECTED)) {
        return;
    }
    attributes_.nLength = sizeof attributes_;
    attributes_.lpSecurityDescriptor = &descriptor_;
    attributes_.bInheritHandle = FALSE;
    valid_ = true;
}

bool CreateAdminOnlyFolder(const std::wstring& base, std::wstring& folder) {
    AdminOnlySecurity security;
    if (!security.IsValid() || base.empty()) return false;
    for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
        const std::wstring random = RandomHex16();
        if (random.empty()) return false;
        const std::wstring candidate = base + L"\\" + kInstallerFolderPrefix + random;
        // Fails on an existing name, so a folder someone prepared is never used.
        if (CreateDirectoryW(candidate.c_str(), security.Attributes())) {
            folder = candidate;
            return true;
        }
        if (GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    return false;
}

void RemoveInstallerFolder(const std::wstring& folder) {
    {
        ScopedHandle held = OpenPlainFolder(folder);
        if (!held.IsValid()) return;
        WIN32_FIND_DATAW found = {};
        HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) continue;
                const std::wstring path = folder + L"\\" + found.cFileName;
                if (found.dwFileAttributes & FILE_ATTRIBUTE_READONLY)
                    SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            } while (FindNextFileW(search, &found));
            FindClose(search);
        }
    }
    RemoveDirectoryW(folder.c_str());
}

void RemoveStaleInstallerFolders(const std::wstring& base) {
    if (base.empty()) return;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((base + L"\\" + kInstallerFolderPrefix + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return;
    do {
        if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
            !(found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)) {
            RemoveInstallerFolder(base + L"\\" + found.cFileName);
        }
    } while (FindNextFileW(search, &found));
    FindClose(search);
}

}  // namespace kelo
