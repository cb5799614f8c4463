#include "net/http_client.h"

#include "net/proxy_rules.h"
#include "tests/net/test_server.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

namespace kelo {
namespace {

using test::TestServer;

// Sends every URL to one fixed choice and records what it was asked.
class FixedResolver : public ProxyResolver {
public:
    explicit FixedResolver(std::string proxy) : proxy_(std::move(proxy)) {}
    ProxyChoice ForUrl(const std::string& url) override {
        std::lock_guard<std::mutex> lock(lock_);
        asked_.push_back(url);
        return ProxyChoice{proxy_};
    }
    std::vector<std::string> Asked() {
        std::lock_guard<std::mutex> lock(lock_);
        return asked_;
    }

private:
    std::mutex lock_;
    std::string proxy_;
    std::vector<std::string> asked_;
};

void SetEnv(const char* name, const char* value) {
#ifdef _WIN32
    _putenv_s(name, value);
#else
    if (*value == '\0') {
        unsetenv(name);
    } else {
        setenv(name, value, 1);
    }
#endif
}

class ResolverScope {
public:
    explicit ResolverScope(std::shared_ptr<ProxyResolver> resolver) {
        HttpClient::SetProxyResolver(std::move(resolver));
    }
    ~ResolverScope() { HttpClient::SetProxyResolver(nullptr); }
};

TEST(HttpClientProxy, EveryKindOfRequestAsksTheResolverForItsUrl) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const std::string url = server.Http("/ok/blob-1000");

    // Nothing listens on port 1: a request that honours the choice fails.
    auto unreachable = std::make_shared<FixedResolver>("http://127.0.0.1:1");
    {
        ResolverScope scope(unreachable);
        HttpClient client;
        std::string text;
        std::unique_ptr<char[]> body;
        int32_t size = 0;
        EXPECT_FALSE(client.Get(url, text));
        EXPECT_FALSE(client.GetRange(url, 0, 10, body, size));
        EXPECT_FALSE(client.GetToBuffer(url, body, size));
    }
    EXPECT_EQ(unreachable->Asked(), std::vector<std::string>(3, url));

    // An explicit direct choice connects straight to the host, whatever the
    // environment's proxy variables say.
    auto direct = std::make_shared<FixedResolver>("");
    SetEnv("http_proxy", "http://127.0.0.1:1");
    {
        ResolverScope scope(direct);
        HttpClient client;
        std::unique_ptr<char[]> body;
        int32_t size = 0;
        EXPECT_TRUE(client.GetRange(url, 0, 10, body, size));
        EXPECT_EQ(size, 10);
    }
    SetEnv("http_proxy", "");

    // Without a resolver nothing is asked and requests go as before.
    HttpClient client;
    std::string text;
    EXPECT_TRUE(client.Get(url, text));
    EXPECT_EQ(unreachable->Asked().size(), 3u);
}

}  // namespace
}  // namespace kelo
