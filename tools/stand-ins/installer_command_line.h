#pragma once

// The full installer's command line as the installer program writes it:
//   "<installer>" /install /call_wnd <hwnd> /install_path "<folder>"
//   [/install_createshortcut] [/install_autorun]
// The folder usually ends in a backslash directly before its closing quote.
// Paths cannot contain quotes, so a quote always opens or closes a quoted
// stretch and a backslash is always a plain character; the usual argument
// splitting would read \" as an escaped quote and swallow the rest.

#include <string>
#include <vector>

namespace kelo::standin {

struct InstallerArguments {
    bool install = false;
    bool hasWindow = false;
    long long window = 0;
    bool hasInstallPath = false;
    std::wstring installPath;
    bool createShortcut = false;
    bool autorun = false;
    // Test behaviour: empty, "fail" or "stall".
    std::wstring mode;
};

// Splits at blanks outside quotes and drops the quotes; the program itself is
// the first token.
std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine);

// Reads the switches after the program token. Unknown tokens are ignored.
InstallerArguments ParseInstallerArguments(const std::wstring& commandLine);

}  // namespace kelo::standin
