#include "app/system_services.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "app/process_token_api.h"
#include "app/scoped_handle.h"
#include "app/url_opener.h"
#include "tests/app/process_test_support.h"

namespace kelo {
namespace {

using testing::ReadStandInLog;
using testing::ScratchFolder;
using testing::WaitForFile;
using testing::WindowsPath;

constexpr DWORD kProcessTimeoutMs = 30000;

// A key of its own under HKEY_CURRENT_USER, removed afterwards.
class RegistryRead : public ::testing::Test {
protected:
    void SetUp() override {
        subKey_ = L"Software\\KeloTest\\SystemServices-" + std::to_wstring(GetCurrentProcessId());
        ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, subKey_.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  key_.Receive(), nullptr),
                  ERROR_SUCCESS);
    }
    void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, subKey_.c_str()); }

    void SetDword(const wchar_t* name, DWORD value) {
        ASSERT_EQ(RegSetValueExW(key_.Get(), name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value),
                                 sizeof value),
                  ERROR_SUCCESS);
    }
    // `withNul` false stores the characters only, as some writers do.
    void SetString(const wchar_t* name, const std::wstring& value, bool withNul = true) {
        const DWORD bytes = static_cast<DWORD>((value.size() + (withNul ? 1 : 0)) * sizeof(wchar_t));
        ASSERT_EQ(
            RegSetValueExW(key_.Get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()), bytes),
            ERROR_SUCCESS);
    }

    std::wstring subKey_;
    ScopedRegKey key_;
};

TEST_F(RegistryRead, TakesAnyValueDataAsTextUpToItsFirstNul) {
    SetDword(L"one", 1);
    SetDword(L"zero", 0);
    SetString(L"digit", L"0");
    SetString(L"path", L"C:\\Program Files\\Brightfen\\KeloVoice\\");
    SetString(L"bare", L"abc", false);
    SetString(L"longest", std::wstring(1299, L'x'));

    struct Case {
        const wchar_t* name;
        std::wstring expected;
    } cases[] = {
        {L"one", std::wstring(1, L'\x0001')},  // DWORD 1: one character of code 1, so "set"
        {L"zero", L""},                        // DWORD 0: empty, so "not set"
        {L"digit", L"0"},
        {L"path", L"C:\\Program Files\\Brightfen\\KeloVoice\\"},
        {L"bare", L"abc"},
        {L"longest", std::wstring(1299, L'x')},  // 2600 bytes with the NUL: the most that fits
    };
    for (const Case& c : cases) {
        std::wstring out = L"before";
        EXPECT_TRUE(ReadRegString(HKEY_CURRENT_USER, subKey_, c.name, out)) << c.name;
        EXPECT_EQ(out, c.expected) << c.name;
    }
}

TEST_F(RegistryRead, FailureLeavesTheOutputAsItWas) {
    SetString(L"tooLong", std::wstring(1300, L'y'));  // 2602 bytes with the NUL

    struct Case {
        std::wstring subKey;
        const wchar_t* name;
    } cases[] = {
        {subKey_, L"tooLong"},
        {subKey_, L"absent"},
        {subKey_ + L"\\Missing", L"any"},
        {L"Software\\KeloTest\\NoSuchKey-" + std::to_wstring(GetCurrentProcessId()), L"any"},
    };
    for (const Case& c : cases) {
        std::wstring out = L"unchanged";
        EXPECT_FALSE(ReadRegString(HKEY_CURRENT_USER, c.subKey, c.name, out)) << c.name;
        EXPECT_EQ(out, L"unchanged") << c.name;
    }
}

TEST(PathExists, DirectoryTestRefusesFiles) {
    ScratchFolder folder;
    const std::wstring file = folder.Path() + L"\\file.txt";
    ASSERT_TRUE(testing::WriteTextFile(file, "x"));

    EXPECT_TRUE(PathExists(file, false));
    EXPECT_FALSE(PathExists(file, true));
    EXPECT_TRUE(PathExists(folder.Path(), false));
    EXPECT_TRUE(PathExists(folder.Path(), true));
    EXPECT_TRUE(PathExists(folder.Path() + L"\\", true));
    EXPECT_FALSE(PathExists(folder.Path() + L"\\missing", false));
    EXPECT_FALSE(PathExists(folder.Path() + L"\\missing", true));
    EXPECT_FALSE(PathExists(L"", false));
}

TEST(FormatWide, FormatsLikeWidePrintf) {
    EXPECT_EQ(FormatWide(L"%s", L"C:\\Kelo\\"), L"C:\\Kelo\\");
    EXPECT_EQ(FormatWide(L"%d,296,0,0", 318), L"318,296,0,0");
    EXPECT_EQ(FormatWide(L"%d%%", 37), L"37%");
    EXPECT_EQ(FormatWide(L"下载资源:%0.1fM/%0.1fM", 0.0, 50.0), L"下载资源:0.0M/50.0M");
    EXPECT_EQ(FormatWide(L"%d", -1234567), L"-1234567");
    EXPECT_EQ(FormatWide(L""), L"");
    EXPECT_EQ(FormatWide(L"%s", L""), L"");
    const std::wstring longText(5000, L'k');
    EXPECT_EQ(FormatWide(L"[%s]", longText.c_str()), L"[" + longText + L"]");
}

TEST(AnsiToWide, WidensFromTheAnsiCodePage) {
    EXPECT_EQ(AnsiToWide(""), L"");
    EXPECT_EQ(AnsiToWide("Kelo_0123.exe"), L"Kelo_0123.exe");
    // A text the installer shows after widening it: its characters come out
    // whole in whatever code page the system uses.
    switch (GetACP()) {
        case 936:
            EXPECT_EQ(AnsiToWide("\xCE\xC4\xBC\xFE"), L"文件");
            break;
        case 1252:
            EXPECT_EQ(AnsiToWide("Gr\xFC\xDF"), L"Grüß");
            break;
        case CP_UTF8:
            EXPECT_EQ(AnsiToWide("\xE6\x96\x87\xE4\xBB\xB6"), L"文件");
            break;
        default:
            break;
    }
    // Embedded NULs are part of the text: only the length counts.
    EXPECT_EQ(AnsiToWide(std::string("a\0b", 3)), std::wstring(L"a\0b", 3));
}

// The stand-in client copied into a scratch folder, so its log lands there.
class StandInClient : public ::testing::Test {
protected:
    void SetUp() override {
        client_ = folder_.Path() + L"\\client.exe";
        log_ = folder_.Path() + L"\\client.log";
        ASSERT_TRUE(CopyFileW(WindowsPath(KELO_STAND_IN_CLIENT).c_str(), client_.c_str(), FALSE));
    }

    // The log of a started client, once it has ended (its file stays locked until then).
    std::map<std::string, std::wstring> ClientLog() {
        EXPECT_TRUE(WaitForFile(log_, kProcessTimeoutMs));
        auto log = ReadStandInLog(log_);
        if (!log["pid"].empty()) {
            EXPECT_TRUE(testing::WaitForProcessId(std::stoul(log["pid"]), kProcessTimeoutMs));
        }
        return log;
    }

    ScratchFolder folder_;
    std::wstring client_;
    std::wstring log_;
};

TEST_F(StandInClient, StartProcessRunsTheProgramWithTheCommandLine) {
    const std::wstring commandLine = L"\"" + client_ + L"\" /install_shortcut 1 /install_autorun 0";
    HANDLE raw = nullptr;
    ASSERT_TRUE(StartProcess(client_, commandLine, &raw));
    ScopedHandle process(raw);
    ASSERT_TRUE(process.IsValid());
    ASSERT_EQ(WaitForSingleObject(process.Get(), kProcessTimeoutMs), WAIT_OBJECT_0);
    DWORD exitCode = 99;
    GetExitCodeProcess(process.Get(), &exitCode);
    EXPECT_EQ(exitCode, 0u);
    EXPECT_EQ(ReadStandInLog(log_)["command_line"], commandLine);
}

TEST_F(StandInClient, StartProcessWithoutAskingForTheHandle) {
    ASSERT_TRUE(StartProcess(client_, L"client.exe /x", nullptr));
    EXPECT_EQ(ClientLog()["command_line"], L"client.exe /x");
}

TEST_F(StandInClient, StartProcessOfAMissingProgramFails) {
    HANDLE raw = reinterpret_cast<HANDLE>(1);
    EXPECT_FALSE(StartProcess(folder_.Path() + L"\\missing.exe", L"missing.exe", &raw));
    EXPECT_EQ(raw, reinterpret_cast<HANDLE>(1));
}

TEST_F(StandInClient, MediumIntegrityStartRunsTheCommandLine) {
    const std::wstring commandLine = L"\"" + client_ + L"\" /install_shortcut 0 /install_autorun 1";
    ASSERT_TRUE(StartProcessAtMediumIntegrity(commandLine)) << GetLastError();
    auto log = ClientLog();
    EXPECT_EQ(log["command_line"], commandLine);
    // Wine gives every token the same label, whatever was set; on Windows the
    // child runs at medium integrity (8192).
    RecordProperty("client_integrity", std::string(log["integrity"].begin(), log["integrity"].end()));
}

TEST_F(StandInClient, OpenUrlHandsTheUrlToItsRegisteredHandler) {
    // A URL scheme of this test's own, opened by the stand-in client.
    const std::wstring scheme = L"kelotest" + std::to_wstring(GetCurrentProcessId());
    const std::wstring classKey = L"Software\\Classes\\" + scheme;  // Wine reads HKLM classes only
    const std::wstring command = L"\"" + client_ + L"\" \"%1\"";
    {
        ScopedRegKey key;
        ASSERT_EQ(RegCreateKeyExW(HKEY_LOCAL_MACHINE, classKey.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                  nullptr, key.Receive(), nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(key.Get(), L"URL Protocol", 0, REG_SZ, reinterpret_cast<const BYTE*>(L""),
                       sizeof(wchar_t));
        ScopedRegKey open;
        ASSERT_EQ(RegCreateKeyExW(key.Get(), L"shell\\open\\command", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  open.Receive(), nullptr),
                  ERROR_SUCCESS);
        RegSetValueExW(open.Get(), nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(command.c_str()),
                       static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t)));
    }
    const std::wstring url = scheme + L"://host/im/agreement.html";
    OpenUrl(url, SW_SHOWNORMAL);
    const auto log = ClientLog();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, classKey.c_str());
    EXPECT_EQ(log.count("command_line") ? log.at("command_line") : L"",
              L"\"" + client_ + L"\" \"" + url + L"\"");
}

// ShellExecuteW calls, answered from a script.
struct ShellCall {
    std::wstring verb, file, parameters;
    bool directory;
    INT show;
};
std::vector<ShellCall> g_shellCalls;
std::vector<INT_PTR> g_shellAnswers;

HINSTANCE WINAPI FakeShellExecute(HWND, const wchar_t* verb, const wchar_t* file, const wchar_t* parameters,
                                  const wchar_t* directory, INT show) {
    g_shellCalls.push_back(
        {verb, file, parameters != nullptr ? parameters : L"<none>", directory != nullptr, show});
    const INT_PTR answer = g_shellAnswers.at(g_shellCalls.size() - 1);
    return reinterpret_cast<HINSTANCE>(answer);
}

TEST(OpenUrl, UrlWithoutHandlerGoesToTheBrowser) {
    const std::wstring url = L"https://127.0.0.1:8443/im";
    struct Case {
        INT_PTR firstAnswer;
        size_t calls;
    } cases[] = {{33, 1}, {42, 1}, {32, 2}, {31 /* SE_ERR_NOASSOC */, 2}, {2 /* file not found */, 2},
                 {0, 2}};
    for (const Case& c : cases) {
        g_shellCalls.clear();
        g_shellAnswers = {c.firstAnswer, 0};
        OpenUrlWith(&FakeShellExecute, url, SW_SHOWNORMAL);
        ASSERT_EQ(g_shellCalls.size(), c.calls) << c.firstAnswer;
        EXPECT_EQ(g_shellCalls[0].verb, L"open");
        EXPECT_EQ(g_shellCalls[0].file, url);
        EXPECT_EQ(g_shellCalls[0].parameters, L"<none>");
        EXPECT_FALSE(g_shellCalls[0].directory);
        EXPECT_EQ(g_shellCalls[0].show, SW_SHOWNORMAL);
        if (c.calls == 2) {
            EXPECT_EQ(g_shellCalls[1].verb, L"open");
            EXPECT_EQ(g_shellCalls[1].file, L"IEXPLORE.EXE");
            EXPECT_EQ(g_shellCalls[1].parameters, url);
            EXPECT_FALSE(g_shellCalls[1].directory);
            EXPECT_EQ(g_shellCalls[1].show, SW_SHOWNORMAL);
        }
    }
}

// The token calls with failures injected, over the real ones otherwise. Every
// handle and SID they hand out is tracked until it is released.
struct TokenCalls {
    int failAt = -1;  // index of the step that fails, -1 for none
    DWORD error = 0;
    int calls[5] = {};
    std::set<HANDLE> openHandles;
    std::set<PSID> sids;
    DWORD openAccess = 0;
    DWORD duplicateAccess = 0;
    SECURITY_IMPERSONATION_LEVEL level = SecurityAnonymous;
    TOKEN_TYPE tokenType = TokenImpersonation;
    TOKEN_INFORMATION_CLASS infoClass = TokenUser;
    DWORD labelLength = 0;
    DWORD labelAttributes = 0;
    std::wstring labelSid;
    BOOL inheritHandles = TRUE;
    DWORD creationFlags = 1;
    bool applicationName = true;
};
TokenCalls g_calls;

bool Fails(int step) {
    ++g_calls.calls[step];
    if (g_calls.failAt != step) return false;
    SetLastError(g_calls.error);
    return true;
}

BOOL WINAPI FakeOpenProcessToken(HANDLE process, DWORD access, HANDLE* token) {
    g_calls.openAccess = access;
    if (Fails(0)) return FALSE;
    if (!OpenProcessToken(process, access, token)) return FALSE;
    g_calls.openHandles.insert(*token);
    return TRUE;
}

BOOL WINAPI FakeDuplicateTokenEx(HANDLE token, DWORD access, SECURITY_ATTRIBUTES* attributes,
                                 SECURITY_IMPERSONATION_LEVEL level, TOKEN_TYPE type, HANDLE* newToken) {
    g_calls.duplicateAccess = access;
    g_calls.level = level;
    g_calls.tokenType = type;
    if (Fails(1)) return FALSE;
    if (!DuplicateTokenEx(token, access, attributes, level, type, newToken)) return FALSE;
    g_calls.openHandles.insert(*newToken);
    return TRUE;
}

BOOL WINAPI FakeAllocateAndInitializeSid(SID_IDENTIFIER_AUTHORITY* authority, BYTE count, DWORD s0, DWORD s1,
                                         DWORD s2, DWORD s3, DWORD s4, DWORD s5, DWORD s6, DWORD s7,
                                         PSID* sid) {
    if (Fails(2)) return FALSE;
    if (!AllocateAndInitializeSid(authority, count, s0, s1, s2, s3, s4, s5, s6, s7, sid)) return FALSE;
    g_calls.sids.insert(*sid);
    return TRUE;
}

std::wstring SidText(PSID sid) {
    std::wstring text = L"S-1-";
    const SID_IDENTIFIER_AUTHORITY* authority = GetSidIdentifierAuthority(sid);
    text += std::to_wstring(authority->Value[5]);
    for (UCHAR i = 0; i < *GetSidSubAuthorityCount(sid); ++i)
        text += L"-" + std::to_wstring(*GetSidSubAuthority(sid, i));
    return text;
}

BOOL WINAPI FakeSetTokenInformation(HANDLE token, TOKEN_INFORMATION_CLASS infoClass, void* info,
                                    DWORD length) {
    g_calls.infoClass = infoClass;
    g_calls.labelLength = length;
    const auto* label = static_cast<const TOKEN_MANDATORY_LABEL*>(info);
    g_calls.labelAttributes = label->Label.Attributes;
    g_calls.labelSid = SidText(label->Label.Sid);
    if (Fails(3)) return FALSE;
    return SetTokenInformation(token, infoClass, info, length);
}

BOOL WINAPI FakeCreateProcessAsUserW(HANDLE token, const wchar_t* application, wchar_t* commandLine,
                                     SECURITY_ATTRIBUTES* processAttributes,
                                     SECURITY_ATTRIBUTES* threadAttributes, BOOL inheritHandles, DWORD flags,
                                     void* environment, const wchar_t* directory, STARTUPINFOW* startup,
                                     PROCESS_INFORMATION* information) {
    g_calls.applicationName = application != nullptr;
    g_calls.inheritHandles = inheritHandles;
    g_calls.creationFlags = flags;
    if (Fails(4)) return FALSE;
    if (!CreateProcessAsUserW(token, application, commandLine, processAttributes, threadAttributes,
                              inheritHandles, flags, environment, directory, startup, information)) {
        return FALSE;
    }
    g_calls.openHandles.insert(information->hProcess);
    g_calls.openHandles.insert(information->hThread);
    return TRUE;
}

BOOL WINAPI FakeCloseHandle(HANDLE handle) {
    // Closing changes the last error on purpose here: the caller must restore the cause.
    SetLastError(ERROR_INVALID_FUNCTION);
    if (g_calls.openHandles.erase(handle) == 0) ADD_FAILURE() << "closed a handle it does not own";
    return CloseHandle(handle);
}

void* WINAPI FakeFreeSid(PSID sid) {
    SetLastError(ERROR_INVALID_FUNCTION);
    if (g_calls.sids.erase(sid) == 0) ADD_FAILURE() << "freed a SID it does not own";
    return FreeSid(sid);
}

const ProcessTokenApi kFakeTokenApi = {
    &FakeOpenProcessToken,
    &FakeDuplicateTokenEx,
    &FakeAllocateAndInitializeSid,
    &FakeSetTokenInformation,
    &FakeCreateProcessAsUserW,
    &FakeCloseHandle,
    &FakeFreeSid,
};

TEST_F(StandInClient, MediumIntegrityFailureKeepsTheFirstErrorAndReleasesEverything) {
    const std::wstring commandLine = L"\"" + client_ + L"\"";
    const char* steps[] = {"OpenProcessToken", "DuplicateTokenEx", "AllocateAndInitializeSid",
                           "SetTokenInformation", "CreateProcessAsUserW"};
    // A step may also fail without setting an error code: still a failure.
    for (bool silent : {false, true}) {
        for (int step = 0; step < 5; ++step) {
            SCOPED_TRACE(std::string(steps[step]) + (silent ? ", no error code" : ""));
            g_calls = TokenCalls();
            g_calls.failAt = step;
            g_calls.error = silent      ? 0
                            : step == 0 ? ERROR_ACCESS_DENIED
                                        : 0x20000000u + step;  // custom codes name their step
            SetLastError(ERROR_INVALID_DATA);
            EXPECT_FALSE(StartProcessAtMediumIntegrityWith(kFakeTokenApi, commandLine));
            EXPECT_EQ(GetLastError(), g_calls.error);
            EXPECT_TRUE(g_calls.openHandles.empty());
            EXPECT_TRUE(g_calls.sids.empty());
            for (int later = step + 1; later < 5; ++later) EXPECT_EQ(g_calls.calls[later], 0);
        }
    }
    EXPECT_FALSE(WaitForFile(log_, 0)) << "a failed start ran the program";
}

TEST_F(StandInClient, MediumIntegrityLabelsTheDuplicatedTokenAndReleasesEverything) {
    g_calls = TokenCalls();
    const std::wstring commandLine = L"\"" + client_ + L"\" /medium";
    ASSERT_TRUE(StartProcessAtMediumIntegrityWith(kFakeTokenApi, commandLine)) << GetLastError();
    const DWORD access = TOKEN_DUPLICATE | TOKEN_ASSIGN_PRIMARY | TOKEN_QUERY | TOKEN_ADJUST_DEFAULT;
    EXPECT_EQ(access, 0x8Bu);
    EXPECT_EQ(g_calls.openAccess, access);
    EXPECT_EQ(g_calls.duplicateAccess, access);
    EXPECT_EQ(g_calls.level, SecurityImpersonation);
    EXPECT_EQ(g_calls.tokenType, TokenPrimary);
    EXPECT_EQ(g_calls.infoClass, TokenIntegrityLevel);
    EXPECT_EQ(g_calls.labelSid, L"S-1-16-8192");
    EXPECT_EQ(g_calls.labelAttributes, static_cast<DWORD>(SE_GROUP_INTEGRITY));
    EXPECT_EQ(g_calls.labelLength, sizeof(TOKEN_MANDATORY_LABEL) + 12);  // the SID has one sub-authority
    EXPECT_FALSE(g_calls.applicationName);
    EXPECT_FALSE(g_calls.inheritHandles);
    EXPECT_EQ(g_calls.creationFlags, 0u);
    EXPECT_TRUE(g_calls.openHandles.empty());
    EXPECT_TRUE(g_calls.sids.empty());
    EXPECT_EQ(ClientLog()["command_line"], commandLine);
}

}  // namespace
}  // namespace kelo
