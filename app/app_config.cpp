#include "app/app_config.h"

namespace kelo {

namespace {

std::wstring Widen(const char* ascii) {
    return std::wstring(ascii, ascii + std::char_traits<char>::length(ascii));
}

}  // namespace

const std::vector<std::string>& UpdateHostList() {
    static const std::vector<std::string> hosts{KELO_UPDATE_HOST};
    return hosts;
}

const std::wstring& WebsiteUrl() {
    static const std::wstring url = Widen(KELO_WEBSITE_URL);
    return url;
}

const wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BrightfenKeloVoice";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
const wchar_t kRunValueName[] = L"BrightfenKeloVoice";
const wchar_t kDisplayNameValue[] = L"DisplayName";
const wchar_t kInstallDirValue[] = L"InstallDir";
const wchar_t kCreateShortcutValue[] = L"CreateShortcut";
const wchar_t kCompatibilityKey[] =
    L"Software\\Microsoft\\Windows NT\\CurrentVersion\\AppCompatFlags\\Compatibility Assistant\\Persisted";

}  // namespace kelo
