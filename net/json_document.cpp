#include "net/json_document.h"

#include <json/json.h>

namespace kelo {

bool ParseJsonDocument(const std::string& body, Json::Value& root) noexcept {
    try {
#if defined(__GNUC__)
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
#endif
        Json::Reader reader;
#if defined(__GNUC__)
#pragma GCC diagnostic pop
#endif
        if (reader.parse(body, root, true)) return true;
    } catch (...) {
        // Json::Reader throws past its nesting limit instead of failing; no
        // exception may leave a probe or worker thread.
    }
    root = Json::Value();  // a null value: nothing allocated, nothing thrown
    return false;
}

}  // namespace kelo
