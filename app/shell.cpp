#include "app/system_services.h"

#include <shellapi.h>

#include "app/url_opener.h"

namespace kelo {

void OpenUrlWith(ShellExecuteCall shellExecute, const std::wstring& url, int showCommand) {
    // ShellExecute answers with a value above 32 on success.
    const auto opened =
        reinterpret_cast<INT_PTR>(shellExecute(nullptr, L"open", url.c_str(), nullptr, nullptr, showCommand));
    if (opened > 32) return;
    // No handler for the URL: hand it to the browser every Windows has.
    shellExecute(nullptr, L"open", L"IEXPLORE.EXE", url.c_str(), nullptr, showCommand);
}

void OpenUrl(const std::wstring& url, int showCommand) {
    OpenUrlWith(&ShellExecuteW, url, showCommand);
}

bool PathExists(const std::wstring& path, bool directoryOnly) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) return false;
    return !directoryOnly || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace kelo
