#pragma once

namespace kelo {

// The first thing the elevated program does: DLLs are loaded by name from the
// system folder only, and the folders earlier runs started their full
// installer from are removed.
void HardenProcess();

}  // namespace kelo
