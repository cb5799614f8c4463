#include <vector>

#include "app/scoped_handle.h"
#include "app/system_services.h"

namespace kelo {

namespace {

// The buffer holds twice what is announced, so even data that fills the
// announced size is followed by NULs and reads as a terminated string.
constexpr DWORD kValueBufferChars = 2600;
constexpr DWORD kAnnouncedBytes = 2600;

}  // namespace

bool ReadRegString(HKEY root, const std::wstring& subKey, const std::wstring& valueName, std::wstring& out) {
    ScopedRegKey key;
    if (RegOpenKeyExW(root, subKey.c_str(), 0, KEY_ALL_ACCESS, key.Receive()) != ERROR_SUCCESS) return false;

    std::vector<wchar_t> buffer(kValueBufferChars, L'\0');
    DWORD size = kAnnouncedBytes;
    if (RegQueryValueExW(key.Get(), valueName.c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer.data()), &size) != ERROR_SUCCESS) {
        return false;
    }
    out.assign(buffer.data());
    return true;
}

}  // namespace kelo
