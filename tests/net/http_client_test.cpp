#include "net/http_client.h"

#include "tests/net/test_server.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <string>

namespace kelo {
namespace {

using test::TestServer;
using Clock = std::chrono::steady_clock;

constexpr int32_t kSize = 1000;
const std::string kBlob = "/ok/blob-1000";

TEST(HttpClient, RangeRequestsReturnExactlyTheBytesAsked) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const std::string whole = server.Blob(kSize);
    ASSERT_EQ(whole.size(), static_cast<size_t>(kSize));
    const struct { int32_t offset, length; } cases[] = {{0, 1}, {5, 3}, {999, 1}, {0, kSize}, {500, 500}};
    for (const auto& url : {server.Https(kBlob), server.Http(kBlob)}) {
        for (const auto& c : cases) {
            SCOPED_TRACE(url + " " + std::to_string(c.offset) + "+" + std::to_string(c.length));
            HttpClient client;
            std::unique_ptr<char[]> body;
            int32_t size = -1;
            ASSERT_TRUE(client.GetRange(url, c.offset, c.length, body, size));
            ASSERT_EQ(size, c.length);
            ASSERT_NE(body, nullptr);
            EXPECT_EQ(std::string(body.get(), size), whole.substr(c.offset, c.length));
            EXPECT_EQ(body[size], '\0');
        }
    }
}

TEST(HttpClient, ARangeIgnoringServerIsRefusedUnlessTheWholeFileFits) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const std::string url = server.Https("/norange/blob-1000");
    HttpClient client;
    std::unique_ptr<char[]> body(new char[1]);
    int32_t size = 7;
    EXPECT_FALSE(client.GetRange(url, 0, 100, body, size)) << "the body grew beyond what was asked";
    EXPECT_EQ(body, nullptr);
    EXPECT_EQ(size, 0);

    for (int32_t length : {kSize, 4 * kSize}) {
        ASSERT_TRUE(client.GetRange(url, 0, length, body, size));
        EXPECT_EQ(size, kSize);
        EXPECT_EQ(std::string(body.get(), size), server.Blob(kSize));
    }
}

TEST(HttpClient, ErrorPagesAndRedirectsAreReturnedAsBodies) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    HttpClient client;
    std::string body = "kept:";
    EXPECT_TRUE(client.Get(server.Https("/html404"), body));
    EXPECT_EQ(body.rfind("kept:", 0), 0u) << "Get appends";
    EXPECT_NE(body.find("Not Found"), std::string::npos);

    body.clear();
    EXPECT_TRUE(client.Get(server.Https("/redirect/x"), body)) << "3xx is not followed";
    EXPECT_EQ(body, "moved");
}

TEST(HttpClient, AnEmptyBodyGivesSizeZeroAndNoBuffer) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    HttpClient client;
    std::unique_ptr<char[]> body;
    int32_t size = -1;
    EXPECT_TRUE(client.GetRange(server.Https("/empty"), 0, 10, body, size));
    EXPECT_EQ(size, 0);
    EXPECT_EQ(body, nullptr);
    size = -1;
    EXPECT_TRUE(client.GetToBuffer(server.Https("/empty"), body, size));
    EXPECT_EQ(size, 0);
    EXPECT_EQ(body, nullptr);
}

TEST(HttpClient, GetToBufferReturnsTheWholeBody) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    HttpClient client;
    std::unique_ptr<char[]> body;
    int32_t size = 0;
    ASSERT_TRUE(client.GetToBuffer(server.Https(kBlob), body, size));
    ASSERT_EQ(size, kSize);
    EXPECT_EQ(std::string(body.get(), size), server.Blob(kSize));
    EXPECT_EQ(body[size], '\0');
}

TEST(HttpClient, TransferFailuresReturnFalseAndNoBuffer) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const struct {
        std::string url;
        int code;
        int otherCode = -1;
    } cases[] = {
        {server.Refused("/x"), CURLE_COULDNT_CONNECT},
        // OpenSSL sees the early close as a short body, Schannel as a receive error.
        {server.Https("/drop/blob-100000"), CURLE_PARTIAL_FILE, CURLE_RECV_ERROR},
        {"file:///etc/hosts", CURLE_UNSUPPORTED_PROTOCOL},
        {"ftp" + server.Refused("/x").substr(4), CURLE_UNSUPPORTED_PROTOCOL},  // ftp://127.0.0.1:port/x
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.url);
        HttpClient client;
        std::unique_ptr<char[]> body;
        int32_t size = -1;
        EXPECT_FALSE(client.GetRange(c.url, 0, 100000, body, size));
        EXPECT_EQ(body, nullptr);
        EXPECT_EQ(size, 0);
        EXPECT_TRUE(client.LastCode() == c.code || client.LastCode() == c.otherCode) << client.LastCode();
        std::string text;
        EXPECT_FALSE(client.Get(c.url, text));
    }
}

// The probe and the update documents are read with Get: a host that answers
// with more than a mebibyte fails the request instead of filling memory.
TEST(HttpClient, GetBoundsTheBody) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    constexpr size_t kLimit = HttpClient::kMaxGetBodyBytes;
    static_assert(kLimit == 1024 * 1024, "the probe and the documents are allowed one mebibyte");
    const struct {
        size_t size;
        bool accepted;
    } cases[] = {{kLimit, true}, {kLimit + 1, false}, {8 * kLimit, false}};
    for (const auto& c : cases) {
        const std::string url = server.Https("/ok/blob-" + std::to_string(c.size));
        SCOPED_TRACE(url);
        HttpClient client;
        std::string body = "kept";  // the bound counts this request's bytes only
        EXPECT_EQ(client.Get(url, body), c.accepted);
        if (c.accepted) {
            EXPECT_EQ(body, "kept" + server.Blob(static_cast<int32_t>(c.size)));
        } else {
            EXPECT_EQ(client.LastCode(), CURLE_WRITE_ERROR);
            EXPECT_LE(body.size(), 4 + kLimit);
        }
    }
}

TEST(HttpClient, AStalledServerIsAbandoned) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    // Silent after the request, and silent from the first byte of the TLS
    // handshake on.
    for (const std::string& url : {server.Https("/stall/x"), server.Silent("/x")}) {
        SCOPED_TRACE(url);
        HttpClient client;
        client.SetStallSeconds(2);
        std::string body;
        const auto start = Clock::now();
        EXPECT_FALSE(client.Get(url, body));
        EXPECT_EQ(client.LastCode(), CURLE_OPERATION_TIMEDOUT);
        const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
        EXPECT_GE(seconds, 1.5);
        EXPECT_LT(seconds, 8.0);
    }
}

TEST(HttpClient, CertificatesAreCheckedOnlyWhenAsked) {
    KELO_REQUIRE_SERVER();
#ifdef _WIN32
    GTEST_SKIP() << "Wine's Schannel does not check certificates";
#endif
    const TestServer& server = TestServer::Instance();
    const struct {
        const char* name;
        std::string url;
        bool verify;
        bool testCa;
        bool ok;
    } cases[] = {
        {"update host, unknown CA", server.Https("/json"), true, false, false},
        {"update host, test CA", server.Https("/json"), true, true, true},
        {"update host, other host name", server.Mismatch("/json"), true, true, false},
        {"mirror, unknown CA", server.Https("/json"), false, false, true},
        {"mirror, other host name", server.Mismatch("/json"), false, false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HttpClient client;
        client.SetVerifyPeer(c.verify);
        if (c.testCa) client.SetCaBundle(server.caFile());
        std::string body;
        EXPECT_EQ(client.Get(c.url, body), c.ok);
        if (c.ok) {
            EXPECT_EQ(body, "{\"version\": \"1\"}");
        }
    }
}

}  // namespace
}  // namespace kelo
