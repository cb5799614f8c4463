// minizip reading from a memory block, for the ZIP comparison.
#pragma once

#include <cstddef>

#include <minizip/unzip.h>

namespace skin_bench {

// Opens the block with minizip; the block must outlive the handle.
unzFile OpenMinizipMemory(const void* block, size_t length);

}  // namespace skin_bench
