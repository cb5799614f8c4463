#include "app/install_settings.h"

namespace kelo {

namespace {

bool ReadNonEmpty(const InstallSettingsSource& source, InstallValue value) {
    std::wstring text;
    return source.read(value, text) && !text.empty();
}

}  // namespace

InstallSettings LoadInstallSettingsFrom(const InstallSettingsSource& source) {
    InstallSettings settings;
    if (!ReadNonEmpty(source, InstallValue::DisplayName)) return settings;
    settings.autorun = ReadNonEmpty(source, InstallValue::RunAtStartup);
    settings.shortcut = ReadNonEmpty(source, InstallValue::CreateShortcut);
    std::wstring dir;
    if (source.read(InstallValue::InstallDir, dir)) {
        // Shown exactly as stored, trailing backslash or not.
        settings.installDir = source.folderExists(dir) ? dir : std::wstring();
    }
    return settings;
}

std::wstring DefaultInstallDir(const std::wstring& programFiles) {
    return programFiles + L"\\Brightfen\\KeloVoice\\";
}

std::wstring InstallDirForPickedFolder(const std::wstring& picked) {
    std::wstring dir = picked;
    if (!dir.empty() && dir.back() != L'\\') dir += L'\\';
    return dir + L"Brightfen\\KeloVoice\\";
}

}  // namespace kelo
