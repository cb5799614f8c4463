#pragma once

// Helpers for tests that start real processes under Wine: build paths turned
// into Windows paths, scratch folders, the stand-ins' logs and bounded waits.

#include <windows.h>

#include <functional>
#include <map>
#include <string>

#include "app/install_view.h"

namespace kelo::testing {

// A path of the build tree ("/tmp/b/x.exe" under Wine's Z: drive) as a
// Windows path; Windows paths pass unchanged.
std::wstring WindowsPath(const char* buildPath);

// A fresh folder in the temporary folder, removed with its content at the end.
class ScratchFolder {
public:
    ScratchFolder();
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    // Without a trailing backslash.
    const std::wstring& Path() const { return path_; }

private:
    std::wstring path_;
};

bool WriteTextFile(const std::wstring& path, const std::string& content);
// The whole file's bytes; empty when it cannot be read.
std::string ReadFileBytes(const std::wstring& path);
// The file's size and MD5, as the worker would expect them.
ExpectedInstaller FileFacts(const std::wstring& path);
bool FileExists(const std::wstring& path);

// The "name=value" lines of a stand-in's log (UTF-8), widened.
std::map<std::string, std::wstring> ReadStandInLog(const std::wstring& path);

// Polls until the file exists or the time is up (the stand-ins write their
// logs in one rename, so an existing log is complete).
bool WaitForFile(const std::wstring& path, DWORD timeoutMs);

// Dispatches this thread's messages (cross-process sends included) until
// `done` holds or the time is up.
bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs);

// Waits for the process with this id to end; true when it has (or is gone).
bool WaitForProcessId(DWORD processId, DWORD timeoutMs);

}  // namespace kelo::testing
