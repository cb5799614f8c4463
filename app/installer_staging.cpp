#include "app/installer_staging.h"

#include <vector>

#include "app/admin_folder.h"
#include "net/md5.h"

namespace kelo {

namespace {

std::wstring FileNameOf(const std::wstring& path) {
    const size_t slash = path.find_last_of(L"\\/");
    return slash == std::wstring::npos ? path : path.substr(slash + 1);
}

bool Rewind(HANDLE file) {
    LARGE_INTEGER start = {};
    return SetFilePointerEx(file, start, nullptr, FILE_BEGIN) != 0;
}

// Reads everything readable through the handle, from the start, into the
// digest and hands each chunk on to `sink` (which may refuse it).
bool ReadAll(HANDLE file, int64_t& size, std::string& md5,
             const std::function<bool(const char*, DWORD)>& sink = nullptr) {
    if (!Rewind(file)) return false;
    std::vector<char> buffer(Md5::kFileChunk);
    Md5 digest;
    size = 0;
    for (;;) {
        DWORD read = 0;
        if (!ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr)) return false;
        if (read == 0) break;
        if (sink && !sink(buffer.data(), read)) return false;
        digest.Update(buffer.data(), read);
        size += read;
    }
    md5 = digest.HexDigest();
    return true;
}

bool CopyThroughHandle(HANDLE from, HANDLE to, int64_t& size, std::string& md5) {
    const bool copied = ReadAll(from, size, md5, [to](const char* data, DWORD length) {
        DWORD written = 0;
        return WriteFile(to, data, length, &written, nullptr) && written == length;
    });
    return copied && FlushFileBuffers(to) != 0;
}

}  // namespace

ScopedHandle OpenHeldForReading(const std::wstring& path) {
    // Sharing read only: while this handle is open no one can open the file
    // for writing or deleting, and opening fails while someone already has.
    return ScopedHandle(CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
}

bool DigestThroughHandle(HANDLE file, int64_t& size, std::string& md5) {
    return ReadAll(file, size, md5);
}

StagingResult StagedInstaller::Stage(const std::wstring& download, const ExpectedInstaller& expected,
                                     const std::wstring& base, const StagingHooks& hooks) {
    Discard();
    download_ = OpenHeldForReading(download);
    if (!download_.IsValid()) return Fail(StagingResult::NotStarted);

    LARGE_INTEGER fileSize = {};
    if (!GetFileSizeEx(download_.Get(), &fileSize)) return Fail(StagingResult::NotStarted);
    if (expected.size > 0 && fileSize.QuadPart != expected.size) return Fail(StagingResult::BadSize);

    if (!CreateAdminOnlyFolder(base, folder_)) return Fail(StagingResult::NotStarted);
    program_ = folder_ + L"\\" + FileNameOf(download);

    int64_t copiedSize = 0;
    std::string copiedMd5;
    {
        // The copy takes the folder's DACL; no one else may open it meanwhile.
        ScopedHandle writer(CreateFileW(program_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                                        FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!writer.IsValid() || !CopyThroughHandle(download_.Get(), writer.Get(), copiedSize, copiedMd5))
            return Fail(StagingResult::NotStarted);
    }
    if (copiedSize != fileSize.QuadPart) return Fail(StagingResult::BadSize);
    if (!expected.md5.empty() && copiedMd5 != expected.md5) return Fail(StagingResult::BadMd5);

    if (hooks.afterCopy) hooks.afterCopy(download, program_);

    // Checked through the handle that is held until the start, so the program
    // started is the program checked.
    copy_ = OpenHeldForReading(program_);
    int64_t heldSize = 0;
    std::string heldMd5;
    if (!copy_.IsValid() || !DigestThroughHandle(copy_.Get(), heldSize, heldMd5))
        return Fail(StagingResult::NotStarted);
    if (heldSize != copiedSize || heldMd5 != copiedMd5) return Fail(StagingResult::BadMd5);

    if (hooks.beforeStart) hooks.beforeStart(download, program_);
    return StagingResult::Ready;
}

void StagedInstaller::Discard() {
    download_.Reset();
    copy_.Reset();
    if (!folder_.empty()) RemoveInstallerFolder(folder_);
    folder_.clear();
    program_.clear();
}

StagingResult StagedInstaller::Fail(StagingResult result) {
    Discard();
    return result;
}

}  // namespace kelo
