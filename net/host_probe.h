#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kelo {

// Whether a host's reply to the probe counts as an answer: any well-formed
// JSON text. A reply the parser gives up on is not one. Never throws.
bool IsProbeAnswer(const std::string& body) noexcept;

// Asks every update host for its version document at once, one thread per
// host, and answers with the first host whose reply is well-formed JSON.
class HostProbe {
public:
    struct Options {
        int waitMs = 10000;      // how long GetHost waits for a winner
        int joinMs = 3000;       // how long destruction waits for each thread
        bool verifyPeer = true;  // the update service's certificate is checked
        std::string caBundle;    // empty: the system store
    };

    explicit HostProbe(std::vector<std::string> hosts);
    HostProbe(std::vector<std::string> hosts, Options options);
    // Waits up to joinMs for each probe thread; a thread still running after
    // that keeps only the shared result alive, never the probe.
    ~HostProbe();
    HostProbe(const HostProbe&) = delete;
    HostProbe& operator=(const HostProbe&) = delete;

    // The winning host, or empty when none answered within the wait. A second
    // call after a success returns the cached host without any request.
    std::string GetHost();

private:
    struct Shared;
    std::vector<std::string> hosts_;
    Options options_;
    std::shared_ptr<Shared> shared_;
    struct Threads;
    std::unique_ptr<Threads> threads_;
};

}  // namespace kelo
