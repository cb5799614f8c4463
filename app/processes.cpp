#include <vector>

#include "app/process_token_api.h"
#include "app/scoped_handle.h"
#include "app/system_services.h"

namespace kelo {

namespace {

constexpr DWORD kTokenAccess = TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_QUERY | TOKEN_ADJUST_DEFAULT;

// CreateProcess* may write into the command line, so it gets its own copy.
std::vector<wchar_t> WritableCopy(const std::wstring& text) {
    return std::vector<wchar_t>(text.c_str(), text.c_str() + text.size() + 1);
}

// A handle released through the table, so tests see every close.
class TableHandle {
public:
    explicit TableHandle(const ProcessTokenApi& api) : api_(api) {}
    ~TableHandle() {
        if (handle_ != nullptr) api_.closeHandle(handle_);
    }
    TableHandle(const TableHandle&) = delete;
    TableHandle& operator=(const TableHandle&) = delete;
    HANDLE Get() const { return handle_; }
    HANDLE* Receive() { return &handle_; }

private:
    const ProcessTokenApi& api_;
    HANDLE handle_ = nullptr;
};

class TableSid {
public:
    explicit TableSid(const ProcessTokenApi& api) : api_(api) {}
    ~TableSid() {
        if (sid_ != nullptr) api_.freeSid(sid_);
    }
    TableSid(const TableSid&) = delete;
    TableSid& operator=(const TableSid&) = delete;
    PSID Get() const { return sid_; }
    PSID* Receive() { return &sid_; }

private:
    const ProcessTokenApi& api_;
    PSID sid_ = nullptr;
};

void* WINAPI FreeSidCall(PSID sid) {
    return FreeSid(sid);
}

// Each step runs only while the previous ones succeeded; the first failure's
// error code is what the caller finds as the last error. Failure is the
// step's result, not its error code: a step may fail without setting one.
bool LaunchWithMediumToken(const ProcessTokenApi& api, const std::wstring& commandLine, DWORD& error) {
    auto failed = [&error] {
        error = GetLastError();
        return false;
    };
    TableHandle token(api);
    if (!api.openProcessToken(GetCurrentProcess(), kTokenAccess, token.Receive())) return failed();

    TableHandle mediumToken(api);
    if (!api.duplicateTokenEx(token.Get(), kTokenAccess, nullptr, SecurityImpersonation, TokenPrimary,
                              mediumToken.Receive())) {
        return failed();
    }

    SID_IDENTIFIER_AUTHORITY labelAuthority = SECURITY_MANDATORY_LABEL_AUTHORITY;
    TableSid mediumSid(api);
    if (!api.allocateAndInitializeSid(&labelAuthority, 1, SECURITY_MANDATORY_MEDIUM_RID, 0, 0, 0, 0, 0, 0, 0,
                                      mediumSid.Receive())) {
        return failed();
    }

    TOKEN_MANDATORY_LABEL label = {};
    label.Label.Sid = mediumSid.Get();
    label.Label.Attributes = SE_GROUP_INTEGRITY;
    const DWORD labelLength = sizeof(TOKEN_MANDATORY_LABEL) + GetLengthSid(mediumSid.Get());
    if (!api.setTokenInformation(mediumToken.Get(), TokenIntegrityLevel, &label, labelLength))
        return failed();

    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION created = {};
    std::vector<wchar_t> line = WritableCopy(commandLine);
    if (!api.createProcessAsUserW(mediumToken.Get(), nullptr, line.data(), nullptr, nullptr, FALSE, 0,
                                  nullptr, nullptr, &startup, &created)) {
        return failed();
    }
    TableHandle process(api);
    *process.Receive() = created.hProcess;
    TableHandle thread(api);
    *thread.Receive() = created.hThread;
    return true;
}

}  // namespace

const ProcessTokenApi& SystemProcessTokenApi() {
    static const ProcessTokenApi api = {
        &OpenProcessToken,    &DuplicateTokenEx,     &AllocateAndInitializeSid,
        &SetTokenInformation, &CreateProcessAsUserW, &CloseHandle,
        &FreeSidCall,
    };
    return api;
}

bool StartProcessAtMediumIntegrityWith(const ProcessTokenApi& api, const std::wstring& commandLine) {
    DWORD error = ERROR_SUCCESS;
    if (LaunchWithMediumToken(api, commandLine, error)) return true;
    // Releasing the handles above may have touched the last error; restore the cause.
    SetLastError(error);
    return false;
}

bool StartProcessAtMediumIntegrity(const std::wstring& commandLine) {
    return StartProcessAtMediumIntegrityWith(SystemProcessTokenApi(), commandLine);
}

bool StartProcess(const std::wstring& application, const std::wstring& commandLine, HANDLE* process) {
    // The standard handles are this process's own, but without
    // STARTF_USESTDHANDLES they are not handed to the child.
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);

    PROCESS_INFORMATION created = {};
    std::vector<wchar_t> line = WritableCopy(commandLine);
    const wchar_t* program = application.empty() ? nullptr : application.c_str();
    if (!CreateProcessW(program, line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &created)) {
        return false;
    }
    ScopedProcessInfo owned;
    owned.Adopt(created);
    if (process != nullptr) *process = owned.process.Release();
    return true;
}

}  // namespace kelo
