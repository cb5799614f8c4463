#include <cstdarg>
#include <cstdio>
#include <vector>

#include "app/system_services.h"

namespace kelo {

// The Windows C runtime's wide formatting, where %s takes a wide string.
std::wstring FormatWide(const wchar_t* format, ...) {
    va_list args;
    va_start(args, format);
    va_list measure;
    va_copy(measure, args);
    const int length = _vscwprintf(format, measure);
    va_end(measure);
    std::wstring text;
    if (length > 0) {
        std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1, L'\0');
        const int written = _vsnwprintf(buffer.data(), buffer.size(), format, args);
        if (written > 0) text.assign(buffer.data(), static_cast<size_t>(written));
    }
    va_end(args);
    return text;
}

std::wstring AnsiToWide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    if (length <= 0) return std::wstring();
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

}  // namespace kelo
