#pragma once

// From the verified download to the program that is started: the download is
// held so that nobody can write or delete it, checked once more through that
// handle, copied from it into an administrators-only folder, and the copy is
// checked and held the same way until the full installer has been started.

#include <windows.h>

#include <functional>
#include <string>

#include "app/install_view.h"
#include "app/scoped_handle.h"

namespace kelo {

enum class StagingResult {
    Ready,
    NotStarted,  // the download cannot be held, or the folder cannot be made or filled
    BadSize,     // the download is not the expected size
    BadMd5,      // the download, or its copy, is not the verified bytes
};

// Points where tests act between the steps.
struct StagingHooks {
    // The copy is written and closed, and not yet checked.
    std::function<void(const std::wstring& download, const std::wstring& copy)> afterCopy;
    // Both files are checked and held; the installer is started next.
    std::function<void(const std::wstring& download, const std::wstring& copy)> beforeStart;
};

// Opens a file for reading while refusing any other writer or deleter. Fails
// while someone else has it open for writing.
ScopedHandle OpenHeldForReading(const std::wstring& path);

// Size and MD5 of everything readable through the handle, from the start.
bool DigestThroughHandle(HANDLE file, int64_t& size, std::string& md5);

class StagedInstaller {
public:
    StagedInstaller() = default;
    // Closes both held files; the folder stays for the started installer.
    ~StagedInstaller() = default;
    StagedInstaller(const StagedInstaller&) = delete;
    StagedInstaller& operator=(const StagedInstaller&) = delete;

    // `base` is where the folder is made (normally SystemTempFolder()). An
    // expectation left unknown (size 0, empty MD5) is not compared; the copy
    // is still checked against the bytes read from the download.
    StagingResult Stage(const std::wstring& download, const ExpectedInstaller& expected,
                        const std::wstring& base, const StagingHooks& hooks = StagingHooks());

    const std::wstring& Program() const { return program_; }
    const std::wstring& Folder() const { return folder_; }

    // Lets go of both files and removes the folder (nothing was started).
    void Discard();

private:
    StagingResult Fail(StagingResult result);

    ScopedHandle download_;
    ScopedHandle copy_;
    std::wstring folder_;
    std::wstring program_;
};

}  // namespace kelo
