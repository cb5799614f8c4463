#include "app/system_proxy.h"

#include <windows.h>
#include <winhttp.h>

#include <map>
#include <mutex>
#include <set>
#include <string>

#include "app/system_services.h"

namespace kelo {

namespace {

std::string Narrow(const wchar_t* text) {
    if (text == nullptr || *text == L'\0') return std::string();
    const int size = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (size <= 1) return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, &out[0], size, nullptr, nullptr);
    out.resize(static_cast<size_t>(size) - 1);
    return out;
}

// Strings WinHTTP hands over are released with GlobalFree.
class GlobalText {
public:
    ~GlobalText() {
        if (text_ != nullptr) GlobalFree(text_);
    }
    LPWSTR* Receive() { return &text_; }
    LPWSTR Get() const { return text_; }

private:
    LPWSTR text_ = nullptr;
};

struct IeSettings {
    bool autoDetect = false;
    std::wstring autoConfigUrl;
    std::string proxy;
    std::string bypass;

    bool Automatic() const { return autoDetect || !autoConfigUrl.empty(); }
    std::string Key() const {
        return (autoDetect ? "1" : "0") + Narrow(autoConfigUrl.c_str()) + '\n' + proxy + '\n' + bypass;
    }
};

bool ReadIeSettings(IeSettings& out) {
    WINHTTP_CURRENT_USER_IE_PROXY_CONFIG raw = {};
    if (!WinHttpGetIEProxyConfigForCurrentUser(&raw)) return false;
    GlobalText configUrl, proxy, bypass;
    *configUrl.Receive() = raw.lpszAutoConfigUrl;
    *proxy.Receive() = raw.lpszProxy;
    *bypass.Receive() = raw.lpszProxyBypass;
    out.autoDetect = raw.fAutoDetect != FALSE;
    if (configUrl.Get() != nullptr) out.autoConfigUrl = configUrl.Get();
    out.proxy = Narrow(proxy.Get());
    out.bypass = Narrow(bypass.Get());
    return true;
}

struct InternetDeleter {
    void operator()(void* handle) const { WinHttpCloseHandle(handle); }
};
using InternetHandle = std::unique_ptr<void, InternetDeleter>;

class SystemProxyResolver : public ProxyResolver {
public:
    static constexpr int kScriptTimeoutMs = 10000;

    ProxyChoice ForUrl(const std::string& url) override {
        IeSettings settings;
        if (!ReadIeSettings(settings)) return ProxyChoice();
        ProxyChoice choice;
        // As Windows does: a configuration that cannot be found or run falls
        // back to the fixed proxy.
        if (settings.Automatic() && FromScript(settings, url, choice)) return choice;
        if (!settings.proxy.empty()) return ChooseProxy(settings.proxy, settings.bypass, url);
        return ProxyChoice();
    }

private:
    bool FromScript(const IeSettings& settings, const std::string& url, ProxyChoice& choice) {
        UrlTarget target;
        if (!ParseUrlTarget(url, target)) return false;
        const std::string config = settings.Key();
        const std::string key =
            config + '\n' + target.scheme + "://" + target.host + ':' + std::to_string(target.port);
        // One lookup at a time: threads asking for the same host wait for the
        // first answer instead of detecting again.
        std::lock_guard<std::mutex> lock(lock_);
        if (unusable_.count(config) != 0) return false;
        const auto known = answers_.find(key);
        if (known != answers_.end()) {
            choice = known->second.choice;
            return known->second.found;
        }
        Answer answer;
        answer.found = Lookup(settings, url, answer.choice, config);
        answers_[key] = answer;
        choice = answer.choice;
        return answer.found;
    }

    bool Lookup(const IeSettings& settings, const std::string& url, ProxyChoice& choice,
                const std::string& config) {
        if (!session_) {
            session_.reset(WinHttpOpen(L"KeloVoiceSetup", WINHTTP_ACCESS_TYPE_NO_PROXY, WINHTTP_NO_PROXY_NAME,
                                       WINHTTP_NO_PROXY_BYPASS, 0));
            if (!session_) return false;
            // Bounds fetching a script: requests wait for the lookup.
            WinHttpSetTimeouts(session_.get(), kScriptTimeoutMs, kScriptTimeoutMs, kScriptTimeoutMs,
                               kScriptTimeoutMs);
        }
        WINHTTP_AUTOPROXY_OPTIONS options = {};
        if (settings.autoDetect) {
            options.dwFlags |= WINHTTP_AUTOPROXY_AUTO_DETECT;
            options.dwAutoDetectFlags = WINHTTP_AUTO_DETECT_TYPE_DHCP | WINHTTP_AUTO_DETECT_TYPE_DNS_A;
        }
        if (!settings.autoConfigUrl.empty()) {
            options.dwFlags |= WINHTTP_AUTOPROXY_CONFIG_URL;
            options.lpszAutoConfigUrl = settings.autoConfigUrl.c_str();
        }
        // The script's server may itself ask for the user's logon.
        options.fAutoLogonIfChallenged = TRUE;
        WINHTTP_PROXY_INFO info = {};
        const std::wstring wideUrl = AnsiToWide(url);
        if (!WinHttpGetProxyForUrl(session_.get(), wideUrl.c_str(), &options, &info)) {
            const DWORD error = GetLastError();
            // Nothing to detect or no script to fetch: the same for every
            // host, so later requests go straight to the fixed settings.
            if (error == ERROR_WINHTTP_AUTODETECTION_FAILED ||
                error == ERROR_WINHTTP_UNABLE_TO_DOWNLOAD_SCRIPT)
                unusable_.insert(config);
            return false;
        }
        GlobalText proxy, bypass;
        *proxy.Receive() = info.lpszProxy;
        *bypass.Receive() = info.lpszProxyBypass;
        choice = ProxyChoice();
        if (info.dwAccessType == WINHTTP_ACCESS_TYPE_NAMED_PROXY && proxy.Get() != nullptr)
            choice = ChooseScriptProxy(Narrow(proxy.Get()), url);
        return true;
    }

    struct Answer {
        bool found = false;
        ProxyChoice choice;
    };
    std::mutex lock_;
    InternetHandle session_;
    std::map<std::string, Answer> answers_;
    std::set<std::string> unusable_;
};

}  // namespace

std::shared_ptr<ProxyResolver> MakeSystemProxyResolver() {
    return std::make_shared<SystemProxyResolver>();
}

}  // namespace kelo
