#pragma once

// The program's fixed configuration: compiled in, never read from a file or
// the command line, and never changed after start-up.

#include <string>
#include <vector>

namespace kelo {

// Base URLs of the update service (scheme and host, no trailing slash).
const std::vector<std::string>& UpdateHostList();
// Base URL of the product web site ("/im" and "/im/agreement.html" are appended).
const std::wstring& WebsiteUrl();

extern const wchar_t kUninstallKey[];  // under HKEY_LOCAL_MACHINE
extern const wchar_t kRunKey[];        // under HKEY_CURRENT_USER
extern const wchar_t kRunValueName[];
extern const wchar_t kDisplayNameValue[];
extern const wchar_t kInstallDirValue[];
extern const wchar_t kCreateShortcutValue[];
extern const wchar_t kCompatibilityKey[];  // under HKEY_CURRENT_USER

}  // namespace kelo
