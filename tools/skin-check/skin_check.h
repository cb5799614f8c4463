// The skin checker: loads every skin file of a skin folder, a skin archive or
// an installer holding the archive as its "ZIP" resource 200, with the
// program's own archive reader, markup parser and image decoder.
#pragma once

#include <cstdio>
#include <string>

#include "ui/core/ui_char.h"

namespace skin_check {

// Checks source and prints one line per skin file to out: "NAME: ok" or
// "NAME: " and the error (with the parser's error location when it has one).
// An archive that cannot be opened gives one line "SOURCE: reason".
// Returns 0 when everything loads, 1 otherwise.
int CheckSkinSource(const SkinUI::UiChar* source, FILE* out);

}  // namespace skin_check
