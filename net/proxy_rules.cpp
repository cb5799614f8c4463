#include "net/proxy_rules.h"

#include <cctype>
#include <cstdlib>

namespace kelo {

namespace {

std::string Lower(std::string text) {
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

bool IsSeparator(char c, bool commas) {
    return c == ';' || (commas && c == ',') || std::isspace(static_cast<unsigned char>(c));
}

std::vector<std::string> SplitEntries(const std::string& text, bool commas) {
    std::vector<std::string> entries;
    std::string current;
    for (char c : text) {
        if (IsSeparator(c, commas)) {
            if (!current.empty()) entries.push_back(current);
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.empty()) entries.push_back(current);
    return entries;
}

// A decimal port 1..65535; 0 when the text is not one.
int ParsePort(const std::string& text) {
    if (text.empty() || text.size() > 5) return 0;
    int port = 0;
    for (char c : text) {
        if (c < '0' || c > '9') return 0;
        port = port * 10 + (c - '0');
    }
    return port <= 65535 ? port : 0;
}

// "host", "host:port", "[v6]" or "[v6]:port". The host comes back without
// brackets; an absent port is 0. A bare IPv6 literal ("::1") is all host.
bool SplitHostPort(const std::string& text, std::string& host, std::string& port) {
    host.clear();
    port.clear();
    if (!text.empty() && text[0] == '[') {
        const size_t close = text.find(']');
        if (close == std::string::npos) return false;
        host = text.substr(1, close - 1);
        const std::string rest = text.substr(close + 1);
        if (rest.empty()) return !host.empty();
        if (rest[0] != ':') return false;
        port = rest.substr(1);
        return !host.empty() && !port.empty();
    }
    const size_t colon = text.find(':');
    if (colon == std::string::npos || text.find(':', colon + 1) != std::string::npos) {
        host = text;
        return !host.empty();
    }
    host = text.substr(0, colon);
    port = text.substr(colon + 1);
    return !host.empty() && !port.empty();
}

// '*' matches any run of characters, including none and including dots.
bool GlobMatch(const std::string& pattern, const std::string& text) {
    size_t p = 0, t = 0, star = std::string::npos, resume = 0;
    while (t < text.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            star = p++;
            resume = t;
        } else if (p < pattern.size() && pattern[p] == text[t]) {
            ++p;
            ++t;
        } else if (star != std::string::npos) {
            p = star + 1;
            t = ++resume;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

bool IsLoopback(const std::string& host) {
    if (host == "localhost" || host == "::1") return true;
    if (host.rfind("127.", 0) != 0) return false;
    for (char c : host) {
        if (c != '.' && (c < '0' || c > '9')) return false;
    }
    return true;
}

int DefaultProxyPort(const std::string& proxyScheme) {
    if (proxyScheme == "https") return 443;
    if (proxyScheme.rfind("socks", 0) == 0) return 1080;
    return 80;
}

// One server of a proxy list as a libcurl proxy URL; empty when unusable.
std::string ProxyUrl(const std::string& server, bool socksEntry) {
    std::string proxyScheme = socksEntry ? "socks4" : "http";
    std::string rest = server;
    const size_t sep = rest.find("://");
    if (sep != std::string::npos) {
        proxyScheme = Lower(rest.substr(0, sep));
        rest = rest.substr(sep + 3);
        static const char* const kKnown[] = {"http", "https", "socks4", "socks4a", "socks5", "socks5h"};
        bool known = false;
        for (const char* k : kKnown) known = known || proxyScheme == k;
        if (proxyScheme == "socks") {
            proxyScheme = "socks4";
            known = true;
        }
        if (!known) return std::string();
    }
    while (!rest.empty() && rest.back() == '/') rest.pop_back();
    std::string host, portText;
    if (!SplitHostPort(rest, host, portText)) return std::string();
    int port = DefaultProxyPort(proxyScheme);
    if (!portText.empty()) {
        port = ParsePort(portText);
        if (port == 0) return std::string();
    }
    if (host.find(':') != std::string::npos) host = "[" + host + "]";
    return proxyScheme + "://" + host + ":" + std::to_string(port);
}

}  // namespace

bool ParseUrlTarget(const std::string& url, UrlTarget& out) {
    const size_t sep = url.find("://");
    if (sep == std::string::npos || sep == 0) return false;
    UrlTarget target;
    target.scheme = Lower(url.substr(0, sep));
    const size_t start = sep + 3;
    const size_t end = url.find_first_of("/?#", start);
    std::string authority = url.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const size_t at = authority.rfind('@');
    if (at != std::string::npos) authority = authority.substr(at + 1);
    std::string portText;
    if (!SplitHostPort(authority, target.host, portText)) return false;
    // A URL's host never holds a bare colon: "a:b:c" is not host and port.
    if (authority[0] != '[' && target.host.find(':') != std::string::npos) return false;
    target.host = Lower(target.host);
    if (!portText.empty()) {
        target.port = ParsePort(portText);
        if (target.port == 0) return false;
    } else if (target.scheme == "http") {
        target.port = 80;
    } else if (target.scheme == "https") {
        target.port = 443;
    }
    out = target;
    return true;
}

std::string ProxyForScheme(const std::string& proxyList, const std::string& scheme) {
    std::string own, plain, socks;
    for (const std::string& entry : SplitEntries(proxyList, false)) {
        const size_t eq = entry.find('=');
        const size_t sep = entry.find("://");
        if (eq != std::string::npos && (sep == std::string::npos || eq < sep)) {
            const std::string key = Lower(entry.substr(0, eq));
            const std::string value = entry.substr(eq + 1);
            if (key == scheme && own.empty()) own = ProxyUrl(value, false);
            if (key == "socks" && socks.empty()) socks = ProxyUrl(value, true);
        } else if (plain.empty()) {
            plain = ProxyUrl(entry, false);
        }
    }
    if (!own.empty()) return own;
    if (!plain.empty()) return plain;
    return socks;
}

BypassList::BypassList(const std::string& text) {
    for (std::string token : SplitEntries(Lower(text), true)) {
        if (token == "<local>") {
            local_ = true;
            continue;
        }
        if (token == "<-loopback>") {
            loopback_ = false;
            continue;
        }
        Entry entry;
        const size_t sep = token.find("://");
        if (sep != std::string::npos) {
            entry.scheme = token.substr(0, sep);
            token = token.substr(sep + 3);
        }
        while (!token.empty() && token.back() == '/') token.pop_back();
        std::string portText;
        if (!SplitHostPort(token, entry.host, portText)) continue;
        if (!portText.empty() && portText != "*") {
            entry.port = ParsePort(portText);
            if (entry.port == 0) continue;
        }
        // ".corp.example" means every host under it, as "*.corp.example".
        if (entry.host[0] == '.') entry.host = "*" + entry.host;
        entries_.push_back(entry);
    }
}

bool BypassList::Matches(const UrlTarget& target) const {
    if (loopback_ && IsLoopback(target.host)) return true;
    if (local_ && target.host.find('.') == std::string::npos && target.host.find(':') == std::string::npos)
        return true;
    for (const Entry& entry : entries_) {
        if (!entry.scheme.empty() && entry.scheme != target.scheme) continue;
        if (entry.port != 0 && entry.port != target.port) continue;
        if (GlobMatch(entry.host, target.host)) return true;
    }
    return false;
}

ProxyChoice ChooseProxy(const std::string& proxyList, const std::string& bypassList, const std::string& url) {
    UrlTarget target;
    if (!ParseUrlTarget(url, target)) return ProxyChoice();
    if (BypassList(bypassList).Matches(target)) return ProxyChoice();
    return ProxyChoice{ProxyForScheme(proxyList, target.scheme)};
}

ProxyChoice ChooseScriptProxy(const std::string& proxyList, const std::string& url) {
    UrlTarget target;
    if (!ParseUrlTarget(url, target)) return ProxyChoice();
    return ProxyChoice{ProxyForScheme(proxyList, target.scheme)};
}

}  // namespace kelo
