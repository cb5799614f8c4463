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

namespace kelo {
namespace {

using test::TestServer;
using Clock = std::chrono::steady_clock;

bool FetchRange(HttpClient& client, const std::string& url, int32_t offset, int32_t length) {
    std::unique_ptr<char[]> body;
    int32_t size = 0;
    return client.GetRange(url, offset, length, body, size) && size == length;
}

TEST(HttpClient, AKeptConnectionCarriesEveryRequestWithTheSameTlsSettings) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const struct {
        const char* path;
        bool keep;
        int connections;  // for five ranges
    } cases[] = {
        {"/ok-0-kept/blob-1000", true, 1},
        {"/ok-0-fresh/blob-1000", false, 5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        HttpClient client;
        client.SetKeepConnection(c.keep);
        for (int i = 0; i < 5; ++i) ASSERT_TRUE(FetchRange(client, server.Https(c.path), i * 100, 100));
        EXPECT_EQ(server.RequestCount(c.path), 5);
        EXPECT_EQ(server.ConnectionCount(c.path), c.connections);
    }

    // A request that needs certificate checks never rides on the unverified
    // connection, and vice versa.
    const std::string path = "/ok-0-settings/blob-1000";
    HttpClient client;
    client.SetKeepConnection(true);
    ASSERT_TRUE(FetchRange(client, server.Https(path), 0, 10));
    client.SetVerifyPeer(true);
#ifndef _WIN32
    client.SetCaBundle(server.caFile());  // Wine's Schannel checks nothing, and fails on a CA file
#endif
    ASSERT_TRUE(FetchRange(client, server.Https(path), 10, 10));
    ASSERT_TRUE(FetchRange(client, server.Https(path), 20, 10));
    client.SetVerifyPeer(false);
    ASSERT_TRUE(FetchRange(client, server.Https(path), 30, 10));
    EXPECT_EQ(server.ConnectionCount(path), 3);
}

TEST(HttpClient, ATricklingHostFallsBelowTheSpeedFloor) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    // 8 KiB every 300 ms, about 27 KiB/s: five pieces in about 1.5 s.
    const std::string url = server.Https("/slow-300/blob-40000");
    const struct {
        int floor;  // bytes per second over 1-second windows
        bool ok;
    } cases[] = {{0, true}, {4096, true}, {65536, false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.floor);
        HttpClient client;
        client.SetSpeedFloor(c.floor, 1);
        std::unique_ptr<char[]> body;
        int32_t size = 0;
        const auto start = Clock::now();
        EXPECT_EQ(client.GetRange(url, 0, 40000, body, size), c.ok);
        if (!c.ok) {
            EXPECT_EQ(client.LastCode(), CURLE_ABORTED_BY_CALLBACK);
            EXPECT_EQ(body, nullptr);
            EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 5.0);
        }
    }
}

TEST(HttpClient, TheAbortCheckEndsARequestInFlightPromptly) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    // Silent after the request; silent from the TLS handshake on; trickling.
    for (const std::string& url :
         {server.Https("/stall/x"), server.Silent("/x"), server.Https("/slow-2000/blob-100000")}) {
        SCOPED_TRACE(url);
        HttpClient client;  // default 60-second stall limit
        const auto start = Clock::now();
        client.SetAbortCheck([start] { return Clock::now() - start > std::chrono::milliseconds(500); });
        std::string body;
        EXPECT_FALSE(client.Get(url, body));
        EXPECT_EQ(client.LastCode(), CURLE_ABORTED_BY_CALLBACK);
        EXPECT_LT(std::chrono::duration<double>(Clock::now() - start).count(), 5.0);
    }
}

}  // namespace
}  // namespace kelo
