#include "tools/stand-ins/installer_command_line.h"

#include <gtest/gtest.h>

namespace kelo::standin {
namespace {

TEST(StandInInstallerArguments, FolderMayEndInABackslashBeforeItsQuote) {
    const std::wstring line =
        L"\"C:\\Users\\me\\AppData\\Local\\Temp\\Kelo_0a.exe\" /install /call_wnd 393822 /install_path "
        L"\"C:\\Program Files (x86)\\Brightfen\\KeloVoice\\\" /install_createshortcut /install_autorun";
    const InstallerArguments arguments = ParseInstallerArguments(line);
    EXPECT_TRUE(arguments.install);
    ASSERT_TRUE(arguments.hasWindow);
    EXPECT_EQ(arguments.window, 393822);
    ASSERT_TRUE(arguments.hasInstallPath);
    EXPECT_EQ(arguments.installPath, L"C:\\Program Files (x86)\\Brightfen\\KeloVoice\\");
    EXPECT_TRUE(arguments.createShortcut);
    EXPECT_TRUE(arguments.autorun);
    EXPECT_EQ(arguments.mode, L"");
}

TEST(StandInInstallerArguments, OptionalPartsAndOddValues) {
    struct Case {
        const wchar_t* line;
        long long window;
        const wchar_t* path;
        bool shortcut;
        bool autorun;
    } cases[] = {
        {L"\"k.exe\" /install /call_wnd 5 /install_path \"D:\\\"", 5, L"D:\\", false, false},
        {L"\"k.exe\" /install /call_wnd -12 /install_path \"\"", -12, L"", false, false},
        {L"k.exe /install /call_wnd 7 /install_path \"D:\\a b\\\" /install_autorun", 7, L"D:\\a b\\", false,
         true},
        {L"\"k.exe\" /install /call_wnd 7 /install_path D:\\x\\ /install_createshortcut", 7, L"D:\\x\\", true,
         false},
    };
    for (const Case& c : cases) {
        const InstallerArguments arguments = ParseInstallerArguments(c.line);
        EXPECT_TRUE(arguments.install) << c.line;
        EXPECT_EQ(arguments.window, c.window) << c.line;
        EXPECT_TRUE(arguments.hasInstallPath) << c.line;
        EXPECT_EQ(arguments.installPath, c.path) << c.line;
        EXPECT_EQ(arguments.createShortcut, c.shortcut) << c.line;
        EXPECT_EQ(arguments.autorun, c.autorun) << c.line;
    }
}

TEST(StandInInstallerArguments, MissingOrBadValues) {
    EXPECT_FALSE(ParseInstallerArguments(L"\"k.exe\" /install /call_wnd abc").hasWindow);
    EXPECT_FALSE(ParseInstallerArguments(L"\"k.exe\" /install /call_wnd").hasWindow);
    EXPECT_FALSE(ParseInstallerArguments(L"\"k.exe\" /install /install_path").hasInstallPath);
    EXPECT_FALSE(ParseInstallerArguments(L"\"k.exe /install\"").install);  // inside the program's quotes
    EXPECT_EQ(ParseInstallerArguments(L"k.exe /install /standin_mode stall").mode, L"stall");
}

}  // namespace
}  // namespace kelo::standin
