#pragma once

// The calls behind StartProcessAtMediumIntegrity, gathered in a table so that
// tests can make any step fail and count the handles it leaves open.

#include <windows.h>

#include <string>

namespace kelo {

struct ProcessTokenApi {
    BOOL(WINAPI* openProcessToken)(HANDLE process, DWORD access, HANDLE* token);
    BOOL(WINAPI* duplicateTokenEx)
    (HANDLE token, DWORD access, SECURITY_ATTRIBUTES* attributes, SECURITY_IMPERSONATION_LEVEL level,
     TOKEN_TYPE type, HANDLE* newToken);
    BOOL(WINAPI* allocateAndInitializeSid)
    (SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD sub0, DWORD sub1, DWORD sub2, DWORD sub3,
     DWORD sub4, DWORD sub5, DWORD sub6, DWORD sub7, PSID* sid);
    BOOL(WINAPI* setTokenInformation)
    (HANDLE token, TOKEN_INFORMATION_CLASS infoClass, void* info, DWORD length);
    BOOL(WINAPI* createProcessAsUserW)
    (HANDLE token, const wchar_t* application, wchar_t* commandLine, SECURITY_ATTRIBUTES* processAttributes,
     SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD flags, void* environment,
     const wchar_t* directory, STARTUPINFOW* startup, PROCESS_INFORMATION* information);
    BOOL(WINAPI* closeHandle)(HANDLE handle);
    void*(WINAPI* freeSid)(PSID sid);
};

// The table of the real advapi32 and kernel32 calls.
const ProcessTokenApi& SystemProcessTokenApi();

// StartProcessAtMediumIntegrity over the given calls.
bool StartProcessAtMediumIntegrityWith(const ProcessTokenApi& api, const std::wstring& commandLine);

}  // namespace kelo
