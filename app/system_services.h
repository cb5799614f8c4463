#pragma once

// Thin synchronous wrappers over the Windows API shared by the installer.
// They keep no state apart from the version check's cache.

#include <windows.h>

#include <string>

namespace kelo {

// Raw value data of any registry type, taken as wide text up to its first NUL.
// Values whose data (with the terminating NUL) exceed 2600 bytes are refused
// and `out` is left unchanged.
bool ReadRegString(HKEY root, const std::wstring& subKey, const std::wstring& valueName, std::wstring& out);
void OpenUrl(const std::wstring& url, int showCommand);
bool IsWow64();
bool PathExists(const std::wstring& path, bool directoryOnly);
bool StartProcess(const std::wstring& application, const std::wstring& commandLine,
                  HANDLE* process = nullptr);
bool StartProcessAtMediumIntegrity(const std::wstring& commandLine);
// True on Windows 7 and later; the answer is cached after the first call.
bool IsSupportedWindows();
std::wstring FormatWide(const wchar_t* format, ...);
std::wstring AnsiToWide(const std::string& text);

}  // namespace kelo
