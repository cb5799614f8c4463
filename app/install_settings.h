#pragma once

// What the install window proposes at start: the install folder and the two
// options, decided from what an earlier installation left in the registry,
// and the folder a pick in the folder dialog stands for. Plain code, free of
// the Windows API.

#include <functional>
#include <string>

namespace kelo {

// The registry values an earlier installation leaves behind.
enum class InstallValue {
    DisplayName,     // uninstall key, "DisplayName"
    RunAtStartup,    // run key, "BrightfenKeloVoice"
    CreateShortcut,  // uninstall key, "CreateShortcut"
    InstallDir,      // uninstall key, "InstallDir"
};

struct InstallSettingsSource {
    // Reads one value as text; false when it cannot be read.
    std::function<bool(InstallValue, std::wstring&)> read;
    // Whether the folder exists (a directory, not a file).
    std::function<bool(const std::wstring&)> folderExists;
};

struct InstallSettings {
    bool shortcut = true;
    bool autorun = false;
    std::wstring installDir;  // empty: none proposed yet
};

// Without a non-empty "DisplayName" there is no earlier installation and the
// other values are not read. An "InstallDir" whose folder is gone is dropped.
InstallSettings LoadInstallSettingsFrom(const InstallSettingsSource& source);

// "\Brightfen\KeloVoice\" under the program files folder.
std::wstring DefaultInstallDir(const std::wstring& programFiles);

// The install folder for a folder picked in the dialog: a backslash when the
// pick lacks one, then "Brightfen\KeloVoice\" in every case.
std::wstring InstallDirForPickedFolder(const std::wstring& picked);

}  // namespace kelo
