#pragma once

#include <cstdint>
#include <string>

namespace kelo::test {

// The fault-injecting local server that CTest starts as a fixture
// (tests/support/fault_server.py). Its state file, named by the environment
// variable KELO_NET_SERVER_FILE, holds its ports and its CA certificate.
class TestServer {
public:
    static const TestServer& Instance();

    bool running() const { return running_; }
    const std::string& error() const { return error_; }

    // URLs of one behaviour path, e.g. Https("/ok/blob-1000").
    std::string Https(const std::string& path) const;
    std::string Http(const std::string& path) const;
    // HTTPS with a certificate issued for another host name.
    std::string Mismatch(const std::string& path) const;
    // A port nobody listens on.
    std::string Refused(const std::string& path) const;
    // HTTPS to a port that accepts the connection and never answers.
    std::string Silent(const std::string& path) const;
    const std::string& caFile() const { return caFile_; }

    // How many requests the server has seen for `path`, and over how many
    // connections they came.
    int RequestCount(const std::string& path) const;
    int ConnectionCount(const std::string& path) const;
    // How many bytes the requests for `path` asked for.
    int64_t RequestedBytes(const std::string& path) const;
    // The server's own MD5 of blob-`size` (computed by Python's hashlib).
    std::string BlobMd5(int32_t size) const;
    // The bytes of blob-`size`, fetched whole over plain HTTP.
    std::string Blob(int32_t size) const;

private:
    TestServer();
    bool running_ = false;
    std::string error_;
    int https_ = 0, http_ = 0, mismatch_ = 0, refused_ = 0, silent_ = 0;
    std::string caFile_;
};

// A fresh folder for one test's files, removed with everything in it.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    std::string Path(const std::string& name) const;

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);
void WriteFile(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);

}  // namespace kelo::test

#define KELO_REQUIRE_SERVER()                                       \
    do {                                                            \
        const auto& server_ = ::kelo::test::TestServer::Instance(); \
        ASSERT_TRUE(server_.running()) << server_.error();          \
    } while (0)
