#include "net/http_client.h"

#include "net/proxy_rules.h"
#include "tests/net/test_server.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>
#endif

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

#ifndef _WIN32
// A proxy that answers every request with 407 and the given challenge, and
// records the requests' header blocks. Under Wine the logon answer cannot be
// shown (its NTLM needs Samba's helper), so the exchange is checked here with
// libcurl's own NTLM, which builds the same first message without a password.
class ChallengingProxy {
public:
    explicit ChallengingProxy(std::string challenge) : challenge_(std::move(challenge)) {
        listener_ = socket(AF_INET, SOCK_STREAM, 0);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (bind(listener_, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener_, 8) != 0 ||
            getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0)
            return;
        port_ = ntohs(address.sin_port);
        thread_ = std::thread([this] { Serve(); });
    }
    ~ChallengingProxy() {
        stop_ = true;
        if (thread_.joinable()) thread_.join();
        close(listener_);
    }
    int port() const { return port_; }
    std::vector<std::string> Requests() {
        std::lock_guard<std::mutex> lock(lock_);
        return requests_;
    }

private:
    bool Wait(int fd) {
        pollfd entry = {fd, POLLIN, 0};
        while (!stop_) {
            if (poll(&entry, 1, 50) > 0) return true;
        }
        return false;
    }
    void Serve() {
        while (Wait(listener_)) {
            const int client = accept(listener_, nullptr, nullptr);
            if (client < 0) continue;
            std::string pending;
            char buffer[4096];
            while (Wait(client)) {
                const ssize_t got = recv(client, buffer, sizeof buffer, 0);
                if (got <= 0) break;
                pending.append(buffer, static_cast<size_t>(got));
                size_t end;
                while ((end = pending.find("\r\n\r\n")) != std::string::npos) {
                    {
                        std::lock_guard<std::mutex> lock(lock_);
                        requests_.push_back(pending.substr(0, end));
                    }
                    pending.erase(0, end + 4);
                    const std::string answer =
                        "HTTP/1.1 407 Proxy Authentication Required\r\nProxy-Authenticate: " + challenge_ +
                        "\r\nContent-Length: 0\r\n\r\n";
                    send(client, answer.data(), answer.size(), MSG_NOSIGNAL);
                }
            }
            close(client);
        }
    }

    std::string challenge_;
    int listener_ = -1;
    int port_ = 0;
    std::atomic<bool> stop_{false};
    std::thread thread_;
    std::mutex lock_;
    std::vector<std::string> requests_;
};

TEST(HttpClientProxy, AProxyAskingForAuthenticationGetsTheLogonNeverAPassword) {
    const struct {
        const char* challenge;
        const char* answer;  // expected start of the second request's header; null: none sent
    } cases[] = {
        {"NTLM", "Proxy-Authorization: NTLM TlRMTVNTUAAB"},  // the NTLM negotiate message
        {"Basic realm=\"corp\"", nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.challenge);
        ChallengingProxy proxy(c.challenge);
        ASSERT_NE(proxy.port(), 0);
        ResolverScope scope(
            std::make_shared<FixedResolver>("http://127.0.0.1:" + std::to_string(proxy.port())));
        HttpClient client;
        std::string body;
        client.Get("http://example.invalid/file", body);
        const std::vector<std::string> requests = proxy.Requests();
        ASSERT_FALSE(requests.empty());
        EXPECT_EQ(requests[0].find("Proxy-Authorization"), std::string::npos) << requests[0];
        std::string answers;
        for (size_t i = 1; i < requests.size(); ++i) {
            const size_t at = requests[i].find("Proxy-Authorization: ");
            if (at != std::string::npos) answers += requests[i].substr(at, requests[i].find('\r', at) - at);
        }
        if (c.answer == nullptr) {
            EXPECT_EQ(answers, "");
        } else {
            EXPECT_EQ(answers.rfind(c.answer, 0), 0u) << answers;
        }
    }
}
#endif

}  // namespace
}  // namespace kelo
