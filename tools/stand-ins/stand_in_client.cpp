// Stand-in for the installed client: logs its command line and, where the
// system reports one, the integrity level of its token, then ends.

#include <windows.h>

#include <string>
#include <vector>

#include "app/scoped_handle.h"
#include "tools/stand-ins/stand_in_log.h"

namespace kelo::standin {
namespace {

// The RID of the token's mandatory label (8192 medium, 12288 high), or empty.
std::wstring IntegrityLevel() {
    ScopedHandle token;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, token.Receive())) return std::wstring();
    DWORD size = 0;
    GetTokenInformation(token.Get(), TokenIntegrityLevel, nullptr, 0, &size);
    if (size == 0) return std::wstring();
    std::vector<unsigned char> buffer(size);
    if (!GetTokenInformation(token.Get(), TokenIntegrityLevel, buffer.data(), size, &size))
        return std::wstring();
    const auto* label = reinterpret_cast<const TOKEN_MANDATORY_LABEL*>(buffer.data());
    if (label->Label.Sid == nullptr || !IsValidSid(label->Label.Sid)) return std::wstring();
    const UCHAR count = *GetSidSubAuthorityCount(label->Label.Sid);
    if (count == 0) return std::wstring();
    return std::to_wstring(*GetSidSubAuthority(label->Label.Sid, count - 1));
}

}  // namespace
}  // namespace kelo::standin

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using namespace kelo::standin;
    const bool written = WriteLog(LogPathBesideProgram(), {
                                                              {"command_line", GetCommandLineW()},
                                                              {"integrity", IntegrityLevel()},
                                                              {"pid", std::to_wstring(GetCurrentProcessId())},
                                                          });
    return written ? 0 : 1;
}
