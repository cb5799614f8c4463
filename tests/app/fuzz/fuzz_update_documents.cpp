// Fuzz target: bytes from the network as the update service's documents and
// as a probe answer. Nothing may crash and no exception may escape.
#include <cstddef>
#include <cstdint>
#include <string>

#include "app/update_protocol.h"
#include "net/host_probe.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string body(reinterpret_cast<const char*>(data), size);

    kelo::VersionInfo version;
    if (kelo::ParseVersionInfo(body, version)) {
        volatile size_t sink = kelo::DownloadInfoUrl("https://h", version, false).size() +
                               kelo::DownloadInfoUrl("https://h", version, true).size();
        (void)sink;
    }

    kelo::DownloadInfo info;
    if (kelo::ParseDownloadInfo(body, info)) {
        // What the worker does with an accepted document.
        volatile size_t sink = kelo::InstallerFileName(info.md5).size() + info.sources.size();
        volatile int percent = kelo::DownloadPercent(info.size / 2, info.size);
        volatile double megabytes = kelo::Megabytes(info.size);
        (void)sink;
        (void)percent;
        (void)megabytes;
    }

    volatile bool answer = kelo::IsProbeAnswer(body);
    (void)answer;
    return 0;
}
