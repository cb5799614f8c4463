#include "app/app_config.h"

#include <cstdlib>

namespace kelo {

namespace {

std::wstring Widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

#ifdef KELO_HOSTS_FROM_ENVIRONMENT
// The end-to-end test build only (never shipped): the tests run their own
// service on a free port and name it here, so parallel runs share nothing.
std::string Configured(const char* variable, const char* compiledIn) {
    const char* value = std::getenv(variable);
    return value != nullptr && value[0] != 0 ? value : compiledIn;
}
#else
std::string Configured(const char*, const char* compiledIn) {
    return compiledIn;
}
#endif

}  // namespace

const std::vector<std::string>& UpdateHostList() {
    static const std::vector<std::string> hosts{Configured("KELO_E2E_UPDATE_HOST", KELO_UPDATE_HOST)};
    return hosts;
}

const std::wstring& WebsiteUrl() {
    static const std::wstring url = Widen(Configured("KELO_E2E_WEBSITE_URL", KELO_WEBSITE_URL));
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
