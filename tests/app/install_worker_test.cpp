#include "app/install_worker.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/download_run.h"
#include "app/system_services.h"
#include "recording_view.h"

namespace kelo {
namespace {

// The local update service started around this test (with-service).
std::string ServiceBase() {
    const char* dir = std::getenv("KELO_TEST_SERVICE_DIR");
    if (dir == nullptr) return std::string();
    std::ifstream file(std::string(dir) + "/base_url");
    std::string base;
    std::getline(file, base);
    return base;
}

std::string PackageMd5() {
    const char* dir = std::getenv("KELO_TEST_SERVICE_DIR");
    std::ifstream file(std::string(dir) + "/www/pl/dl_info.json");
    std::stringstream text;
    text << file.rdbuf();
    const std::string doc = text.str();
    const size_t at = doc.find("\"md5\": \"");
    return at == std::string::npos ? std::string() : doc.substr(at + 8, 32);
}

class InstallWorker : public ::testing::Test {
protected:
    void SetUp() override {
        base_ = ServiceBase();
        if (base_.empty()) GTEST_SKIP() << "no local update service (run through with-service)";
        char temp[MAX_PATH] = {};
        GetTempPathA(MAX_PATH, temp);
        folder_ = std::string(temp) + "kelo-worker-" + std::to_string(GetCurrentProcessId()) + "\\";
        CreateDirectoryA(folder_.c_str(), nullptr);
    }
    void TearDown() override {
        if (folder_.empty()) return;
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((folder_ + "*").c_str(), &found);
        if (search != INVALID_HANDLE_VALUE) {
            do {
                DeleteFileA((folder_ + found.cFileName).c_str());
            } while (FindNextFileA(search, &found));
            FindClose(search);
        }
        RemoveDirectoryA(folder_.c_str());
    }

    WorkerEnvironment Env(const std::string& host, bool wow64 = false) const {
        WorkerEnvironment env;
        env.hosts = {host};
        env.probe.waitMs = 3000;
        env.isWow64 = wow64 ? +[] { return true; } : +[] { return false; };
        env.tempFolder = folder_;
        return env;
    }

    std::string base_;
    std::string folder_;
};

TEST_F(InstallWorker, DownloadsAndVerifiesThePackage) {
    auto view = std::make_shared<RecordingView>();
    EXPECT_EQ(RunInstallWorker(view, Env(base_)), WorkerOk);

    const std::string md5 = PackageMd5();
    ASSERT_EQ(md5.size(), 32u);
    EXPECT_EQ(view->InstallerPath(), AnsiToWide(folder_ + "Kelo_" + md5 + ".exe"));
    EXPECT_TRUE(view->Stages().empty());
    EXPECT_EQ(view->Completions(), 1);
    const std::vector<int> progress = view->Progress();
    ASSERT_GE(progress.size(), 2u);
    EXPECT_EQ(progress.front(), 0);
    EXPECT_EQ(progress.back(), 50);  // the download fills the first half of the bar
    const std::vector<std::wstring> tips = view->Tips();
    ASSERT_FALSE(tips.empty());
    EXPECT_EQ(tips.front(), L"下载资源:0.0M/3.0M");
    EXPECT_EQ(tips.back(), L"下载资源:3.0M/3.0M");
    const DWORD attributes = GetFileAttributesW(view->InstallerPath().c_str());
    EXPECT_NE(attributes, INVALID_FILE_ATTRIBUTES);

    // A second run finds the complete, verified file and reports it at once.
    auto again = std::make_shared<RecordingView>();
    EXPECT_EQ(RunInstallWorker(again, Env(base_)), WorkerOk);
    EXPECT_EQ(again->Completions(), 1);
    EXPECT_EQ(again->Progress(), (std::vector<int>{0, 50}));
}

TEST_F(InstallWorker, EveryFailingStageShowsItsText) {
    struct Case {
        const char* host;  // below the service's base URL
        int code;
        std::vector<std::wstring> texts;
    } cases[] = {
        {"/case/html", WorkerNoVersionInfo, {L"获取动态地址失败，请重试。"}},
        {"/case/version-not-object", WorkerBadVersionInfo, {L"解析版本信息失败，请重试。"}},
        {"/case/info-missing", WorkerBadDownloadInfo, {L"解析下载信息失败，请重试。"}},
        {"/case/info-bad-md5", WorkerBadDownloadInfo, {L"解析下载信息失败，请重试。"}},
        {"/case/info-size-zero",
         WorkerDownloadFailed,
         {L"下载安装文件失败,错误:下载任务创建失败", L"下载安装文件失败，请重试。"}},
        {"/case/info-wrong-md5", WorkerOk, {L"下载安装文件失败,错误:文件MD5验证错误"}},
    };
    for (const Case& c : cases) {
        auto view = std::make_shared<RecordingView>();
        EXPECT_EQ(RunInstallWorker(view, Env(base_ + c.host)), c.code) << c.host;
        std::vector<std::wstring> texts;
        for (const RecordingView::Stage& stage : view->Stages()) {
            EXPECT_EQ(stage.kind, StageFailed) << c.host;
            texts.push_back(stage.text);
        }
        EXPECT_EQ(texts, c.texts) << c.host;
        EXPECT_EQ(view->Completions(), 0) << c.host;
    }
}

TEST_F(InstallWorker, UnreachableHostFailsAfterTheProbeWait) {
    auto view = std::make_shared<RecordingView>();
    WorkerEnvironment env = Env("https://127.0.0.1:1");
    env.probe.waitMs = 500;
    EXPECT_EQ(RunInstallWorker(view, env), WorkerNoVersionInfo);
    ASSERT_EQ(view->Stages().size(), 1u);
    EXPECT_EQ(view->Stages()[0].text, L"获取动态地址失败，请重试。");
}

TEST_F(InstallWorker, BitnessPicksTheDownloadDocument) {
    for (bool wow64 : {false, true}) {
        auto view = std::make_shared<RecordingView>();
        RunInstallWorker(view, Env(base_ + "/case/info-bitness", wow64));
        const std::wstring expected =
            AnsiToWide(std::string("Kelo_") + std::string(32, wow64 ? '6' : '3') + ".exe");
        const std::wstring path = view->InstallerPath();
        ASSERT_GE(path.size(), expected.size());
        EXPECT_EQ(path.substr(path.size() - expected.size()), expected) << wow64;
    }
}

// A retry while an earlier run is still downloading: the new run sets the
// window's bar, tip and installer path only once the earlier run is gone, and
// an earlier run that reaches its download after a newer run started leaves
// the window alone.
TEST_F(InstallWorker, OnlyTheNewestRunTouchesTheDownloadDisplay) {
    auto earlierRun = std::make_unique<DownloadRun>();  // still downloading
    earlierRun->TakeDownloadStep();

    auto older = std::make_shared<RecordingView>();
    std::thread olderRun([&] { RunInstallWorker(older, Env(base_)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));
    EXPECT_TRUE(earlierRun->Abandoned());
    auto newer = std::make_shared<RecordingView>();
    std::thread newerRun([&] { RunInstallWorker(newer, Env(base_)); });
    std::this_thread::sleep_for(std::chrono::milliseconds(1500));

    // Both wait for the earlier run's download step.
    for (const auto& view : {older, newer}) {
        EXPECT_TRUE(view->Progress().empty());
        EXPECT_TRUE(view->Tips().empty());
        EXPECT_TRUE(view->InstallerPath().empty());
    }
    earlierRun.reset();
    olderRun.join();
    newerRun.join();

    EXPECT_TRUE(older->Progress().empty());
    EXPECT_TRUE(older->Tips().empty());
    EXPECT_TRUE(older->InstallerPath().empty());
    EXPECT_TRUE(older->Stages().empty());
    EXPECT_EQ(older->Completions(), 0);
    EXPECT_EQ(newer->Completions(), 1);
    EXPECT_FALSE(newer->InstallerPath().empty());
    ASSERT_FALSE(newer->Progress().empty());
    EXPECT_EQ(newer->Progress().back(), 50);
}

}  // namespace
}  // namespace kelo
