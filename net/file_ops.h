#pragma once

#include <cstdint>
#include <string>

namespace kelo {

// Writes `length` bytes at `offset` of the file at `path` (ANSI code page on
// Windows): opens it, creating it when absent and never truncating it,
// positions, writes, flushes to disk (unless `flush` is false) and closes.
// True only when every byte was written (and flushed).
bool WriteFileAt(const std::string& path, int64_t offset, const char* data, int32_t length,
                 bool flush = true);

}  // namespace kelo
