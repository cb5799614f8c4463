#include "app/system_proxy.h"

#include <curl/curl.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <fstream>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "app/install_worker.h"
#include "net/http_client.h"
#include "recording_view.h"

namespace kelo {
namespace {

const wchar_t kInternetSettings[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings";
const wchar_t kConnections[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Internet Settings\\Connections";

std::string ReadFile(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
}

std::string FirstLine(const std::string& path) {
    std::ifstream file(path);
    std::string line;
    std::getline(file, line);
    return line;
}

// The values a test changes, as they were before it; put back when it ends.
class SavedRegistryValue {
public:
    SavedRegistryValue(const wchar_t* key, const wchar_t* name) : key_(key), name_(name) {
        HKEY handle = nullptr;
        if (RegOpenKeyExW(HKEY_CURRENT_USER, key, 0, KEY_READ, &handle) != ERROR_SUCCESS) return;
        DWORD size = 0;
        if (RegQueryValueExW(handle, name, nullptr, &type_, nullptr, &size) == ERROR_SUCCESS) {
            data_.resize(size);
            present_ = RegQueryValueExW(handle, name, nullptr, &type_, data_.data(), &size) == ERROR_SUCCESS;
            data_.resize(size);
        }
        RegCloseKey(handle);
    }
    ~SavedRegistryValue() {
        HKEY handle = nullptr;
        if (RegCreateKeyExW(HKEY_CURRENT_USER, key_.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &handle,
                            nullptr) != ERROR_SUCCESS)
            return;
        if (present_) {
            RegSetValueExW(handle, name_.c_str(), 0, type_, data_.data(), static_cast<DWORD>(data_.size()));
        } else {
            RegDeleteValueW(handle, name_.c_str());
        }
        RegCloseKey(handle);
    }
    SavedRegistryValue(const SavedRegistryValue&) = delete;
    SavedRegistryValue& operator=(const SavedRegistryValue&) = delete;

private:
    std::wstring key_, name_;
    bool present_ = false;
    DWORD type_ = 0;
    std::vector<BYTE> data_;
};

bool KeyExists(const wchar_t* path) {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, path, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
}

// Internet Options' connection settings, as the dialog leaves them.
struct ProxySettings {
    bool useProxy = false;
    std::string server;       // "host:port" or "http=host:port;https=host:port"
    std::string bypass;       // "<local>;*.corp"
    std::string scriptUrl;    // automatic configuration script
    bool autoDetect = false;  // WPAD
};

void SetValue(HKEY key, const wchar_t* name, DWORD type, const void* data, size_t size) {
    RegSetValueExW(key, name, 0, type, static_cast<const BYTE*>(data), static_cast<DWORD>(size));
}

void SetText(HKEY key, const wchar_t* name, const std::string& text) {
    const std::wstring wide(text.begin(), text.end());
    SetValue(key, name, REG_SZ, wide.c_str(), (wide.size() + 1) * sizeof(wchar_t));
}

// Windows keeps the settings twice: as plain values (read by older
// programs) and as the binary DefaultConnectionSettings record, which is what
// WinHTTP reads (so does Wine's): version 0x46, a change counter, the flags
// (1 direct, 2 fixed proxy, 4 script, 8 detection), then the proxy list, the
// bypass list and the script URL, each as a length and its bytes.
void WriteProxySettings(const ProxySettings& s) {
    static DWORD changes = 0;
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kInternetSettings, 0, nullptr, 0, KEY_WRITE, nullptr, &key,
                              nullptr),
              ERROR_SUCCESS);
    const DWORD enable = s.useProxy ? 1 : 0;
    SetValue(key, L"ProxyEnable", REG_DWORD, &enable, sizeof enable);
    SetText(key, L"ProxyServer", s.server);
    SetText(key, L"ProxyOverride", s.bypass);
    if (s.scriptUrl.empty()) {
        RegDeleteValueW(key, L"AutoConfigURL");
    } else {
        SetText(key, L"AutoConfigURL", s.scriptUrl);
    }
    RegCloseKey(key);

    std::vector<BYTE> record;
    auto add32 = [&record](DWORD value) {
        for (int i = 0; i < 4; ++i) record.push_back(static_cast<BYTE>(value >> (8 * i)));
    };
    auto addText = [&](const std::string& text) {
        add32(static_cast<DWORD>(text.size()));
        record.insert(record.end(), text.begin(), text.end());
    };
    add32(0x46);
    add32(++changes);
    add32(1 | (s.useProxy ? 2 : 0) | (s.scriptUrl.empty() ? 0 : 4) | (s.autoDetect ? 8 : 0));
    addText(s.server);
    addText(s.bypass);
    addText(s.scriptUrl);
    record.resize(record.size() + 32, 0);
    ASSERT_EQ(
        RegCreateKeyExW(HKEY_CURRENT_USER, kConnections, 0, nullptr, 0, KEY_WRITE, nullptr, &key, nullptr),
        ERROR_SUCCESS);
    SetValue(key, L"DefaultConnectionSettings", REG_BINARY, record.data(), record.size());
    RegCloseKey(key);
}

// What tinyproxy logged since `from` bytes: one "METHOD target" per request.
std::vector<std::string> ProxiedRequests(const std::string& log, size_t from) {
    static const std::regex request(R"(\]: Request \(file descriptor \d+\): (\S+ \S+))");
    std::vector<std::string> out;
    std::istringstream lines(log.substr(std::min(from, log.size())));
    std::string line;
    std::smatch match;
    while (std::getline(lines, line)) {
        if (std::regex_search(line, match, request)) out.push_back(match[1]);
    }
    return out;
}

bool AnyContains(const std::vector<std::string>& lines, const std::string& part) {
    for (const std::string& line : lines) {
        if (line.find(part) != std::string::npos) return true;
    }
    return false;
}

class SystemProxy : public ::testing::Test {
protected:
    void SetUp() override {
        const char* service = std::getenv("KELO_TEST_SERVICE_DIR");
        const char* proxy = std::getenv("KELO_TEST_PROXY_DIR");
        if (service == nullptr || proxy == nullptr)
            GTEST_SKIP() << "no update service and proxy (run through with-service and with-proxy)";
        service_ = service;
        proxyDir_ = proxy;
        base_ = FirstLine(service_ + "/base_url");
        proxyPort_ = FirstLine(proxyDir_ + "/port");
        scriptPort_ = FirstLine(proxyDir_ + "/pac_port");
        ASSERT_FALSE(base_.empty());
        ASSERT_FALSE(proxyPort_.empty());
        const std::string info = ReadFile(service_ + "/www/pl/dl_info.json");
        static const std::regex mirror(R"re("https://127\.0\.0\.1:(\d+)/files/)re");
        for (std::sregex_iterator it(info.begin(), info.end(), mirror), end; it != end; ++it)
            ports_.push_back((*it)[1]);
        ASSERT_EQ(ports_.size(), 3u) << "the updater and two mirrors";

        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "kelo-proxy-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
        HttpClient::SetProxyResolver(MakeSystemProxyResolver());
    }
    void TearDown() override {
        HttpClient::SetProxyResolver(nullptr);
        if (!folder_.empty()) RemoveDirectoryA(folder_.c_str());
    }

    // One worker run from `host` with a fresh target file; returns the
    // requests the proxy saw during it.
    std::vector<std::string> RunWorker(const std::string& host) {
        const size_t before = ReadFile(proxyDir_ + "/access.log").size();
        WorkerEnvironment env;
        env.hosts = {host};
        env.isWow64 = +[] { return false; };
        env.tempFolder = folder_;
        auto view = std::make_shared<RecordingView>();
        EXPECT_EQ(RunInstallWorker(view, env), WorkerOk);
        EXPECT_TRUE(view->Stages().empty()) << (view->Stages().empty() ? "" : "failed stage shown");
        EXPECT_EQ(view->Completions(), 1);
        DeleteFileW(view->InstallerPath().c_str());
        return ProxiedRequests(ReadFile(proxyDir_ + "/access.log"), before);
    }

    std::string Proxy() const { return "127.0.0.1:" + proxyPort_; }
    std::string Target(size_t source) const { return "127.0.0.1:" + ports_[source]; }

    // A Connections key the test had to create goes again with the values.
    struct KeyCleanup {
        bool existed = KeyExists(kConnections);
        ~KeyCleanup() {
            if (!existed) RegDeleteKeyW(HKEY_CURRENT_USER, kConnections);
        }
    } connectionsKey_;
    SavedRegistryValue saved_[5] = {
        {kInternetSettings, L"ProxyEnable"},          {kInternetSettings, L"ProxyServer"},
        {kInternetSettings, L"ProxyOverride"},        {kInternetSettings, L"AutoConfigURL"},
        {kConnections, L"DefaultConnectionSettings"},
    };
    std::string service_, proxyDir_, base_, proxyPort_, scriptPort_;
    std::vector<std::string> ports_;  // updater (the update host), mirror 1, mirror 2
    std::string folder_;
};

TEST_F(SystemProxy, WorkerRequestsFollowTheUsersSettingsPerHost) {
    const std::string localhost = "https://localhost:" + ports_[0];
    const struct Case {
        const char* name;
        ProxySettings settings;
        std::string host;                     // the update host the worker probes
        std::vector<std::string> proxied;     // must appear as CONNECT targets
        std::vector<std::string> notProxied;  // must never reach the proxy
        bool nothing;                         // the proxy sees no request at all
    } cases[] = {
        {"fixed proxy, one mirror bypassed by host and port",
         {true, Proxy(), "<-loopback>;" + Target(2), "", false},
         base_,
         {"CONNECT " + Target(0)},
         {Target(2)},
         false},
        {"per-scheme form, update host bypassed as <local>",
         {true, "http=" + Proxy() + ";https=" + Proxy(), "<local>;<-loopback>", "", false},
         localhost,
         {"CONNECT " + Target(0)},
         {"localhost"},
         false},
        {"loopback hosts are bypassed unless the list says otherwise",
         {true, Proxy(), "<local>", "", false},
         base_,
         {},
         {},
         true},
        {"a scheme without its own entry goes direct",
         {true, "http=" + Proxy(), "<-loopback>", "", false},
         base_,
         {},
         {},
         true},
        {"proxy switched off: the stored server is not used",
         {false, Proxy(), "<-loopback>", "", false},
         base_,
         {},
         {},
         true},
        {"configuration script decides per host",
         {false, "", "", "http://127.0.0.1:" + scriptPort_ + "/proxy.pac", false},
         localhost,
         {"CONNECT " + Target(0)},
         {"localhost"},
         false},
        {"no script to fetch: the fixed proxy serves",
         {true, Proxy(), "<-loopback>", "http://127.0.0.1:1/proxy.pac", false},
         base_,
         {"CONNECT " + Target(0)},
         {},
         false},
        {"nothing detected: the fixed proxy serves",
         {true, Proxy(), "<-loopback>", "", true},
         base_,
         {"CONNECT " + Target(0)},
         {},
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteProxySettings(c.settings);
        const std::vector<std::string> seen = RunWorker(c.host);
        std::string all;
        for (const std::string& line : seen) all += line + "\n";
        SCOPED_TRACE("proxy saw:\n" + all);
        if (c.nothing) {
            EXPECT_TRUE(seen.empty());
        }
        for (const std::string& part : c.proxied) EXPECT_TRUE(AnyContains(seen, part)) << part;
        for (const std::string& part : c.notProxied) EXPECT_FALSE(AnyContains(seen, part)) << part;
        // Every request through the proxy is a tunnel to a mirror or the update host.
        for (const std::string& line : seen) EXPECT_EQ(line.rfind("CONNECT 127.0.0.1:", 0), 0u) << line;
    }
}

// The logon answer to a proxy's authentication request needs SSPI with
// Negotiate and NTLM in the libcurl the program links.
TEST(SystemProxyBuild, LibcurlAnswersProxyAuthenticationWithTheWindowsLogon) {
    const curl_version_info_data* info = curl_version_info(CURLVERSION_NOW);
    ASSERT_NE(info, nullptr);
    EXPECT_NE(info->features & CURL_VERSION_SSPI, 0);
    EXPECT_NE(info->features & CURL_VERSION_NTLM, 0);
    EXPECT_NE(info->features & CURL_VERSION_SPNEGO, 0);
}

}  // namespace
}  // namespace kelo
