#include "tests/net/test_server.h"

#include "net/http_client.h"

#include <curl/curl.h>
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <memory>
#include <sstream>

namespace kelo::test {

namespace {

// libcurl's global state is set up once, before any test starts a thread.
class CurlEnvironment : public ::testing::Environment {
public:
    void SetUp() override { HttpClient::GlobalInit(CURL_GLOBAL_ALL); }
};
const ::testing::Environment* const kCurlEnvironment =
    ::testing::AddGlobalTestEnvironment(new CurlEnvironment);

std::string Base(const char* scheme, int port) {
    return std::string(scheme) + "://127.0.0.1:" + std::to_string(port);
}

}  // namespace

const TestServer& TestServer::Instance() {
    static const TestServer server;
    return server;
}

TestServer::TestServer() {
    const char* file = std::getenv("KELO_NET_SERVER_FILE");
    if (file == nullptr) {
        error_ =
            "KELO_NET_SERVER_FILE is not set: run the test through ctest, whose fixture starts the server";
        return;
    }
    std::ifstream in(file);
    if (!in.is_open()) {
        error_ = std::string("cannot read the server state file ") + file;
        return;
    }
    std::map<std::string, std::string> values;
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq != std::string::npos) values[line.substr(0, eq)] = line.substr(eq + 1);
    }
    https_ = std::atoi(values["https"].c_str());
    http_ = std::atoi(values["http"].c_str());
    mismatch_ = std::atoi(values["mismatch"].c_str());
    refused_ = std::atoi(values["refused"].c_str());
    silent_ = std::atoi(values["silent"].c_str());
    caFile_ = values["ca"];
    running_ = https_ > 0 && http_ > 0 && mismatch_ > 0 && refused_ > 0 && silent_ > 0;
    if (!running_) error_ = std::string("incomplete server state file ") + file;
}

std::string TestServer::Https(const std::string& path) const {
    return Base("https", https_) + path;
}
std::string TestServer::Http(const std::string& path) const {
    return Base("http", http_) + path;
}
std::string TestServer::Mismatch(const std::string& path) const {
    return Base("https", mismatch_) + path;
}
std::string TestServer::Refused(const std::string& path) const {
    return Base("http", refused_) + path;
}
std::string TestServer::Silent(const std::string& path) const {
    return Base("https", silent_) + path;
}

int TestServer::RequestCount(const std::string& path) const {
    HttpClient client;
    std::string body;
    if (!client.Get(Http("/count" + path), body)) return -1;
    return std::atoi(body.c_str());
}

int TestServer::ConnectionCount(const std::string& path) const {
    HttpClient client;
    std::string body;
    if (!client.Get(Http("/conns" + path), body)) return -1;
    return std::atoi(body.c_str());
}

int64_t TestServer::RequestedBytes(const std::string& path) const {
    HttpClient client;
    std::string body;
    if (!client.Get(Http("/bytes" + path), body)) return -1;
    return std::atoll(body.c_str());
}

std::string TestServer::BlobMd5(int32_t size) const {
    HttpClient client;
    std::string body;
    if (!client.Get(Http("/md5/blob-" + std::to_string(size)), body)) return std::string();
    return body;
}

std::string TestServer::Blob(int32_t size) const {
    // GetToBuffer: Get takes at most a mebibyte, and the blobs may be larger.
    HttpClient client;
    std::unique_ptr<char[]> body;
    int32_t received = 0;
    if (!client.GetToBuffer(Http("/ok/blob-" + std::to_string(size)), body, received) || received == 0)
        return std::string();
    return std::string(body.get(), static_cast<size_t>(received));
}

TempDir::TempDir() {
    static std::atomic<int> counter{0};
    namespace fs = std::filesystem;
    std::error_code ec;
    const fs::path base = fs::temp_directory_path(ec);
    for (int attempt = 0; attempt < 1000; ++attempt) {
        std::ostringstream name;
        name << "kelo-net-test-" << std::rand() << "-" << counter++;
        const fs::path candidate = base / name.str();
        if (fs::create_directory(candidate, ec)) {
            path_ = candidate.string();
            return;
        }
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    if (!path_.empty()) std::filesystem::remove_all(path_, ec);
}

std::string TempDir::Path(const std::string& name) const {
    return path_ + "/" + name;
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

bool FileExists(const std::string& path) {
    std::error_code ec;
    return std::filesystem::exists(path, ec);
}

}  // namespace kelo::test
