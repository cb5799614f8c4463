// Another process trying to change a file: "file-poke write|delete|rename
// PATH". Exits with 0 when it could, else with the Win32 error code.

#include <windows.h>

#include <string>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) return ERROR_BAD_ARGUMENTS;
    const std::wstring action = argv[1];
    const std::wstring path = argv[2];
    if (action == L"write") {
        HANDLE file =
            CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                        nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) return static_cast<int>(GetLastError());
        const char byte = 'X';
        DWORD written = 0;
        const bool ok = WriteFile(file, &byte, 1, &written, nullptr) && written == 1;
        const DWORD error = ok ? ERROR_SUCCESS : GetLastError();
        CloseHandle(file);
        return static_cast<int>(error);
    }
    if (action == L"delete") return DeleteFileW(path.c_str()) ? 0 : static_cast<int>(GetLastError());
    if (action == L"rename") {
        const std::wstring moved = path + L".moved";
        return MoveFileExW(path.c_str(), moved.c_str(), 0) ? 0 : static_cast<int>(GetLastError());
    }
    return ERROR_BAD_ARGUMENTS;
}
