#pragma once

// Starting the downloaded full installer, turning its WM_COPYDATA reports into
// stages and progress, and starting the installed client. Everything here runs
// on the install window's UI thread.

#include <windows.h>

#include <string>

#include "app/install_view.h"
#include "app/installer_staging.h"

namespace kelo {

struct ProcessTokenApi;

// Posted to the install window by the download callback once the full
// installer is downloaded and verified.
constexpr UINT WM_DOWNLOAD_COMPLETE = WM_USER + 1;

// Shown when the downloaded full installer cannot be started.
extern const wchar_t kInstallerStartFailedText[];

// The full installer's command line: the quoted program, the window to report
// to, the quoted install folder (a trailing backslash stays as it is, directly
// before the closing quote) and the two option switches.
std::wstring InstallerCommandLine(const std::wstring& installerPath, uintptr_t window,
                                  const std::wstring& installFolder, bool createShortcut, bool autorun);

// The installed client's path and command line; the folder is taken as it
// is, so a folder without a trailing backslash names a file beside it.
std::wstring ClientPath(const std::wstring& installFolder);
std::wstring ClientCommandLine(const std::wstring& installFolder, bool shortcut, bool autorun);

// Where the hand-off makes the installer's folder, and the points where
// tests act between its steps.
struct HandoffOptions {
    std::wstring stagingBase;  // empty: SystemTempFolder()
    StagingHooks hooks;
};

// WM_DOWNLOAD_COMPLETE: runs the installer at the view's InstallerPath with
// the folder the view shows now.
void OnDownloadComplete(IInstallView& view, const HandoffOptions& options = HandoffOptions());

// Starts the full installer without waiting for it. The download is held
// against writers, checked once more against the view's ExpectedInstallerFile,
// copied into a new administrators-only folder, checked there, and the copy
// is started, from that folder, with the installer's command line. The
// download itself stays where it is, for reuse by a retry.
// A download that no longer matches shows the download's checksum (or size)
// failure; anything else that keeps the installer from starting shows
// kInstallerStartFailedText. Either way nothing is started.
void RunInstaller(IInstallView& view, const std::wstring& installerPath, const std::wstring& installFolder,
                  const HandoffOptions& options = HandoffOptions());

// WM_COPYDATA from the full installer. Kinds other than 1 to 3 change
// nothing. The window then leaves the message to its default handling.
void HandleInstallerReport(IInstallView& view, const COPYDATASTRUCT& report);

// Starts "KeloVoice.exe" in the folder, at medium integrity when the token
// can be lowered, else with this program's own token. False when the client
// is missing or no process was created.
bool LaunchClient(IInstallView& view, const std::wstring& installFolder);
// LaunchClient over the given token calls, so tests can make lowering fail.
bool LaunchClientWith(IInstallView& view, const std::wstring& installFolder, const ProcessTokenApi& tokenApi);

}  // namespace kelo
