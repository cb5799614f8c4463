#include "app/update_protocol.h"

#include <json/json.h>

#include <cmath>

#include "net/json_document.h"

namespace kelo {

namespace {

// Comments allowed and any value accepted as the root, as the service's
// documents have always been read; the root must still be an object.
bool ParseObject(const std::string& body, Json::Value& root) {
    return ParseJsonDocument(body, root) && root.isObject();
}

// A string member: absent or null reads as empty; any other type is refused.
bool ReadString(const Json::Value& object, const char* name, std::string& out) {
    const Json::Value& value = object[name];
    if (value.isNull()) {
        out.clear();
        return true;
    }
    if (!value.isString()) return false;
    out = value.asString();
    return true;
}

}  // namespace

std::string VersionUrl(const std::string& host) {
    return host + "/pl/version_dl.html";
}

std::string DownloadInfoUrl(const std::string& host, const VersionInfo& version, bool wow64) {
    return host + version.updatePath + (wow64 ? version.info64 : version.info);
}

namespace {

bool ReadVersionInfo(const std::string& body, VersionInfo& out) {
    Json::Value root;
    if (!ParseObject(body, root)) return false;
    VersionInfo parsed;
    if (!ReadString(root, "update_path", parsed.updatePath) || !ReadString(root, "info", parsed.info) ||
        !ReadString(root, "info_64", parsed.info64) || !ReadString(root, "version", parsed.version)) {
        return false;
    }
    out = std::move(parsed);
    return true;
}

bool ReadDownloadInfo(const std::string& body, DownloadInfo& out) {
    Json::Value root;
    if (!ParseObject(body, root)) return false;
    DownloadInfo parsed;

    const Json::Value& size = root["size"];
    if (!size.isNull()) {
        if (!size.isInt()) return false;  // a string, a fraction or beyond 32 bits
        parsed.size = size.asInt();
    }
    if (!ReadString(root, "md5", parsed.md5) || !IsMd5Text(parsed.md5)) return false;

    std::string primary;
    if (!ReadString(root, "updater", primary)) return false;
    parsed.sources.push_back(primary);  // always first, even when empty

    const Json::Value& mirrors = root["backupupdater"];
    if (!mirrors.isNull()) {
        if (!mirrors.isArray()) return false;
        for (Json::ArrayIndex i = 0; i < mirrors.size(); ++i) {
            const Json::Value& mirror = mirrors[i];
            if (mirror.isNull()) continue;
            if (!mirror.isObject()) return false;
            const Json::Value& url = mirror["updater"];
            if (url.isNull()) continue;
            if (!url.isString()) return false;
            parsed.sources.push_back(url.asString());
        }
    }
    out = std::move(parsed);
    return true;
}

}  // namespace

// The documents come from the network: whatever a reader of them throws
// (a parser limit, memory) makes the document invalid instead of ending the
// thread that reads it.
bool ParseVersionInfo(const std::string& body, VersionInfo& out) noexcept {
    try {
        return ReadVersionInfo(body, out);
    } catch (...) {
        return false;
    }
}

bool ParseDownloadInfo(const std::string& body, DownloadInfo& out) noexcept {
    try {
        return ReadDownloadInfo(body, out);
    } catch (...) {
        return false;
    }
}

bool IsMd5Text(const std::string& text) {
    if (text.size() != 32) return false;
    for (char c : text) {
        const bool hex = (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
        if (!hex) return false;
    }
    return true;
}

std::string InstallerFileName(const std::string& md5) {
    return "Kelo_" + md5 + ".exe";
}

int DownloadPercent(int32_t received, int32_t total) {
    if (total < 1) return 0;
    const double percent = static_cast<double>(received) / static_cast<double>(total) * 100.0;
    return static_cast<int>(std::trunc(percent));
}

double Megabytes(int32_t bytes) {
    return static_cast<double>(bytes) / 1024.0 / 1024.0;
}

}  // namespace kelo
