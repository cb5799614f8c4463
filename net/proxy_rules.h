#pragma once

#include <string>
#include <vector>

namespace kelo {

// How one request reaches its host. An empty proxy means a direct connection;
// otherwise it is a libcurl proxy URL with an explicit port
// ("http://proxy:8080", "socks4://proxy:1080").
struct ProxyChoice {
    std::string proxy;

    bool Direct() const { return proxy.empty(); }
    bool operator==(const ProxyChoice& other) const { return proxy == other.proxy; }
};

// Decides the proxy for each request URL. Called from several request threads
// at once.
class ProxyResolver {
public:
    virtual ~ProxyResolver() = default;
    virtual ProxyChoice ForUrl(const std::string& url) = 0;
};

// Scheme, host and port of a request URL. The scheme and host are lower-case;
// an IPv6 literal is kept without its brackets; the port is the URL's own or
// the scheme's default (80, 443).
struct UrlTarget {
    std::string scheme;
    std::string host;
    int port = 0;
};
bool ParseUrlTarget(const std::string& url, UrlTarget& out);

// A Windows proxy list: either one server for every scheme ("proxy:8080") or
// per-scheme entries ("http=proxy:80;https=proxy:443;socks=proxy:1080").
// Returns the proxy URL for a request scheme, or empty when the list names
// none for it. A scheme's own entry wins over a plain one; a SOCKS entry
// serves every scheme without an entry of its own. A server without a port
// listens on 80, as Windows assumes (libcurl would pick 1080).
std::string ProxyForScheme(const std::string& proxyList, const std::string& scheme);

// A Windows bypass list: entries separated by ';', ',' or white space, each a
// host pattern with '*' wildcards, optionally with a scheme ("https://*.corp")
// and a port ("intranet:8080"). "<local>" matches host names without a dot.
// Loopback hosts (localhost, 127.*, ::1) are always bypassed unless the list
// holds "<-loopback>": a proxy on another machine cannot reach this one's.
class BypassList {
public:
    explicit BypassList(const std::string& text);
    bool Matches(const UrlTarget& target) const;

private:
    struct Entry {
        std::string scheme;  // empty: any
        std::string host;    // lower-case pattern
        int port = 0;        // 0: any
    };
    std::vector<Entry> entries_;
    bool local_ = false;
    bool loopback_ = true;
};

// The decision for one URL under a fixed proxy list and its bypass list. A URL
// that cannot be parsed goes direct (the request itself then fails).
ProxyChoice ChooseProxy(const std::string& proxyList, const std::string& bypassList, const std::string& url);

// The same for a list an automatic configuration script returned: the script
// has already decided about the host, so no implicit loopback rule applies.
ProxyChoice ChooseScriptProxy(const std::string& proxyList, const std::string& url);

}  // namespace kelo
