#pragma once

// OpenUrl over a given ShellExecuteW, so tests can see the fallback without
// starting a browser.

#include <windows.h>

#include <string>

namespace kelo {

using ShellExecuteCall = HINSTANCE(WINAPI*)(HWND window, const wchar_t* verb, const wchar_t* file,
                                            const wchar_t* parameters, const wchar_t* directory,
                                            INT showCommand);

void OpenUrlWith(ShellExecuteCall shellExecute, const std::wstring& url, int showCommand);

}  // namespace kelo
