#include "tools/stand-ins/installer_command_line.h"

#include <cwchar>

namespace kelo::standin {

std::vector<std::wstring> SplitCommandLine(const std::wstring& commandLine) {
    std::vector<std::wstring> tokens;
    std::wstring token;
    bool inToken = false;
    bool quoted = false;
    for (wchar_t c : commandLine) {
        if (c == L'"') {
            quoted = !quoted;
            inToken = true;
        } else if (!quoted && (c == L' ' || c == L'\t')) {
            if (inToken) tokens.push_back(token);
            token.clear();
            inToken = false;
        } else {
            token += c;
            inToken = true;
        }
    }
    if (inToken) tokens.push_back(token);
    return tokens;
}

namespace {

bool ParseSignedDecimal(const std::wstring& text, long long& value) {
    if (text.empty()) return false;
    wchar_t* end = nullptr;
    value = std::wcstoll(text.c_str(), &end, 10);
    return end != nullptr && *end == L'\0';
}

}  // namespace

InstallerArguments ParseInstallerArguments(const std::wstring& commandLine) {
    const std::vector<std::wstring> tokens = SplitCommandLine(commandLine);
    InstallerArguments arguments;
    for (size_t i = 1; i < tokens.size(); ++i) {
        const std::wstring& token = tokens[i];
        const bool hasValue = i + 1 < tokens.size();
        if (token == L"/install") {
            arguments.install = true;
        } else if (token == L"/call_wnd" && hasValue) {
            arguments.hasWindow = ParseSignedDecimal(tokens[++i], arguments.window);
        } else if (token == L"/install_path" && hasValue) {
            arguments.installPath = tokens[++i];
            arguments.hasInstallPath = true;
        } else if (token == L"/install_createshortcut") {
            arguments.createShortcut = true;
        } else if (token == L"/install_autorun") {
            arguments.autorun = true;
        } else if (token == L"/standin_mode" && hasValue) {
            arguments.mode = tokens[++i];
        }
    }
    return arguments;
}

}  // namespace kelo::standin
