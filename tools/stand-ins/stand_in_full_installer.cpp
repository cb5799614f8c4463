// Stand-in for the full installer, for tests of the hand-off: it takes the
// command line the installer program builds, logs it beside itself, reports
// progress to the /call_wnd window, installs the stand-in client as
// "KeloVoice.exe", writes the registry values of a completed installation and
// reports success, or an error when the folder cannot be created.
//
// Test behaviour, from "/standin_mode <mode>" or else the environment variable
// KELO_STANDIN_MODE (which reaches it through the installer program):
//   fail  - reports an error after the first progress report, changes nothing;
//   stall - reports 0 and 37 percent, then waits (at most a minute) and ends
//           without a final report;
//   fail_late - reports 100 percent, then an error.
// KELO_STANDIN_STEP_MS paces the reports (a pause before each one after the
// first), so a watcher sees every stage; KELO_STANDIN_LOG names the log file
// instead of the one beside the program, wherever the program was started from.
// Exit codes: 0 installed, 1 error reported, 2 bad command line, 3 stalled.

#include <shlobj.h>
#include <windows.h>

#include <string>

#include "app/scoped_handle.h"
#include "tools/stand-ins/installer_command_line.h"
#include "tools/stand-ins/stand_in_log.h"

namespace kelo::standin {
namespace {

const wchar_t kUninstallKey[] =
    L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\BrightfenKeloVoice";
const wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run\\";
const wchar_t kRunValue[] = L"BrightfenKeloVoice";
const wchar_t kClientResource[] = L"STANDIN_CLIENT";

constexpr DWORD kSendTimeoutMs = 30000;
constexpr DWORD kStallMs = 60000;

class Reporter {
public:
    explicit Reporter(HWND window) : window_(window) {}

    void Progress(int percent) { Send(1, std::to_string(percent)); }
    void Success() { SendRaw(2, nullptr, 0); }
    void Error(const std::wstring& text) { Send(3, ToAnsi(text)); }

private:
    static std::string ToAnsi(const std::wstring& text) {
        if (text.empty()) return std::string();
        const int size = WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), nullptr,
                                             0, nullptr, nullptr);
        std::string ansi(static_cast<size_t>(size), '\0');
        WideCharToMultiByte(CP_ACP, 0, text.data(), static_cast<int>(text.size()), &ansi[0], size, nullptr,
                            nullptr);
        return ansi;
    }

    void Send(ULONG_PTR kind, const std::string& text) {
        SendRaw(kind, text.c_str(), static_cast<DWORD>(text.size() + 1));
    }

    // Bounded, so a window that stopped answering cannot keep this process alive.
    void SendRaw(ULONG_PTR kind, const void* data, DWORD size) {
        COPYDATASTRUCT report = {};
        report.dwData = kind;
        report.cbData = size;
        report.lpData = const_cast<void*>(data);
        DWORD_PTR result = 0;
        SendMessageTimeoutW(window_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&report), SMTO_ABORTIFHUNG,
                            kSendTimeoutMs, &result);
    }

    HWND window_;
};

bool IsDirectory(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool CreateFolder(const std::wstring& folder) {
    if (folder.empty()) return false;
    SHCreateDirectoryExW(nullptr, folder.c_str(), nullptr);
    return IsDirectory(folder);
}

std::wstring WithTrailingBackslash(std::wstring folder) {
    if (!folder.empty() && folder.back() != L'\\' && folder.back() != L'/') folder += L'\\';
    return folder;
}

// The client travels inside this program, as a real full installer carries its payload.
bool WriteClient(const std::wstring& path) {
    HRSRC resource = FindResourceW(nullptr, kClientResource, MAKEINTRESOURCEW(10) /* RT_RCDATA */);
    if (resource == nullptr) return false;
    HGLOBAL loaded = LoadResource(nullptr, resource);
    const void* bytes = loaded != nullptr ? LockResource(loaded) : nullptr;
    const DWORD size = SizeofResource(nullptr, resource);
    if (bytes == nullptr || size == 0) return false;
    ScopedHandle file(
        CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file.IsValid()) return false;
    DWORD written = 0;
    return WriteFile(file.Get(), bytes, size, &written, nullptr) && written == size;
}

bool SetString(HKEY key, const wchar_t* name, const std::wstring& value) {
    return RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))) == ERROR_SUCCESS;
}

// The values the installer program reads on its next start. Choices not made
// this time are removed, so an earlier installation's choice does not linger.
bool WriteRegistry(const InstallerArguments& arguments, const std::wstring& clientPath) {
    ScopedRegKey uninstall;
    if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, kUninstallKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        uninstall.Receive(), nullptr) != ERROR_SUCCESS) {
        return false;
    }
    if (!SetString(uninstall.Get(), L"DisplayName", L"KeloVoice") ||
        !SetString(uninstall.Get(), L"InstallDir", arguments.installPath)) {
        return false;
    }
    if (arguments.createShortcut) {
        if (!SetString(uninstall.Get(), L"CreateShortcut", L"1")) return false;
    } else {
        RegDeleteValueW(uninstall.Get(), L"CreateShortcut");
    }

    ScopedRegKey run;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, run.Receive(),
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    if (arguments.autorun) return SetString(run.Get(), kRunValue, L"\"" + clientPath + L"\"");
    RegDeleteValueW(run.Get(), kRunValue);
    return true;
}

std::wstring Environment(const wchar_t* name) {
    wchar_t buffer[1024] = {};
    const DWORD length = GetEnvironmentVariableW(name, buffer, 1024);
    return length > 0 && length < 1024 ? std::wstring(buffer, length) : std::wstring();
}

void Pause() {
    const std::wstring step = Environment(L"KELO_STANDIN_STEP_MS");
    if (!step.empty()) Sleep(static_cast<DWORD>(_wtoi(step.c_str())));
}

int Run() {
    const std::wstring commandLine = GetCommandLineW();
    InstallerArguments arguments = ParseInstallerArguments(commandLine);
    if (arguments.mode.empty()) arguments.mode = Environment(L"KELO_STANDIN_MODE");
    const std::wstring logPath = Environment(L"KELO_STANDIN_LOG");

    WriteLog(logPath.empty() ? LogPathBesideProgram() : logPath,
             {
                 {"command_line", commandLine},
                 {"install", arguments.install ? L"1" : L"0"},
                 {"call_wnd", arguments.hasWindow ? std::to_wstring(arguments.window) : L""},
                 {"install_path", arguments.installPath},
                 {"install_createshortcut", arguments.createShortcut ? L"1" : L"0"},
                 {"install_autorun", arguments.autorun ? L"1" : L"0"},
                 {"mode", arguments.mode},
                 {"pid", std::to_wstring(GetCurrentProcessId())},
             });

    // Window handles travel as signed 32-bit decimals and widen by sign extension.
    HWND window = reinterpret_cast<HWND>(static_cast<intptr_t>(arguments.window));
    if (!arguments.install || !arguments.hasWindow || !arguments.hasInstallPath || !IsWindow(window))
        return 2;

    Reporter reporter(window);
    reporter.Progress(0);
    Pause();
    if (arguments.mode == L"fail") {
        reporter.Error(L"Installation failed on purpose (stand-in fail mode).");
        return 1;
    }
    if (!CreateFolder(arguments.installPath)) {
        reporter.Error(L"Cannot create the install folder: " + arguments.installPath);
        return 1;
    }
    reporter.Progress(37);
    Pause();
    if (arguments.mode == L"stall") {
        Sleep(kStallMs);
        return 3;
    }
    const std::wstring clientPath = WithTrailingBackslash(arguments.installPath) + L"KeloVoice.exe";
    if (!WriteClient(clientPath)) {
        reporter.Error(L"Cannot write the client: " + clientPath);
        return 1;
    }
    if (!WriteRegistry(arguments, clientPath)) {
        reporter.Error(L"Cannot write the registry values.");
        return 1;
    }
    reporter.Progress(100);
    Pause();
    if (arguments.mode == L"fail_late") {
        reporter.Error(L"Installation failed at the end on purpose (stand-in fail_late mode).");
        return 1;
    }
    reporter.Success();
    return 0;
}

}  // namespace
}  // namespace kelo::standin

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    return kelo::standin::Run();
}
