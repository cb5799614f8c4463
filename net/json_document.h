#pragma once

#include <string>

namespace Json {
class Value;
}

namespace kelo {

// Parses a whole body the lenient way the update service's documents have
// always been read (comments allowed, any value as the root). Whatever the
// bytes, this returns: a document the parser throws on (too deeply nested,
// out of memory) is simply not valid JSON, and `root` is then left null.
bool ParseJsonDocument(const std::string& body, Json::Value& root) noexcept;

}  // namespace kelo
