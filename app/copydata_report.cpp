#include "app/copydata_report.h"

#include <cstring>

namespace kelo {

std::string ReportPayloadText(const void* data, std::size_t size) {
    if (data == nullptr || size == 0) return std::string();
    const char* bytes = static_cast<const char*>(data);
    const void* nul = std::memchr(bytes, '\0', size);
    const std::size_t length =
        nul != nullptr ? static_cast<std::size_t>(static_cast<const char*>(nul) - bytes) : size;
    return std::string(bytes, length);
}

int ReportPercent(const std::string& text) {
    std::size_t at = 0;
    // The blanks atoi skips.
    while (at < text.size() && (text[at] == ' ' || (text[at] >= '\t' && text[at] <= '\r'))) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    // Saturates instead of overflowing: every value past 100 ends up as 100.
    int value = 0;
    for (; at < text.size() && text[at] >= '0' && text[at] <= '9'; ++at) {
        if (value <= 100) value = value * 10 + (text[at] - '0');
    }
    if (negative) return 0;
    return value > 100 ? 100 : value;
}

int InstallProgressBarValue(int percent) {
    return static_cast<int>(percent * 0.5 + 50);
}

}  // namespace kelo
