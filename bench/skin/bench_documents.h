// The inputs of the skin benchmarks, made in memory so every run measures
// the same bytes.
#pragma once

#include <string>

namespace skin_bench {

// A skin-like UTF-8 document of about targetBytes: nested layouts, many
// controls with several attributes, Chinese texts and entity references.
std::string MakeSkinDocument(size_t targetBytes);

// A deflated ZIP of `entries` files: skin XML documents and image-like data.
std::string MakeSkinArchive(int entries);

}  // namespace skin_bench
