#pragma once

// The update service's protocol: where the two JSON documents live, what they
// hold, and how the download task and the progress display are derived from
// them. Plain code, free of the Windows API.

#include <cstdint>
#include <string>
#include <vector>

namespace kelo {

// Version document, at host + "/pl/version_dl.html".
struct VersionInfo {
    std::string updatePath;  // joined directly after the host
    std::string info;        // document name for 32-bit Windows
    std::string info64;      // document name for 64-bit Windows
    std::string version;     // not acted on
};

// Download-information document.
struct DownloadInfo {
    int32_t size = 0;
    std::string md5;
    std::vector<std::string> sources;  // "updater" first, then the mirrors
};

constexpr int32_t kDownloadUnitSize = 512000;

std::string VersionUrl(const std::string& host);
// host + update_path + info (or info_64), joined with nothing in between.
std::string DownloadInfoUrl(const std::string& host, const VersionInfo& version, bool wow64);

// False for a body that is not JSON (including one the parser gives up on,
// such as a too deeply nested one), a root that is not an object, or a member
// of another type than the document defines; `out` is then unchanged. Absent
// members read as empty strings (and 0 for "size"). Never throws.
bool ParseVersionInfo(const std::string& body, VersionInfo& out) noexcept;
// As above; in addition "md5" must be 32 hexadecimal characters, because it
// becomes a file name and is the only check on a program that runs elevated.
bool ParseDownloadInfo(const std::string& body, DownloadInfo& out) noexcept;

bool IsMd5Text(const std::string& text);
// "Kelo_" + md5 + ".exe"
std::string InstallerFileName(const std::string& md5);

// received / total * 100 in floating point, truncated; 0 when total < 1.
int DownloadPercent(int32_t received, int32_t total);
// Bytes as the "%0.1f" megabyte figure of the download tip.
double Megabytes(int32_t bytes);

}  // namespace kelo
