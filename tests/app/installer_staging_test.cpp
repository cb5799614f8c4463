// From the verified download to the started full installer: what happens
// when the file changes in between, what other processes can do meanwhile,
// and the administrators-only folder the installer is started from.

#include <aclapi.h>
#include <sddl.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "app/admin_folder.h"
#include "app/installer_handoff.h"
#include "app/installer_staging.h"
#include "app/scoped_handle.h"
#include "tests/app/handoff_window.h"
#include "tests/app/process_test_support.h"

namespace kelo {
namespace {

using testing::FileExists;
using testing::FileFacts;
using testing::HandoffWindow;
using testing::PumpMessagesUntil;
using testing::ReadFileBytes;
using testing::ReadStandInLog;
using testing::ScratchFolder;
using testing::WaitForProcessId;
using testing::WindowsPath;
using Event = HandoffWindow::Event;

constexpr DWORD kTimeoutMs = 30000;
const wchar_t kMd5Failure[] = L"下载安装文件失败,错误:文件MD5验证错误";
const wchar_t kSizeFailure[] = L"下载安装文件失败,错误:文件大小验证错误";
const wchar_t kStartFailure[] = L"启动安装程序失败，请重试。";

std::vector<std::wstring> FolderEntries(const std::wstring& folder) {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found = {};
    HANDLE search = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::wstring name = found.cFileName;
        if (name != L"." && name != L"..") names.push_back(name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    return names;
}

// Overwrites one byte in place, as a program of the user could.
bool RewriteByte(const std::wstring& path, LONG offset) {
    ScopedHandle file(CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE,
                                  FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                  OPEN_EXISTING, 0, nullptr));
    if (!file.IsValid() ||
        SetFilePointer(file.Get(), offset, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER)
        return false;
    char byte = 0;
    DWORD done = 0;
    if (!ReadFile(file.Get(), &byte, 1, &done, nullptr) || done != 1) return false;
    byte = static_cast<char>(byte ^ 0x5A);
    SetFilePointer(file.Get(), offset, nullptr, FILE_BEGIN);
    return WriteFile(file.Get(), &byte, 1, &done, nullptr) && done == 1;
}

// Runs file-poke (another process) and returns its exit code: 0 when it
// could change the file, else the Win32 error it met.
DWORD Poke(const wchar_t* action, const std::wstring& path) {
    std::wstring commandLine = L"\"" + WindowsPath(KELO_FILE_POKE) + L"\" " + action + L" \"" + path + L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION created = {};
    if (!CreateProcessW(nullptr, &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &created)) {
        ADD_FAILURE() << "file-poke did not start: " << GetLastError();
        return 0;
    }
    ScopedProcessInfo poke;
    poke.Adopt(created);
    EXPECT_EQ(WaitForSingleObject(poke.process.Get(), kTimeoutMs), WAIT_OBJECT_0);
    DWORD code = 0;
    GetExitCodeProcess(poke.process.Get(), &code);
    return code;
}

// A verified download of the stand-in installer in a scratch folder, a
// scratch folder standing in for the system's temporary folder, and a
// window the installer reports to.
class CheckToStart : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(window_.Handle(), nullptr) << "CreateWindowEx failed: " << window_.CreateError();
        download_ = scratch_.Path() + L"\\Kelo_0123456789abcdef0123456789abcdef.exe";
        base_ = scratch_.Path() + L"\\system-temp";
        ASSERT_TRUE(CopyFileW(WindowsPath(KELO_STAND_IN_INSTALLER).c_str(), download_.c_str(), FALSE));
        ASSERT_TRUE(CreateDirectoryW(base_.c_str(), nullptr));
        verified_ = FileFacts(download_);
        window_.SetInstallerPath(download_);
        window_.SetExpectedInstaller(verified_);
        window_.SetInstallFolder(scratch_.Path() + L"\\KeloVoice\\");
        options_.stagingBase = base_;
    }

    // Hands the download over and waits for the installer's final report.
    std::map<std::string, std::wstring> InstallAndWait(std::wstring& program) {
        options_.hooks.beforeStart = [&program, this](const std::wstring& download,
                                                      const std::wstring& copy) {
            program = copy;
            if (whileHeld_) whileHeld_(download, copy);
        };
        OnDownloadComplete(window_, options_);
        EXPECT_TRUE(PumpMessagesUntil([this] { return window_.Finished(); }, kTimeoutMs));
        auto log = ReadStandInLog(program.substr(0, program.size() - 4) + L".log");
        EXPECT_TRUE(WaitForProcessId(std::stoul(log["pid"].empty() ? L"0" : log["pid"]), kTimeoutMs));
        return log;
    }

    ScratchFolder scratch_;
    HandoffWindow window_;
    HandoffOptions options_;
    std::wstring download_;
    std::wstring base_;
    ExpectedInstaller verified_;
    std::function<void(const std::wstring&, const std::wstring&)> whileHeld_;
};

TEST_F(CheckToStart, FileChangedAfterTheCheckNeverRuns) {
    struct Case {
        const char* name;
        std::function<void(const std::wstring& download)> beforeHandoff;
        bool rewriteCopy;  // through the hook between writing and checking the copy
        const wchar_t* text;
    } cases[] = {
        {"download: one byte rewritten", [](const std::wstring& d) { ASSERT_TRUE(RewriteByte(d, 1000)); },
         false, kMd5Failure},
        {"download: one byte cut off",
         [](const std::wstring& d) {
             ScopedHandle f(CreateFileW(d.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr));
             ASSERT_NE(SetFilePointer(f.Get(), -1, nullptr, FILE_END), INVALID_SET_FILE_POINTER);
             ASSERT_TRUE(SetEndOfFile(f.Get()));
         },
         false, kSizeFailure},
        {"download: gone", [](const std::wstring& d) { ASSERT_TRUE(DeleteFileW(d.c_str())); }, false,
         kStartFailure},
        {"copy: one byte rewritten", nullptr, true, kMd5Failure},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ASSERT_TRUE(CopyFileW(WindowsPath(KELO_STAND_IN_INSTALLER).c_str(), download_.c_str(), FALSE));
        if (c.beforeHandoff) c.beforeHandoff(download_);
        bool copyRewritten = false;
        options_.hooks.afterCopy = [&](const std::wstring&, const std::wstring& copy) {
            if (c.rewriteCopy) copyRewritten = RewriteByte(copy, 1000);
        };
        bool started = false;
        options_.hooks.beforeStart = [&](const std::wstring&, const std::wstring&) { started = true; };
        window_.ClearEvents();

        OnDownloadComplete(window_, options_);

        EXPECT_EQ(copyRewritten, c.rewriteCopy);
        EXPECT_FALSE(started);
        // StageFailed brings the retry button.
        EXPECT_EQ(window_.Events(), std::vector<Event>{HandoffWindow::StageEvent(StageFailed, c.text)});
        EXPECT_EQ(FolderEntries(base_), std::vector<std::wstring>{}) << "the copy's folder is removed";
    }
}

TEST_F(CheckToStart, DownloadOpenForWritingElsewhereIsNotStarted) {
    ScopedHandle writer(CreateFileW(download_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                    nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(writer.IsValid());
    OnDownloadComplete(window_, options_);
    EXPECT_EQ(window_.Events(), std::vector<Event>{HandoffWindow::StageEvent(StageFailed, kStartFailure)});
    EXPECT_EQ(FolderEntries(base_), std::vector<std::wstring>{});
}

TEST_F(CheckToStart, NoOtherProcessCanChangeEitherFileUntilTheInstallerHasStarted) {
    std::vector<std::pair<std::string, DWORD>> pokes;
    whileHeld_ = [&pokes](const std::wstring& download, const std::wstring& copy) {
        for (const wchar_t* action : {L"write", L"delete", L"rename"}) {
            pokes.emplace_back("download " + std::string(action, action + wcslen(action)),
                               Poke(action, download));
            pokes.emplace_back("copy " + std::string(action, action + wcslen(action)), Poke(action, copy));
        }
    };
    std::wstring program;
    auto log = InstallAndWait(program);

    ASSERT_EQ(pokes.size(), 6u);
    for (const auto& poke : pokes) EXPECT_EQ(poke.second, DWORD(ERROR_SHARING_VIOLATION)) << poke.first;
    EXPECT_EQ(window_.Events().back(), HandoffWindow::StageEvent(StageInstalled));
    // The program that ran is the verified one, started from its own folder.
    EXPECT_EQ(log["command_line"].substr(0, program.size() + 2), L"\"" + program + L"\"");
    EXPECT_EQ(FileFacts(program).md5, verified_.md5);
    EXPECT_EQ(ReadFileBytes(program), ReadFileBytes(download_));
    // Once started, the download is let go again (a retry may replace it).
    EXPECT_EQ(Poke(L"write", download_), DWORD(ERROR_SUCCESS));
}

TEST_F(CheckToStart, NextRunRemovesTheFolderAnEarlierRunStartedFrom) {
    std::wstring first;
    InstallAndWait(first);
    const std::wstring firstFolder = first.substr(0, first.rfind(L'\\'));
    ASSERT_TRUE(FileExists(first));

    // A run in progress holds its copy; a folder of another name is not ours.
    std::wstring held;
    ASSERT_TRUE(CreateAdminOnlyFolder(base_, held));
    ASSERT_TRUE(testing::WriteTextFile(held + L"\\Kelo_x.exe", "x"));
    ScopedHandle holding = OpenHeldForReading(held + L"\\Kelo_x.exe");
    ASSERT_TRUE(holding.IsValid());
    ASSERT_TRUE(CreateDirectoryW((base_ + L"\\KeloOther").c_str(), nullptr));

    RemoveStaleInstallerFolders(base_);

    EXPECT_FALSE(FileExists(firstFolder));
    EXPECT_TRUE(FileExists(held + L"\\Kelo_x.exe"));
    EXPECT_TRUE(FileExists(base_ + L"\\KeloOther"));
    holding.Reset();
    RemoveStaleInstallerFolders(base_);
    EXPECT_EQ(FolderEntries(base_), std::vector<std::wstring>{L"KeloOther"});
}

// One entry of a DACL, for comparing.
struct Ace {
    BYTE type;
    BYTE flags;
    ACCESS_MASK mask;
    std::string sid;

    bool operator==(const Ace& other) const {
        return type == other.type && flags == other.flags && mask == other.mask && sid == other.sid;
    }
};

std::ostream& operator<<(std::ostream& out, const Ace& ace) {
    return out << "{type " << int(ace.type) << ", flags 0x" << std::hex << int(ace.flags) << ", mask 0x"
               << ace.mask << std::dec << ", " << ace.sid << "}";
}

std::string SidText(PSID sid) {
    char* text = nullptr;
    if (!ConvertSidToStringSidA(sid, &text)) return "?";
    std::string result = text;
    LocalFree(text);
    return result;
}

std::vector<Ace> DaclEntries(PSECURITY_DESCRIPTOR descriptor, bool& isProtected) {
    std::vector<Ace> aces;
    SECURITY_DESCRIPTOR_CONTROL control = 0;
    DWORD revision = 0;
    EXPECT_TRUE(GetSecurityDescriptorControl(descriptor, &control, &revision));
    isProtected = (control & SE_DACL_PROTECTED) != 0;
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    EXPECT_TRUE(GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted));
    for (DWORD i = 0; present && dacl != nullptr && i < dacl->AceCount; ++i) {
        void* entry = nullptr;
        if (!GetAce(dacl, i, &entry)) continue;
        auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
        aces.push_back({allowed->Header.AceType, allowed->Header.AceFlags, allowed->Mask,
                        SidText(reinterpret_cast<PSID>(&allowed->SidStart))});
    }
    return aces;
}

// The DACL as the file system reports it for the file or folder.
std::vector<Ace> ReadDacl(const std::wstring& path, bool& isProtected) {
    ScopedHandle object(CreateFileW(path.c_str(), READ_CONTROL,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    EXPECT_TRUE(object.IsValid()) << GetLastError();
    PSECURITY_DESCRIPTOR descriptor = nullptr;
    EXPECT_EQ(GetSecurityInfo(object.Get(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr,
                              nullptr, nullptr, &descriptor),
              DWORD(ERROR_SUCCESS));
    if (descriptor == nullptr) return {};
    std::vector<Ace> aces = DaclEntries(descriptor, isProtected);
    LocalFree(descriptor);
    return aces;
}

bool RunsOnWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

TEST(AdminOnlyFolder, ProtectedDaclGrantsAdministratorsAndSystemOnly) {
    ScratchFolder scratch;
    std::wstring folder, other;
    ASSERT_TRUE(CreateAdminOnlyFolder(scratch.Path(), folder));
    ASSERT_TRUE(CreateAdminOnlyFolder(scratch.Path(), other));
    EXPECT_NE(folder, other);
    const std::wstring name = folder.substr(scratch.Path().size() + 1);
    EXPECT_EQ(name.size(), 10u + 16u);
    EXPECT_EQ(name.substr(0, 10), L"KeloSetup-");
    EXPECT_EQ(name.find_first_not_of(L"0123456789abcdef", 10), std::wstring::npos) << name;

    constexpr BYTE kInherit = OBJECT_INHERIT_ACE | CONTAINER_INHERIT_ACE;
    const std::vector<Ace> folderAces = {{ACCESS_ALLOWED_ACE_TYPE, kInherit, FILE_ALL_ACCESS, "S-1-5-32-544"},
                                         {ACCESS_ALLOWED_ACE_TYPE, kInherit, FILE_ALL_ACCESS, "S-1-5-18"}};
    // What the folder is created with.
    AdminOnlySecurity security;
    ASSERT_TRUE(security.IsValid());
    bool isProtected = false;
    EXPECT_EQ(DaclEntries(security.Attributes()->lpSecurityDescriptor, isProtected), folderAces);
    EXPECT_TRUE(isProtected) << "ACEs of the folder above must not be inherited";
    EXPECT_FALSE(security.Attributes()->bInheritHandle);

    // What the file system then reports. Wine keeps no DACLs on files: it
    // makes one up from the Unix mode, so only Windows can show these.
    if (RunsOnWine()) return;
    isProtected = false;
    EXPECT_EQ(ReadDacl(folder, isProtected), folderAces);
    EXPECT_TRUE(isProtected);
    // The copy made inside gets the same two entries, inherited.
    const std::wstring copy = folder + L"\\Kelo_x.exe";
    ASSERT_TRUE(testing::WriteTextFile(copy, "x"));
    EXPECT_EQ(ReadDacl(copy, isProtected),
              (std::vector<Ace>{{ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE, FILE_ALL_ACCESS, "S-1-5-32-544"},
                                {ACCESS_ALLOWED_ACE_TYPE, INHERITED_ACE, FILE_ALL_ACCESS, "S-1-5-18"}}));
}

TEST(AdminOnlyFolder, FolderThatCannotBeMadeOrProgramThatCannotStartIsAFailedStart) {
    ScratchFolder scratch;
    HandoffWindow window;
    ASSERT_NE(window.Handle(), nullptr);
    const std::wstring base = scratch.Path() + L"\\system-temp";
    ASSERT_TRUE(CreateDirectoryW(base.c_str(), nullptr));
    // Verified bytes that are no program.
    const std::wstring download = scratch.Path() + L"\\Kelo_x.exe";
    ASSERT_TRUE(testing::WriteTextFile(download, "installer bytes"));
    window.SetInstallerPath(download);
    window.SetExpectedInstaller(FileFacts(download));
    for (const std::wstring& staging : {scratch.Path() + L"\\no-such-folder", base}) {
        window.ClearEvents();
        HandoffOptions options;
        options.stagingBase = staging;
        OnDownloadComplete(window, options);
        EXPECT_EQ(window.Events(), std::vector<Event>{HandoffWindow::StageEvent(StageFailed, kStartFailure)});
    }
    EXPECT_EQ(FolderEntries(base), std::vector<std::wstring>{}) << "the folder is removed again";
}

}  // namespace
}  // namespace kelo
