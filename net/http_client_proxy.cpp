#include "net/http_client_proxy.h"

#include <memory>
#include <mutex>

#include "net/http_client.h"
#include "net/proxy_rules.h"

namespace kelo {

namespace {

std::mutex g_resolverLock;
std::shared_ptr<ProxyResolver> g_resolver;

std::shared_ptr<ProxyResolver> CurrentResolver() {
    std::lock_guard<std::mutex> lock(g_resolverLock);
    return g_resolver;
}

}  // namespace

void HttpClient::SetProxyResolver(std::shared_ptr<ProxyResolver> resolver) {
    std::lock_guard<std::mutex> lock(g_resolverLock);
    g_resolver = std::move(resolver);
}

CURLcode ApplyProxyFor(CURL* handle, const std::string& url) {
    const std::shared_ptr<ProxyResolver> resolver = CurrentResolver();
    if (!resolver) return CURLE_OK;
    const ProxyChoice choice = resolver->ForUrl(url);
    // An empty proxy is an explicit "direct": it also keeps libcurl from
    // taking one from the environment.
    CURLcode code = curl_easy_setopt(handle, CURLOPT_PROXY, choice.proxy.c_str());
    if (code != CURLE_OK || choice.Direct()) return code;
    // Only schemes that never send a password: an empty name and password
    // make SSPI answer with the logged-on user's credentials. A libcurl
    // without them still reaches proxies that ask for nothing.
    curl_easy_setopt(handle, CURLOPT_PROXYAUTH, static_cast<long>(CURLAUTH_NEGOTIATE | CURLAUTH_NTLM));
    curl_easy_setopt(handle, CURLOPT_PROXYUSERPWD, ":");
    return CURLE_OK;
}

}  // namespace kelo
