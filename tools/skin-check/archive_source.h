// Brings the bytes of a skin archive into memory: a ZIP file as it is, or the
// "ZIP" resource 200 of a Windows program.
#pragma once

#include <string>
#include <vector>

#include "ui/core/ui_char.h"

namespace skin_check {

// Largest file the checker reads (installers are a few megabytes).
constexpr size_t kMaxSourceSize = 512u * 1024 * 1024;

bool LoadArchiveBytes(const SkinUI::UiChar* path, std::vector<unsigned char>* bytes, std::string* error);

}  // namespace skin_check
