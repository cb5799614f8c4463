#include "tests/app/process_test_support.h"

#include <vector>

#include "app/scoped_handle.h"
#include "net/md5.h"

namespace kelo::testing {

namespace {

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(size), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    return wide;
}

void RemoveTree(const std::wstring& folder) {
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::wstring name = found.cFileName;
            if (name == L"." || name == L"..") continue;
            const std::wstring path = folder + L"\\" + name;
            if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
                RemoveTree(path);
            } else {
                SetFileAttributesW(path.c_str(), FILE_ATTRIBUTE_NORMAL);
                DeleteFileW(path.c_str());
            }
        } while (FindNextFileW(search, &found));
        FindClose(search);
    }
    RemoveDirectoryW(folder.c_str());
}

}  // namespace

std::wstring WindowsPath(const char* buildPath) {
    std::wstring path = Utf8ToWide(buildPath);
    if (!path.empty() && path[0] == L'/') path = L"Z:" + path;
    for (wchar_t& c : path) {
        if (c == L'/') c = L'\\';
    }
    return path;
}

ScratchFolder::ScratchFolder() {
    static int counter = 0;
    wchar_t temp[MAX_PATH + 1] = {};
    GetTempPathW(MAX_PATH + 1, temp);
    path_ = std::wstring(temp) + L"kelo-test-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
            std::to_wstring(++counter);
    RemoveTree(path_);
    CreateDirectoryW(path_.c_str(), nullptr);
}

ScratchFolder::~ScratchFolder() {
    RemoveTree(path_);
}

bool WriteTextFile(const std::wstring& path, const std::string& content) {
    ScopedHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) &&
           written == content.size();
}

std::string ReadFileBytes(const std::wstring& path) {
    std::string content;
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    char buffer[65536];
    DWORD read = 0;
    while (file.IsValid() && ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    return content;
}

ExpectedInstaller FileFacts(const std::wstring& path) {
    const std::string bytes = ReadFileBytes(path);
    return {static_cast<int64_t>(bytes.size()), Md5(bytes).HexDigest()};
}

bool FileExists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::map<std::string, std::wstring> ReadStandInLog(const std::wstring& path) {
    std::map<std::string, std::wstring> entries;
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid()) return entries;
    std::string content;
    char buffer[4096];
    DWORD read = 0;
    while (ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
        content.append(buffer, read);
    size_t start = 0;
    while (start < content.size()) {
        size_t end = content.find('\n', start);
        if (end == std::string::npos) end = content.size();
        const std::string line = content.substr(start, end - start);
        const size_t equals = line.find('=');
        if (equals != std::string::npos)
            entries[line.substr(0, equals)] = Utf8ToWide(line.substr(equals + 1));
        start = end + 1;
    }
    return entries;
}

bool WaitForFile(const std::wstring& path, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    while (!FileExists(path)) {
        if (GetTickCount64() >= deadline) return false;
        Sleep(20);
    }
    return true;
}

bool PumpMessagesUntil(const std::function<bool()>& done, DWORD timeoutMs) {
    const ULONGLONG deadline = GetTickCount64() + timeoutMs;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        const DWORD wait = static_cast<DWORD>(deadline - now < 50 ? deadline - now : 50);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, wait, QS_ALLINPUT);
    }
}

bool WaitForProcessId(DWORD processId, DWORD timeoutMs) {
    ScopedHandle process(OpenProcess(SYNCHRONIZE, FALSE, processId));
    if (!process.IsValid()) return true;
    return WaitForSingleObject(process.Get(), timeoutMs) == WAIT_OBJECT_0;
}

}  // namespace kelo::testing
