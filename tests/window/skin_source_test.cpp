// Where a window's skin comes from: each source kind builds the same tree; a
// missing or empty "ZIP" resource leaves an empty window and no message; a
// skin without a root ends the program with the message box and code 1.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "tests/window/window_fixtures.h"
#include "ui/skin/skin_sources.h"

namespace SkinUI {
namespace testing_support {
namespace {

class SkinSourceTest : public ::testing::Test {
protected:
    void SetUp() override { SkinSources::Reset(); }
    void TearDown() override { SkinSources::Reset(); }
};

TEST_F(SkinSourceTest, EveryKindBuildsTheSkin) {
    struct Case {
        const char* what;
        int kind;
        const wchar_t* folder;
        const wchar_t* file;
        const wchar_t* archive;
        const UiChar* resource;
    } cases[] = {
        {"files in the skin folder", SkinFromFile, L"" WINDOW_TEST_SKIN_FOLDER, L"window.xml", L"", nullptr},
        {"archive file in the skin folder", SkinFromArchiveFile, L"" WINDOW_TEST_ARCHIVE_FOLDER,
         L"window.xml", L"window_skin.zip", nullptr},
        {"xml resource by decimal id", SkinFromResource, L"", L"300", L"", nullptr},
        {"ZIP resource 200", SkinFromArchiveResource, L"", L"window.xml", L"", MAKEINTRESOURCEW(200)},
    };
    for (const Case& c : cases) {
        SkinSources::Reset();
        CManagerUI::SetSkinFolderPath(c.folder);
        TestWindow window(c.file);
        window.kind = c.kind;
        window.archiveFile = c.archive;
        window.resourceId = c.resource;
        HWND frame = window.Create();
        ASSERT_NE(frame, nullptr) << c.what;
        EXPECT_EQ(window.initCount, 1) << c.what;
        ASSERT_NE(window.Find(L"closebtn"), nullptr) << c.what;
        EXPECT_STREQ(window.Find(L"title")->GetText().Data(), L"标题") << c.what;
        RECT client;
        GetClientRect(frame, &client);
        EXPECT_EQ(client.right, 240) << c.what;
        DestroyWindow(frame);
    }
}

TEST_F(SkinSourceTest, MissingOrEmptyArchiveResourceLeavesAnEmptyWindow) {
    for (int id : {201, 299}) {
        SkinSources::Reset();
        TestWindow window(L"window.xml");
        window.kind = SkinFromArchiveResource;
        window.resourceId = MAKEINTRESOURCEW(id);
        HWND frame = window.Create();
        ASSERT_NE(frame, nullptr) << id;
        EXPECT_EQ(window.Manager().Root(), nullptr) << id;
        EXPECT_EQ(window.initCount, 0) << id;
        // The window still works: painting and input find nothing to do.
        ShowWindow(frame, SW_SHOWNOACTIVATE);
        UpdateWindow(frame);
        SendMessageW(frame, WM_MOUSEMOVE, 0, PointParam(10, 10));
        SendMessageW(frame, WM_LBUTTONDOWN, MK_LBUTTON, PointParam(10, 10));
        SendMessageW(frame, WM_LBUTTONUP, 0, PointParam(10, 10));
        PumpPending();
        DestroyWindow(frame);
    }
}

struct FoundBox {
    HWND box = nullptr;
    std::wstring text;
};

BOOL CALLBACK CollectText(HWND child, LPARAM data) {
    wchar_t text[256] = {};
    GetWindowTextW(child, text, 256);
    reinterpret_cast<FoundBox*>(data)->text += text;
    return TRUE;
}

TEST_F(SkinSourceTest, SkinWithoutRootShowsTheMessageBoxAndEndsWithOne) {
    wchar_t command[MAX_PATH * 2] = L"\"" SKIN_FAILURE_PROGRAM L"\"";
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    ASSERT_TRUE(
        CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process));
    FoundBox found;
    for (int i = 0; i < 1200 && found.box == nullptr; ++i) {
        found.box = FindWindowW(L"#32770", L"SkinUI");
        if (found.box == nullptr) {
            // Still running: the box must come before the program ends.
            ASSERT_EQ(WaitForSingleObject(process.hProcess, 50), static_cast<DWORD>(WAIT_TIMEOUT));
        }
    }
    ASSERT_NE(found.box, nullptr);
    EnumChildWindows(found.box, CollectText, reinterpret_cast<LPARAM>(&found));
    EXPECT_NE(found.text.find(L"加载资源文件失败"), std::wstring::npos);
    PostMessageW(found.box, WM_COMMAND, IDOK, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 60000), static_cast<DWORD>(WAIT_OBJECT_0));
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    EXPECT_EQ(code, 1u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
}  // namespace testing_support
}  // namespace SkinUI
