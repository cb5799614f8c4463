#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "net/proxy_rules.h"

struct curl_slist;

namespace kelo {

// One synchronous HTTP(S) request per call. By default each request has its
// own libcurl easy handle, so nothing (connection, TLS session, cookie)
// carries over between requests; a client asked to keep its connection
// reuses one handle, and with it the connection and TLS session to the same
// host. The client never judges the HTTP status or the body; callers do.
class HttpClient {
public:
    // Seconds without a single received byte after which a request is
    // abandoned, so a stalled host cannot hold a thread forever.
    static constexpr int kDefaultStallSeconds = 60;

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // curl_global_init; once per process, before any request.
    static void GlobalInit(long flags);

    // The most body bytes Get accepts. Its answers (the probe, the update
    // service's documents) are a few hundred bytes; a host sending more must
    // not be able to exhaust a 32-bit address space.
    static constexpr size_t kMaxGetBodyBytes = 1024 * 1024;

    // Appends every received byte to `body` (not cleared first). True when the
    // transfer completed, whatever the HTTP status. A body of more than
    // kMaxGetBodyBytes ends the request as a failure; `body` then holds at
    // most that many of its bytes.
    bool Get(const std::string& url, std::string& body);

    // Bytes offset .. offset + length - 1. On entry `body` is reset and `size`
    // set to 0. On success `size` is the number of bytes received and, when it
    // is above 0, `body` holds them followed by one zero byte. A body that
    // grows beyond `length` aborts the transfer (result false), so a server
    // that ignores the range cannot make the client buffer the whole file.
    bool GetRange(const std::string& url, int32_t offset, int32_t length, std::unique_ptr<char[]>& body,
                  int32_t& size);

    // Bytes offset .. offset + length - 1, handed to `consume` as they
    // arrive; `received` counts them. `consume` returning false ends the
    // transfer (result false, CURLE_WRITE_ERROR); it must not throw. A body
    // that grows beyond `length` fails the request, as with GetRange. True
    // when the transfer completed (the caller compares `received`).
    using Consumer = std::function<bool(const char* data, size_t size)>;
    bool GetRangeStreamed(const std::string& url, int32_t offset, int32_t length, const Consumer& consume,
                          int32_t& received);

    // Same contract as GetRange, without a range.
    bool GetToBuffer(const std::string& url, std::unique_ptr<char[]>& body, int32_t& size);

    void AddHeader(const std::string& name, const std::string& value);
    void SetTimeout(int seconds) { timeout_ = seconds; }

    // Process-wide: every request asks the resolver for its URL's proxy; a
    // proxy that asks for authentication gets the user's own Windows logon.
    // Without a resolver libcurl's defaults apply. Thread-safe.
    static void SetProxyResolver(std::shared_ptr<ProxyResolver> resolver);

    // Certificate and host-name checks; off by default. Requests whose answer
    // is trusted as is (the update service) turn them on; mirror downloads
    // leave them off because their bytes are checked against a trusted MD5.
    void SetVerifyPeer(bool verify) { verifyPeer_ = verify; }
    // A CA bundle in place of the system store (tests use their own CA).
    void SetCaBundle(const std::string& path) { caBundle_ = path; }
    void SetStallSeconds(int seconds) { stallSeconds_ = seconds; }

    // Keeps the easy handle between requests (a download thread fetching
    // many ranges from one mirror). A request whose TLS settings differ from
    // those the kept handle was made with gets a new handle, so a kept
    // connection never carries a request that needs other settings.
    void SetKeepConnection(bool keep);

    // A request moving fewer than `bytesPerSecond` x `windowSeconds` bytes in
    // any whole window of `windowSeconds` fails (CURLE_ABORTED_BY_CALLBACK).
    // 0 turns the floor off (the default).
    void SetSpeedFloor(int bytesPerSecond, int windowSeconds);

    // Asked about once a second and whenever data moves; true aborts the
    // request in flight (CURLE_ABORTED_BY_CALLBACK). Must be thread-safe
    // against whoever decides it, and must not throw.
    void SetAbortCheck(std::function<bool()> shouldAbort) { shouldAbort_ = std::move(shouldAbort); }

    // libcurl result of the last step a request stored; 2 when no handle.
    int LastCode() const { return lastCode_; }

    // Where received bytes go; the write callback fills it.
    struct Sink;

    // State of the progress callback during one request.
    struct Watch;

private:
    // What a connection was set up with; a kept handle serves only requests
    // with the same settings.
    struct ConnectionSettings {
        bool verifyPeer = false;
        std::string caBundle;
        bool operator==(const ConnectionSettings& other) const {
            return verifyPeer == other.verifyPeer && caBundle == other.caBundle;
        }
    };
    struct EasyDeleter {
        void operator()(void* handle) const;  // a libcurl easy handle
    };

    bool Perform(const std::string& url, const char* range, Sink& sink);
    // Every option of a request, set in one place on a fresh or reset handle.
    bool SetOptions(void* h, const std::string& url, const char* range, Sink& sink, Watch& watch);

    int32_t lastCode_ = 0;
    struct SlistDeleter {
        void operator()(curl_slist* list) const;
    };
    std::unique_ptr<curl_slist, SlistDeleter> headers_;
    int32_t timeout_ = 0;
    bool verifyPeer_ = false;
    std::string caBundle_;
    int stallSeconds_ = kDefaultStallSeconds;
    bool keepConnection_ = false;
    std::unique_ptr<void, EasyDeleter> kept_;
    ConnectionSettings keptSettings_;
    int floorBytesPerSecond_ = 0;
    int floorWindowSeconds_ = 0;
    std::function<bool()> shouldAbort_;
};

}  // namespace kelo
