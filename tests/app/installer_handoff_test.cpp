#include "app/installer_handoff.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/admin_folder.h"
#include "app/copydata_report.h"
#include "app/process_token_api.h"
#include "app/scoped_handle.h"
#include "app/system_services.h"
#include "tests/app/handoff_window.h"
#include "tests/app/process_test_support.h"

namespace kelo {
namespace {

using testing::HandoffWindow;
using testing::PumpMessagesUntil;
using testing::ReadStandInLog;
using testing::ScratchFolder;
using testing::WaitForFile;
using testing::WaitForProcessId;
using testing::WindowsPath;
using Event = HandoffWindow::Event;

constexpr DWORD kTimeoutMs = 30000;

const wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BrightfenKeloVoice";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
const wchar_t kRunValue[] = L"BrightfenKeloVoice";

Event S(int stage, const std::wstring& text = L"") {
    return HandoffWindow::StageEvent(stage, text);
}
Event P(int percent) {
    return HandoffWindow::ProgressEvent(percent);
}

// Sets an environment variable for the processes this test starts.
class ScopedEnvironment {
public:
    ScopedEnvironment(const wchar_t* name, const wchar_t* value) : name_(name) {
        SetEnvironmentVariableW(name, value);
    }
    ~ScopedEnvironment() { SetEnvironmentVariableW(name_, nullptr); }

private:
    const wchar_t* name_;
};

void RemoveInstallationValues() {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kUninstallKey);
    ScopedRegKey run;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKey, 0, KEY_ALL_ACCESS, run.Receive()) == ERROR_SUCCESS) {
        RegDeleteValueW(run.Get(), kRunValue);
    }
}

// The stand-in full installer in a scratch folder under the name the worker
// gives a download, and a hidden install window it reports to. The hand-off
// starts a copy of it from a new folder in the system's temporary folder.
class Handoff : public ::testing::Test {
protected:
    void SetUp() override {
        RemoveInstallationValues();
        installer_ = scratch_.Path() + L"\\Kelo_0123456789abcdef0123456789abcdef.exe";
        ASSERT_TRUE(CopyFileW(WindowsPath(KELO_STAND_IN_INSTALLER).c_str(), installer_.c_str(), FALSE));
        ASSERT_NE(window_.Handle(), nullptr) << "CreateWindowEx failed: " << window_.CreateError();
        window_.SetInstallerPath(installer_);
        window_.SetExpectedInstaller(testing::FileFacts(installer_));
        options_.hooks.beforeStart = [this](const std::wstring&, const std::wstring& copy) {
            program_ = copy;
        };
    }
    void TearDown() override {
        RemoveInstallationValues();
        if (!program_.empty()) RemoveInstallerFolder(program_.substr(0, program_.rfind(L'\\')));
    }

    // Where the started copy writes its log.
    std::wstring InstallerLog() const {
        return program_.empty() ? std::wstring() : program_.substr(0, program_.size() - 4) + L".log";
    }

    // The download is complete: the window starts the installer with the
    // folder it shows, then its reports are handled until the final one.
    std::map<std::string, std::wstring> Install(const std::wstring& folder, bool shortcut, bool autorun) {
        window_.SetInstallFolder(folder);
        window_.SetOptions(shortcut, autorun);
        window_.ClearEvents();
        if (!program_.empty()) RemoveInstallerFolder(program_.substr(0, program_.rfind(L'\\')));
        program_.clear();
        OnDownloadComplete(window_, options_);
        EXPECT_TRUE(PumpMessagesUntil([this] { return window_.Finished(); }, kTimeoutMs));
        auto log = ReadStandInLog(InstallerLog());
        // The program file stays locked while it runs.
        EXPECT_TRUE(WaitForProcessId(std::stoul(log["pid"].empty() ? L"0" : log["pid"]), kTimeoutMs));
        return log;
    }

    std::wstring ExpectedCommandLine(const std::wstring& folder, const wchar_t* switches) const {
        const int window = static_cast<int>(reinterpret_cast<intptr_t>(window_.Handle()));
        return L"\"" + program_ + L"\" /install /call_wnd " + std::to_wstring(window) + L" /install_path \"" +
               folder + L"\"" + switches;
    }

    ScratchFolder scratch_;
    HandoffWindow window_;
    HandoffOptions options_;
    std::wstring installer_;
    std::wstring program_;  // the copy that was started
};

TEST_F(Handoff, InstallerGetsTheExactCommandLineAndItsReportsDriveTheWindow) {
    struct Case {
        bool shortcut;
        bool autorun;
        const wchar_t* switches;
    } cases[] = {
        {true, false, L" /install_createshortcut"},
        {false, false, L""},
        {true, true, L" /install_createshortcut /install_autorun"},
        {false, true, L" /install_autorun"},
    };
    int run = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(run));
        // Blanks in the path and the backslash right before the closing quote.
        const std::wstring folder =
            scratch_.Path() + L"\\Program Files " + std::to_wstring(++run) + L"\\Brightfen\\KeloVoice\\";
        auto log = Install(folder, c.shortcut, c.autorun);

        EXPECT_EQ(log["command_line"], ExpectedCommandLine(folder, c.switches));
        // Only the program's path differs from the download's: a copy in a
        // fresh folder of its own under the system's temporary folder.
        const std::wstring copyFolder = program_.substr(0, program_.rfind(L'\\'));
        EXPECT_EQ(program_.substr(copyFolder.size()), installer_.substr(installer_.rfind(L'\\')));
        EXPECT_EQ(copyFolder.substr(0, copyFolder.rfind(L'\\')), SystemTempFolder());
        EXPECT_EQ(copyFolder.substr(copyFolder.rfind(L'\\') + 1, 10), L"KeloSetup-");
        EXPECT_TRUE(testing::FileExists(installer_)) << "the download stays for a retry";
        EXPECT_EQ(log["install_path"], folder);
        EXPECT_EQ(log["install_createshortcut"], c.shortcut ? L"1" : L"0");
        EXPECT_EQ(log["install_autorun"], c.autorun ? L"1" : L"0");
        // Reports of 0, 37 and 100 percent fill the second half of the bar.
        EXPECT_EQ(window_.Events(), (std::vector<Event>{S(StageInstalling), P(50), S(StageInstalling), P(68),
                                                        S(StageInstalling), P(100), S(StageInstalled)}));

        // What the next start of the installer program reads.
        std::wstring value;
        EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName", value));
        EXPECT_EQ(value, L"KeloVoice");
        EXPECT_TRUE(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"InstallDir", value));
        EXPECT_EQ(value, folder);
        value.clear();
        EXPECT_EQ(
            ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"CreateShortcut", value) && !value.empty(),
            c.shortcut);
        value.clear();
        EXPECT_EQ(ReadRegString(HKEY_CURRENT_USER, kRunKey, kRunValue, value) && !value.empty(), c.autorun);
        EXPECT_TRUE(PathExists(folder + L"KeloVoice.exe", false));
    }
}

TEST_F(Handoff, FolderThatCannotBeCreatedShowsTheInstallersTextUnchanged) {
    ASSERT_TRUE(testing::WriteTextFile(scratch_.Path() + L"\\blocker", "a file where a folder should go"));
    const std::wstring folder = scratch_.Path() + L"\\blocker\\KeloVoice\\";
    auto log = Install(folder, true, false);
    EXPECT_EQ(log["install_path"], folder);
    EXPECT_EQ(window_.Events(),
              (std::vector<Event>{S(StageInstalling), P(50),
                                  S(StageFailed, L"Cannot create the install folder: " + folder)}));
}

TEST_F(Handoff, InstallerFailingOnPurposeChangesNothing) {
    ScopedEnvironment mode(L"KELO_STANDIN_MODE", L"fail");
    const std::wstring folder = scratch_.Path() + L"\\KeloVoice\\";
    auto log = Install(folder, true, true);
    EXPECT_EQ(log["mode"], L"fail");
    EXPECT_EQ(window_.Events(),
              (std::vector<Event>{S(StageInstalling), P(50),
                                  S(StageFailed, L"Installation failed on purpose (stand-in fail mode).")}));
    EXPECT_FALSE(PathExists(folder, false));
    std::wstring value;
    EXPECT_FALSE(ReadRegString(HKEY_LOCAL_MACHINE, kUninstallKey, L"DisplayName", value));
}

TEST_F(Handoff, StalledInstallerLeavesTheWindowInstalling) {
    ScopedEnvironment mode(L"KELO_STANDIN_MODE", L"stall");
    window_.SetInstallFolder(scratch_.Path() + L"\\KeloVoice\\");
    OnDownloadComplete(window_, options_);  // returns at once: nothing waits for the installer
    ASSERT_TRUE(PumpMessagesUntil([this] { return window_.Events().size() >= 4; }, kTimeoutMs));
    auto log = ReadStandInLog(InstallerLog());
    const DWORD pid = std::stoul(log["pid"]);
    EXPECT_FALSE(WaitForProcessId(pid, 0)) << "the stand-in should still be running";
    EXPECT_EQ(window_.Events(), (std::vector<Event>{S(StageInstalling), P(50), S(StageInstalling), P(68)}));
    EXPECT_FALSE(window_.Finished());

    ScopedHandle process(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    ASSERT_TRUE(process.IsValid());
    TerminateProcess(process.Get(), 9);
    EXPECT_EQ(WaitForSingleObject(process.Get(), kTimeoutMs), WAIT_OBJECT_0);
}

TEST_F(Handoff, InstallerThatCannotStartOffersARetry) {
    RunInstaller(window_, scratch_.Path() + L"\\missing.exe", scratch_.Path() + L"\\KeloVoice\\");
    EXPECT_EQ(window_.Events(), (std::vector<Event>{S(StageFailed, L"启动安装程序失败，请重试。")}));
}

// Reports sent to the window by this test itself, for payloads a
// well-behaved installer does not send.
class InstallerReports : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(window_.Handle(), nullptr) << "CreateWindowEx failed: " << window_.CreateError();
    }
    void Send(ULONG_PTR kind, const void* data, DWORD size) {
        COPYDATASTRUCT report = {};
        report.dwData = kind;
        report.cbData = size;
        report.lpData = const_cast<void*>(data);
        EXPECT_EQ(SendMessageW(window_.Handle(), WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&report)), 0);
    }
    void Send(ULONG_PTR kind, const std::string& text) {
        Send(kind, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    HandoffWindow window_;
};

TEST_F(InstallerReports, ProgressTextsMoveTheBarThroughItsSecondHalf) {
    struct Case {
        std::string payload;  // sent with its bytes as given, no NUL added
        int bar;
    } cases[] = {
        {std::string("0\0", 2), 50},
        {std::string("37\0", 3), 68},
        {std::string("100\0", 4), 100},
        {std::string("1\0", 2), 50},
        {std::string("99\0", 3), 99},
        {std::string("abc\0", 4), 50},      // not a number: 0 percent
        {std::string(" \t+42%\0", 7), 71},  // read the way atoi reads
        {std::string("37", 2), 68},         // no NUL: the payload's bytes are the text
        {std::string("3\0"
                     "99",
                     4),
         51},                           // the text ends at the first NUL
        {std::string("-20\0", 4), 50},  // out of range: held to 0..100
        {std::string("250\0", 4), 100},
        {std::string("99999999999999999999\0", 21), 100},
    };
    for (const Case& c : cases) {
        window_.ClearEvents();
        Send(ReportProgress, c.payload.data(), static_cast<DWORD>(c.payload.size()));
        EXPECT_EQ(window_.Events(), (std::vector<Event>{S(StageInstalling), P(c.bar)})) << c.payload;
    }
}

TEST_F(InstallerReports, KindsDecideTheStage) {
    Send(ReportSuccess, "ignored");
    Send(ReportProgress, "10");  // a late progress report goes back to installing
    Send(4, "100");
    Send(0, "100");
    Send(ReportSuccess, nullptr, 0);
    Send(ReportError, nullptr, 16);  // no data at all: an empty text
    Send(ReportError, "disk full", 0);
    EXPECT_EQ(window_.Events(), (std::vector<Event>{S(StageInstalled), S(StageInstalling), P(55),
                                                    S(StageInstalled), S(StageFailed), S(StageFailed)}));
}

TEST_F(InstallerReports, ErrorTextIsWidenedFromTheAnsiCodePage) {
    std::string ansi = "Error 5: ";
    std::wstring wide = L"Error 5: ";
    switch (GetACP()) {
        case 936:
            ansi += "\xB0\xB2\xD7\xB0\xCA\xA7\xB0\xDC";
            wide += L"安装失败";
            break;
        case 1252:
            ansi += "Zugriff verweigert \xE0 C:\\";
            wide += L"Zugriff verweigert à C:\\";
            break;
        case CP_UTF8:
            ansi += "\xE5\xAE\x89\xE8\xA3\x85";
            wide += L"安装";
            break;
        default:
            break;
    }
    Send(ReportError, ansi);
    EXPECT_EQ(window_.Events(), (std::vector<Event>{S(StageFailed, wide)}));
}

// An installed stand-in client as "KeloVoice.exe" in a scratch folder.
class ClientLaunch : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = scratch_.Path() + L"\\KeloVoice\\";
        ASSERT_TRUE(CreateDirectoryW(folder_.c_str(), nullptr));
        ASSERT_TRUE(CopyFileW(WindowsPath(KELO_STAND_IN_CLIENT).c_str(), (folder_ + L"KeloVoice.exe").c_str(),
                              FALSE));
        log_ = folder_ + L"KeloVoice.log";
    }

    std::map<std::string, std::wstring> ClientLog() {
        EXPECT_TRUE(WaitForFile(log_, kTimeoutMs));
        // Under Wine the renamed log can still be held by the rename for a
        // moment after it appears; read until it opens.
        std::map<std::string, std::wstring> log;
        const ULONGLONG deadline = GetTickCount64() + kTimeoutMs;
        while ((log = ReadStandInLog(log_)).empty() && GetTickCount64() < deadline) Sleep(20);
        if (!log["pid"].empty()) {
            EXPECT_TRUE(WaitForProcessId(std::stoul(log["pid"]), kTimeoutMs));
        }
        DeleteFileW(log_.c_str());
        return log;
    }

    ScratchFolder scratch_;
    HandoffWindow window_;
    std::wstring folder_;
    std::wstring log_;
};

TEST_F(ClientLaunch, ClientGetsTheOptionsAsSwitches) {
    struct Case {
        bool shortcut;
        bool autorun;
        const wchar_t* switches;
    } cases[] = {
        {true, true, L" /install_shortcut 1 /install_autorun 1"},
        {false, false, L" /install_shortcut 0 /install_autorun 0"},
        {true, false, L" /install_shortcut 1 /install_autorun 0"},
        {false, true, L" /install_shortcut 0 /install_autorun 1"},
    };
    for (const Case& c : cases) {
        window_.SetOptions(c.shortcut, c.autorun);
        EXPECT_TRUE(LaunchClient(window_, folder_)) << c.switches;
        EXPECT_EQ(ClientLog()["command_line"], L"\"" + folder_ + L"KeloVoice.exe\"" + c.switches);
    }
    EXPECT_TRUE(window_.Events().empty());
}

TEST_F(ClientLaunch, FolderWithoutTrailingBackslashFindsNoClient) {
    std::wstring folder = folder_;
    folder.pop_back();  // "...\KeloVoice" + "KeloVoice.exe" names a file beside the folder
    EXPECT_EQ(ClientPath(folder), scratch_.Path() + L"\\KeloVoiceKeloVoice.exe");
    EXPECT_FALSE(LaunchClient(window_, folder));
    EXPECT_FALSE(LaunchClient(window_, scratch_.Path() + L"\\Missing\\"));
    EXPECT_FALSE(testing::FileExists(log_)) << "nothing may be started";
}

BOOL WINAPI RefuseOpenProcessToken(HANDLE, DWORD, HANDLE*) {
    SetLastError(ERROR_ACCESS_DENIED);
    return FALSE;
}

ProcessTokenApi RefusingTokenApi() {
    ProcessTokenApi api = SystemProcessTokenApi();
    api.openProcessToken = &RefuseOpenProcessToken;
    return api;
}

TEST_F(ClientLaunch, PlainStartWhenTheTokenCannotBeLowered) {
    window_.SetOptions(true, false);
    EXPECT_TRUE(LaunchClientWith(window_, folder_, RefusingTokenApi()));
    EXPECT_EQ(ClientLog()["command_line"],
              L"\"" + folder_ + L"KeloVoice.exe\" /install_shortcut 1 /install_autorun 0");
}

// Run only as the debuggee of debug-capture (below): launches the client
// from the folder in KELO_CAPTURE_FOLDER, through the medium-integrity start
// or, with KELO_CAPTURE_FALLBACK set, through the plain start.
TEST(DebugOutputHelper, DISABLED_LaunchClient) {
    wchar_t folder[MAX_PATH] = {};
    ASSERT_GT(GetEnvironmentVariableW(L"KELO_CAPTURE_FOLDER", folder, MAX_PATH), 0u);
    const bool fallback = GetEnvironmentVariableW(L"KELO_CAPTURE_FALLBACK", nullptr, 0) > 0;
    HandoffWindow window;
    EXPECT_TRUE(fallback ? LaunchClientWith(window, folder, RefusingTokenApi())
                         : LaunchClient(window, folder));
}

// This test program run again under debug-capture; returns what it printed.
std::vector<std::string> CaptureDebugOutput(const ScratchFolder& scratch) {
    wchar_t self[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, self, MAX_PATH);
    std::wstring commandLine = L"\"" + WindowsPath(KELO_DEBUG_CAPTURE) + L"\" \"" + self +
                               L"\" --gtest_also_run_disabled_tests --gtest_filter=DebugOutputHelper.*";
    const std::wstring outPath = scratch.Path() + L"\\capture.out";
    const std::wstring errPath = scratch.Path() + L"\\capture.err";
    SECURITY_ATTRIBUTES inheritable = {sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    std::vector<std::string> lines;
    {
        ScopedHandle out(CreateFileW(outPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        ScopedHandle err(CreateFileW(errPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inheritable,
                                     CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        STARTUPINFOW startup = {};
        startup.cb = sizeof startup;
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdOutput = out.Get();
        startup.hStdError = err.Get();
        PROCESS_INFORMATION created = {};
        std::vector<wchar_t> line(commandLine.c_str(), commandLine.c_str() + commandLine.size() + 1);
        if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                            &created)) {
            ADD_FAILURE() << "debug-capture did not start: " << GetLastError();
            return lines;
        }
        ScopedProcessInfo capture;
        capture.Adopt(created);
        if (WaitForSingleObject(capture.process.Get(), kTimeoutMs) != WAIT_OBJECT_0) {
            TerminateProcess(capture.process.Get(), 1);
            ADD_FAILURE() << "debug-capture did not end";
        }
        DWORD exitCode = 99;
        GetExitCodeProcess(capture.process.Get(), &exitCode);
        EXPECT_EQ(exitCode, 0u) << "the debuggee's exit code";
    }
    std::string content;
    {
        ScopedHandle file(
            CreateFileW(outPath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
        char buffer[4096];
        DWORD read = 0;
        while (file.IsValid() && ReadFile(file.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0) {
            content.append(buffer, read);
        }
    }
    size_t start = 0;
    while (start < content.size()) {
        const size_t end = content.find('\n', start);
        lines.push_back(content.substr(start, end == std::string::npos ? std::string::npos : end - start));
        if (end == std::string::npos) break;
        start = end + 1;
    }
    return lines;
}

TEST_F(ClientLaunch, MediumIntegrityStartWritesItsDebugLine) {
    SetEnvironmentVariableW(L"KELO_CAPTURE_FOLDER", folder_.c_str());
    const std::vector<std::string> lines = CaptureDebugOutput(scratch_);
    SetEnvironmentVariableW(L"KELO_CAPTURE_FOLDER", nullptr);
    EXPECT_EQ(lines, std::vector<std::string>{"get low priviledge success"});
    EXPECT_EQ(ClientLog()["command_line"],
              L"\"" + folder_ + L"KeloVoice.exe\" /install_shortcut 1 /install_autorun 0");
}

TEST_F(ClientLaunch, PlainStartWritesNoDebugLine) {
    SetEnvironmentVariableW(L"KELO_CAPTURE_FOLDER", folder_.c_str());
    ScopedEnvironment fallback(L"KELO_CAPTURE_FALLBACK", L"1");
    const std::vector<std::string> lines = CaptureDebugOutput(scratch_);
    SetEnvironmentVariableW(L"KELO_CAPTURE_FOLDER", nullptr);
    EXPECT_TRUE(lines.empty());
    EXPECT_FALSE(ClientLog()["command_line"].empty());
}

}  // namespace
}  // namespace kelo
