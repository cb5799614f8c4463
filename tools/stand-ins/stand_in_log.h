#pragma once

// What a stand-in received, written as "name=value" lines in UTF-8 to a file
// beside its own program ("<program name>.log").

#include <string>
#include <utility>
#include <vector>

namespace kelo::standin {

using LogLines = std::vector<std::pair<std::string, std::wstring>>;

// The log's path: this program's path with ".exe" replaced by ".log".
std::wstring LogPathBesideProgram();

// Writes the whole log at once (a temporary file renamed into place), so a
// reader polling for the file never sees half of it.
bool WriteLog(const std::wstring& path, const LogLines& lines);

std::string ToUtf8(const std::wstring& text);

}  // namespace kelo::standin
