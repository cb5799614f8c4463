#include "net/http_client.h"

#include "net/speed_floor.h"

#include <curl/curl.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <new>

#include "net/http_client_proxy.h"

namespace kelo {

// Where the write callback puts received bytes: appended to a string (at most
// `capacity` bytes of this request), into a fixed buffer whose capacity is the
// length a range request asked for, or handed on as they arrive.
struct HttpClient::Sink {
    std::string* text = nullptr;
    char* fixed = nullptr;
    const HttpClient::Consumer* consume = nullptr;  // streamed: bytes go on as they arrive
    void* handle = nullptr;                         // the transfer's easy handle
    bool rangeStart = false;                        // the range asked for starts at byte 0
    bool answerChecked = false;
    size_t capacity = 0;
    size_t used = 0;
};

namespace {

// Called by libcurl, which is C: nothing may be thrown through it. Returning
// fewer bytes than offered makes libcurl abort the transfer with a write error.
size_t AppendToSink(char* data, size_t size, size_t count, void* target) noexcept {
    auto* sink = static_cast<HttpClient::Sink*>(target);
    if (sink == nullptr) return 0;
    const size_t bytes = size * count;
    if (sink->consume != nullptr && !sink->answerChecked) {
        // Streamed bytes are placed before the body's length is known, so
        // only an answer that starts where the range does is taken: a
        // partial answer, or the whole file when the range starts at 0.
        // Error pages and servers ignoring the range are refused at once.
        long status = 0;
        curl_easy_getinfo(sink->handle, CURLINFO_RESPONSE_CODE, &status);
        if (status != 206 && !(status == 200 && sink->rangeStart)) return 0;
        sink->answerChecked = true;
    }
    if (bytes > sink->capacity - sink->used) return 0;  // more than this request may hold
    try {
        if (sink->text != nullptr) {
            sink->text->append(data, bytes);
        } else if (sink->consume != nullptr) {
            sink->used += bytes;
            return (*sink->consume)(data, bytes) ? bytes : 0;
        } else if (bytes > 0) {
            std::memcpy(sink->fixed + sink->used, data, bytes);
        }
    } catch (...) {
        return 0;
    }
    sink->used += bytes;
    return bytes;
}

}  // namespace

struct HttpClient::Watch {
    const std::function<bool()>* shouldAbort = nullptr;
    SpeedFloor floor{0, 0};
    std::chrono::steady_clock::time_point start = std::chrono::steady_clock::now();
};

namespace {

int OnTransferProgress(void* data, curl_off_t, curl_off_t received, curl_off_t, curl_off_t) {
    auto* watch = static_cast<HttpClient::Watch*>(data);
    if (*watch->shouldAbort && (*watch->shouldAbort)()) return 1;
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - watch->start).count();
    return watch->floor.Fast(seconds, static_cast<int64_t>(received)) ? 0 : 1;
}

}  // namespace

void HttpClient::EasyDeleter::operator()(void* handle) const {
    curl_easy_cleanup(handle);
}

void HttpClient::SlistDeleter::operator()(curl_slist* list) const {
    curl_slist_free_all(list);
}

HttpClient::HttpClient() = default;
HttpClient::~HttpClient() = default;

void HttpClient::GlobalInit(long flags) {
    curl_global_init(flags);
}

void HttpClient::AddHeader(const std::string& name, const std::string& value) {
    const std::string line = name + ": " + value;
    curl_slist* grown = curl_slist_append(headers_.get(), line.c_str());
    if (grown != nullptr) {
        headers_.release();
        headers_.reset(grown);
    }
}

void HttpClient::SetKeepConnection(bool keep) {
    keepConnection_ = keep;
    if (!keep) kept_.reset();
}

void HttpClient::SetSpeedFloor(int bytesPerSecond, int windowSeconds) {
    floorBytesPerSecond_ = bytesPerSecond;
    floorWindowSeconds_ = windowSeconds;
}

bool HttpClient::Perform(const std::string& url, const char* range, Sink& sink) {
    const ConnectionSettings settings{verifyPeer_, caBundle_};
    std::unique_ptr<void, EasyDeleter> easy;
    if (keepConnection_ && kept_ && keptSettings_ == settings) {
        // Options go back to their defaults; the connection cache and the
        // TLS session stay with the handle.
        easy = std::move(kept_);
        curl_easy_reset(easy.get());
    } else {
        kept_.reset();
        easy.reset(curl_easy_init());
    }
    if (!easy) {
        lastCode_ = CURLE_FAILED_INIT;
        return false;
    }
    sink.handle = easy.get();
    Watch watch;
    watch.shouldAbort = &shouldAbort_;
    watch.floor = SpeedFloor(floorBytesPerSecond_, floorWindowSeconds_);
    bool ok = SetOptions(easy.get(), url, range, sink, watch);
    if (ok) {
        lastCode_ = curl_easy_perform(easy.get());
        ok = lastCode_ == CURLE_OK;
    }
    if (keepConnection_) {
        kept_ = std::move(easy);
        keptSettings_ = settings;
    }
    return ok;
}

bool HttpClient::SetOptions(void* h, const std::string& url, const char* range, Sink& sink, Watch& watch) {
    auto stored = [this](CURLcode code) {
        lastCode_ = code;
        return code == CURLE_OK;
    };
    if (!stored(curl_easy_setopt(h, CURLOPT_NOSIGNAL, 1L))) return false;
    if (headers_ && !stored(curl_easy_setopt(h, CURLOPT_HTTPHEADER, headers_.get()))) return false;
    if (timeout_ > 0 && !stored(curl_easy_setopt(h, CURLOPT_TIMEOUT, static_cast<long>(timeout_))))
        return false;
    if (!stored(curl_easy_setopt(h, CURLOPT_URL, url.c_str()))) return false;
    if (range != nullptr && !stored(curl_easy_setopt(h, CURLOPT_RANGE, range))) return false;
    if (!stored(ApplyProxyFor(h, url))) return false;
#if LIBCURL_VERSION_NUM >= 0x075500
    if (!stored(curl_easy_setopt(h, CURLOPT_PROTOCOLS_STR, "http,https"))) return false;
#else
    if (!stored(curl_easy_setopt(h, CURLOPT_PROTOCOLS, static_cast<long>(CURLPROTO_HTTP | CURLPROTO_HTTPS))))
        return false;
#endif

    curl_easy_setopt(h, CURLOPT_SSL_VERIFYHOST, verifyPeer_ ? 2L : 0L);
    curl_easy_setopt(h, CURLOPT_SSL_VERIFYPEER, verifyPeer_ ? 1L : 0L);
    if (verifyPeer_) {
        // An unreachable revocation server on a locked-down network must not
        // block the install; a revoked certificate still fails.
        curl_easy_setopt(h, CURLOPT_SSL_OPTIONS, static_cast<long>(CURLSSLOPT_REVOKE_BEST_EFFORT));
        if (!caBundle_.empty()) curl_easy_setopt(h, CURLOPT_CAINFO, caBundle_.c_str());
    }
    if (stallSeconds_ > 0) {
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_LIMIT, 1L);
        curl_easy_setopt(h, CURLOPT_LOW_SPEED_TIME, static_cast<long>(stallSeconds_));
        // The speed check starts only once the connection is up; a host that
        // accepts the connection but never completes the TLS handshake is
        // bounded by the connect time-out, which defaults to 300 s.
        curl_easy_setopt(h, CURLOPT_CONNECTTIMEOUT, static_cast<long>(stallSeconds_));
    }
    curl_easy_setopt(h, CURLOPT_WRITEFUNCTION, &AppendToSink);
    curl_easy_setopt(h, CURLOPT_WRITEDATA, &sink);
    curl_easy_setopt(h, CURLOPT_XFERINFOFUNCTION, &OnTransferProgress);
    curl_easy_setopt(h, CURLOPT_XFERINFODATA, &watch);
    curl_easy_setopt(h, CURLOPT_NOPROGRESS, 0L);
    return true;
}

bool HttpClient::Get(const std::string& url, std::string& body) {
    Sink sink;
    sink.text = &body;
    sink.capacity = kMaxGetBodyBytes;
    return Perform(url, nullptr, sink);
}

bool HttpClient::GetRange(const std::string& url, int32_t offset, int32_t length,
                          std::unique_ptr<char[]>& body, int32_t& size) {
    body.reset();
    size = 0;
    char range[128] = {};
    std::snprintf(range, sizeof range, "%d-%d", offset,
                  static_cast<int32_t>(static_cast<int64_t>(offset) + length - 1));
    if (length < 1) {
        // Nothing can be accepted: any byte at all is more than was asked for.
        Sink sink;
        return Perform(url, range, sink) && sink.used == 0;
    }
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[static_cast<size_t>(length) + 1]);
    if (!buffer) return false;
    Sink sink;
    sink.fixed = buffer.get();
    sink.capacity = static_cast<size_t>(length);
    if (!Perform(url, range, sink)) return false;
    if (sink.used == 0) return true;
    buffer[sink.used] = '\0';
    size = static_cast<int32_t>(sink.used);
    body = std::move(buffer);
    return true;
}

bool HttpClient::GetRangeStreamed(const std::string& url, int32_t offset, int32_t length,
                                  const Consumer& consume, int32_t& received) {
    received = 0;
    if (length < 1) return false;
    char range[128] = {};
    std::snprintf(range, sizeof range, "%d-%d", offset,
                  static_cast<int32_t>(static_cast<int64_t>(offset) + length - 1));
    Sink sink;
    sink.consume = &consume;
    sink.rangeStart = offset == 0;
    sink.capacity = static_cast<size_t>(length);
    const bool ok = Perform(url, range, sink);
    received = static_cast<int32_t>(sink.used);
    return ok;
}

bool HttpClient::GetToBuffer(const std::string& url, std::unique_ptr<char[]>& body, int32_t& size) {
    body.reset();
    size = 0;
    std::string accumulated;
    Sink sink;
    sink.text = &accumulated;
    sink.capacity = INT32_MAX - 1;  // the size is handed out as a 32-bit count
    if (!Perform(url, nullptr, sink)) return false;
    if (accumulated.empty()) return true;
    if (accumulated.size() > INT32_MAX - 1) return false;
    std::unique_ptr<char[]> buffer(new (std::nothrow) char[accumulated.size() + 1]);
    if (!buffer) return false;
    std::memcpy(buffer.get(), accumulated.data(), accumulated.size());
    buffer[accumulated.size()] = '\0';
    size = static_cast<int32_t>(accumulated.size());
    body = std::move(buffer);
    return true;
}

}  // namespace kelo
