#include "net/host_probe.h"

#include "tests/net/test_server.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>

namespace kelo {
namespace {

using test::TestServer;
using Clock = std::chrono::steady_clock;

long long MsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

HostProbe::Options Trusting(int waitMs = 10000) {
    HostProbe::Options options;
    options.waitMs = waitMs;
#ifndef _WIN32
    options.caBundle = TestServer::Instance().caFile();
#endif
    // Wine's Schannel accepts any certificate, but fails (60) whenever a CA
    // file is given, so the Windows build relies on the former.
    return options;
}

TEST(HostProbe, AHostAnsweringJsonAfter200MsWinsInAbout200Ms) {
    KELO_REQUIRE_SERVER();
    const std::string host = TestServer::Instance().Https("/json-200-fast");
    HostProbe probe({host}, Trusting());
    const auto start = Clock::now();
    EXPECT_EQ(probe.GetHost(), host);
    const long long ms = MsSince(start);
    EXPECT_GE(ms, 190);
    EXPECT_LT(ms, 3000);
}

TEST(HostProbe, OnlyWellFormedJsonWins) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const struct {
        std::string host;
        bool wins;
    } cases[] = {
        {server.Https("/jsonempty"), true}, {server.Https("/jsonarray"), true},
        {server.Http("/json"), true},       {server.Https("/html"), false},
        {server.Https("/html404"), false},  {server.Https("/empty"), false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        HostProbe probe({c.host}, Trusting(1500));
        EXPECT_EQ(probe.GetHost(), c.wins ? c.host : std::string());
    }
}

std::string Repeat(const std::string& text, int times) {
    std::string out;
    for (int i = 0; i < times; ++i) out += text;
    return out;
}

// What a probe thread accepts as an answer, without the network: any
// well-formed JSON, and nothing the parser gives up on.
TEST(HostProbe, AcceptanceCheck) {
    const struct {
        std::string body;
        bool answer;
    } cases[] = {
        {"{}", true},
        {"[]", true},
        {"/* comment */ {\"version\": \"1\"}", true},
        {"5", true},
        {std::string(200, '[') + std::string(200, ']'), true},
        {"", false},
        {"<html><body>maintenance</body></html>", false},
        {"{\"a\": ", false},
        {std::string(1100, '['), false},
        {std::string(1100, '[') + std::string(1100, ']'), false},
        {Repeat("{\"a\":", 1100), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(IsProbeAnswer(c.body), c.answer) << c.body.substr(0, 60);
    }
}

TEST(HostProbe, TheFirstAnsweringHostWins) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const std::string html = server.Https("/html-0-first");
    const std::string slow = server.Https("/json-800-first");
    const std::string fast = server.Https("/json-50-first");
    HostProbe probe({html, slow, fast}, Trusting());
    EXPECT_EQ(probe.GetHost(), fast);
}

TEST(HostProbe, ASecondCallAnswersFromTheCache) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const std::string host = server.Https("/json-0-cached");
    HostProbe probe({host}, Trusting());
    ASSERT_EQ(probe.GetHost(), host);
    const int requests = server.RequestCount("/json-0-cached/pl/version_dl.html");
    EXPECT_EQ(requests, 1);
    const auto start = Clock::now();
    EXPECT_EQ(probe.GetHost(), host);
    EXPECT_LT(MsSince(start), 100);
    EXPECT_EQ(server.RequestCount("/json-0-cached/pl/version_dl.html"), requests);
}

TEST(HostProbe, ARefusingHostGivesNothingAfterTheFullWait) {
    KELO_REQUIRE_SERVER();
    HostProbe probe({TestServer::Instance().Refused("")}, Trusting());
    const auto start = Clock::now();
    EXPECT_EQ(probe.GetHost(), "");
    const long long ms = MsSince(start);
    EXPECT_GE(ms, 9900);
    EXPECT_LT(ms, 13000);
}

#ifndef _WIN32  // Wine's Schannel does not check certificates
TEST(HostProbe, TheUpdateHostCertificateIsChecked) {
    KELO_REQUIRE_SERVER();
    const TestServer& server = TestServer::Instance();
    const std::string host = server.Https("/json");
    HostProbe::Options untrusted;  // the system store does not know the test CA
    untrusted.waitMs = 1500;
    EXPECT_EQ(HostProbe({host}, untrusted).GetHost(), "");
    const std::string otherName = server.Mismatch("/json");
    EXPECT_EQ(HostProbe({otherName}, Trusting(1500)).GetHost(), "");
    EXPECT_EQ(HostProbe({host}, Trusting(1500)).GetHost(), host);
}
#endif

TEST(HostProbe, AThreadOutlivingTheProbeStaysAway) {
    KELO_REQUIRE_SERVER();
    HostProbe::Options options = Trusting(100);
    options.joinMs = 100;
    const auto start = Clock::now();
    {
        HostProbe probe({TestServer::Instance().Https("/json-700-late")}, options);
        EXPECT_EQ(probe.GetHost(), "");
    }
    EXPECT_LT(MsSince(start), 600) << "destruction waits only joinMs per thread";
    // The late answer arrives after the probe is gone; the sanitizer builds
    // catch any access to the destroyed probe.
    std::this_thread::sleep_for(std::chrono::milliseconds(1200));
}

}  // namespace
}  // namespace kelo
