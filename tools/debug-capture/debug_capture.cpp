// debug-capture: runs a program as a debuggee and prints each string it
// writes with OutputDebugString on a line of its own (UTF-8, the string's own
// trailing line break removed). Everything the program itself writes to its
// standard output or error goes to this tool's standard error, so standard
// output holds only the debug strings. Ends with the program's exit code, or
// 127 when the program cannot be started.
//
// Usage: debug-capture.exe <program> [arguments...]
// The rest of the command line after this tool's own name is passed on as
// written.

#include <windows.h>

#include <string>
#include <vector>

#include "app/scoped_handle.h"

namespace {

// The command line after the first token (quoted or not).
std::wstring CommandLineAfterProgram(const wchar_t* line) {
    const wchar_t* at = line;
    if (*at == L'"') {
        ++at;
        while (*at != L'\0' && *at != L'"') ++at;
        if (*at == L'"') ++at;
    } else {
        while (*at != L'\0' && *at != L' ' && *at != L'\t') ++at;
    }
    while (*at == L' ' || *at == L'\t') ++at;
    return at;
}

void WriteOut(const std::string& bytes) {
    DWORD written = 0;
    WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), bytes.data(), static_cast<DWORD>(bytes.size()), &written,
              nullptr);
}

std::string WideToUtf8(const std::wstring& text) {
    if (text.empty()) return std::string();
    const int size = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                         nullptr, nullptr);
    std::string utf8(static_cast<size_t>(size), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &utf8[0], size, nullptr,
                        nullptr);
    return utf8;
}

// Reads the string the debuggee handed over; ANSI strings are in its code page.
std::wstring ReadDebugString(HANDLE process, const OUTPUT_DEBUG_STRING_INFO& info) {
    const size_t units = info.nDebugStringLength;
    if (units == 0 || info.lpDebugStringData == nullptr) return std::wstring();
    std::wstring text;
    if (info.fUnicode) {
        std::vector<wchar_t> buffer(units, L'\0');
        SIZE_T read = 0;
        ReadProcessMemory(process, info.lpDebugStringData, buffer.data(), units * sizeof(wchar_t), &read);
        text.assign(buffer.data(), read / sizeof(wchar_t));
    } else {
        std::vector<char> buffer(units, '\0');
        SIZE_T read = 0;
        ReadProcessMemory(process, info.lpDebugStringData, buffer.data(), units, &read);
        const int size = MultiByteToWideChar(CP_ACP, 0, buffer.data(), static_cast<int>(read), nullptr, 0);
        text.assign(static_cast<size_t>(size), L'\0');
        if (size > 0) MultiByteToWideChar(CP_ACP, 0, buffer.data(), static_cast<int>(read), &text[0], size);
    }
    // The length counts the terminating NUL.
    const size_t nul = text.find(L'\0');
    if (nul != std::wstring::npos) text.erase(nul);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r')) text.pop_back();
    return text;
}

int Capture(const std::wstring& commandLine) {
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_ERROR_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION created = {};
    std::vector<wchar_t> line(commandLine.c_str(), commandLine.c_str() + commandLine.size() + 1);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, DEBUG_ONLY_THIS_PROCESS, nullptr,
                        nullptr, &startup, &created)) {
        return 127;
    }
    kelo::ScopedProcessInfo debuggee;
    debuggee.Adopt(created);

    DWORD exitCode = 0;
    for (;;) {
        DEBUG_EVENT event = {};
        if (!WaitForDebugEvent(&event, INFINITE)) return 127;
        DWORD status = DBG_CONTINUE;
        bool done = false;
        switch (event.dwDebugEventCode) {
            case CREATE_PROCESS_DEBUG_EVENT: {
                kelo::ScopedHandle image(event.u.CreateProcessInfo.hFile);
                break;
            }
            case LOAD_DLL_DEBUG_EVENT: {
                kelo::ScopedHandle image(event.u.LoadDll.hFile);
                break;
            }
            case OUTPUT_DEBUG_STRING_EVENT:
                WriteOut(WideToUtf8(ReadDebugString(debuggee.process.Get(), event.u.DebugString)) + "\n");
                break;
            case EXCEPTION_DEBUG_EVENT:
                // Only the loader's initial breakpoint is ours; the debuggee handles the rest.
                if (event.u.Exception.ExceptionRecord.ExceptionCode != EXCEPTION_BREAKPOINT) {
                    status = DBG_EXCEPTION_NOT_HANDLED;
                }
                break;
            case EXIT_PROCESS_DEBUG_EVENT:
                exitCode = event.u.ExitProcess.dwExitCode;
                done = true;
                break;
            default:
                break;
        }
        ContinueDebugEvent(event.dwProcessId, event.dwThreadId, status);
        if (done) return static_cast<int>(exitCode);
    }
}

}  // namespace

int wmain() {
    const std::wstring commandLine = CommandLineAfterProgram(GetCommandLineW());
    if (commandLine.empty()) {
        const char usage[] = "usage: debug-capture <program> [arguments...]\n";
        DWORD written = 0;
        WriteFile(GetStdHandle(STD_ERROR_HANDLE), usage, sizeof(usage) - 1, &written, nullptr);
        return 2;
    }
    return Capture(commandLine);
}
