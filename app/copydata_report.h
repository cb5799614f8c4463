#pragma once

// The full installer's reports, as plain values: what a WM_COPYDATA message
// carries and what it does to the progress bar. No Windows headers, so the
// parsing of this foreign input is also built and checked natively.

#include <cstddef>
#include <cstdint>
#include <string>

namespace kelo {

// Values of COPYDATASTRUCT::dwData sent by the full installer.
enum InstallerReportKind : std::uintptr_t {
    ReportProgress = 1,
    ReportSuccess = 2,
    ReportError = 3,
};

// The narrow text of a payload: its bytes up to the first NUL, never reading
// past `size`. A null `data` or a size of 0 is an empty text.
std::string ReportPayloadText(const void* data, std::size_t size);

// The percent of a progress text read the way atoi reads (leading blanks, an
// optional sign, decimal digits, anything else ends it; no digits give 0),
// limited to 0..100 so that a stray value cannot push the bar off its scale.
int ReportPercent(const std::string& text);

// Where the bar stands for an installer progress: the download fills the
// first half, the installer the second (percent / 2 + 50, truncated).
int InstallProgressBarValue(int percent);

}  // namespace kelo
