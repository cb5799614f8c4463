#include "net/host_probe.h"

#include "net/debug_output.h"
#include "net/http_client.h"
#include "net/json_document.h"

#include <json/json.h>

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>

namespace kelo {

// What the probe threads report into. Each thread holds a reference, so a
// thread that outlives the probe still finds it in place.
struct HostProbe::Shared {
    std::mutex lock;
    std::condition_variable changed;  // a winner was set or a thread ended
    bool found = false;
    std::string host;
    std::vector<bool> ended;  // one per started thread, in start order
};

struct HostProbe::Threads {
    std::vector<std::thread> threads;
};

namespace {

struct ProbeRequest {
    std::string url;
    std::string host;
    size_t index = 0;
    bool verifyPeer = true;
    std::string caBundle;
};

template <typename SharedT>
void ThreadRequest(std::shared_ptr<SharedT> shared, ProbeRequest request) {
    HttpClient client;
    client.SetVerifyPeer(request.verifyPeer);
    if (!request.caBundle.empty()) client.SetCaBundle(request.caBundle);
    std::string response;
    bool answered = false;
    if (!client.Get(request.url, response)) {
        DebugOutput("[ThreadRequest] get http false");
    } else if (!IsProbeAnswer(response)) {
        DebugOutput("[ThreadRequest] parse json fail");
    } else {
        answered = true;
    }
    {
        std::lock_guard<std::mutex> lock(shared->lock);
        // A later success never replaces the first.
        if (answered && !shared->found) {
            shared->found = true;
            shared->host = request.host;
        }
        shared->ended[request.index] = true;
    }
    shared->changed.notify_all();
}

}  // namespace

bool IsProbeAnswer(const std::string& body) noexcept {
    // No member is examined: any well-formed JSON text is an answer.
    Json::Value root;
    return ParseJsonDocument(body, root);
}

HostProbe::HostProbe(std::vector<std::string> hosts) : HostProbe(std::move(hosts), Options()) {}

HostProbe::HostProbe(std::vector<std::string> hosts, Options options)
    : hosts_(std::move(hosts)),
      options_(std::move(options)),
      shared_(std::make_shared<Shared>()),
      threads_(std::make_unique<Threads>()) {}

HostProbe::~HostProbe() {
    std::vector<std::thread>& threads = threads_->threads;
    for (size_t i = 0; i < threads.size(); ++i) {
        bool ended;
        {
            std::unique_lock<std::mutex> lock(shared_->lock);
            ended = shared_->changed.wait_for(lock, std::chrono::milliseconds(options_.joinMs),
                                              [&] { return shared_->ended[i]; });
        }
        if (ended) {
            threads[i].join();
        } else {
            threads[i].detach();
        }
    }
}

std::string HostProbe::GetHost() {
    {
        std::lock_guard<std::mutex> lock(shared_->lock);
        if (shared_->found) return shared_->host;
    }
    size_t started = 0;
    for (const std::string& host : hosts_) {
        ProbeRequest request;
        request.url = host + "/pl/version_dl.html";
        request.host = host;
        request.verifyPeer = options_.verifyPeer;
        request.caBundle = options_.caBundle;
        {
            std::lock_guard<std::mutex> lock(shared_->lock);
            request.index = shared_->ended.size();
            shared_->ended.push_back(false);
        }
        try {
            threads_->threads.emplace_back(ThreadRequest<Shared>, shared_, std::move(request));
            ++started;
        } catch (const std::system_error&) {
            // Only started threads are waited for: drop the unused slot.
            std::lock_guard<std::mutex> lock(shared_->lock);
            shared_->ended.pop_back();
        }
    }
    if (started == 0) return std::string();

    std::unique_lock<std::mutex> lock(shared_->lock);
    shared_->changed.wait_for(lock, std::chrono::milliseconds(options_.waitMs),
                              [&] { return shared_->found; });
    return shared_->found ? shared_->host : std::string();
}

}  // namespace kelo
