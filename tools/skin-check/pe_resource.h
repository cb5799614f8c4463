// Reads one resource out of a PE file held in memory, without the Windows
// loader, so the skin checker can look into an installer on any system.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace skin_check {

// Finds the resource of the named type (compared without ASCII case) and
// numeric id, first language, in the PE image bytes. On success *offset and
// *size locate its data within the bytes. Every offset read from the file is
// checked against its length; *error says why the search failed.
bool FindPeResource(const unsigned char* image, size_t length, const std::u16string& type, uint16_t id,
                    size_t* offset, size_t* size, std::string* error);

}  // namespace skin_check
