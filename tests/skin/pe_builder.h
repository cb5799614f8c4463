// A minimal PE image with one resource, for the skin checker's native reader.
#pragma once

#include <string>

namespace kelo_test {

// A PE32 file whose resource section holds data under type `type` (a name)
// and numeric id, language 0x0409.
std::string PeWithResource(const std::string& type, unsigned id, const std::string& data);

}  // namespace kelo_test
