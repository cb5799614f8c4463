#include "app/install_worker.h"

#include <gtest/gtest.h>
#include <windows.h>
#include <winsock2.h>

#include <chrono>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/app_config.h"
#include "app/download_run.h"
#include "app/system_services.h"
#include "app/update_protocol.h"
#include "net/multi_downloader.h"
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

// The package size the service announces in its download document.
long PackageSize() {
    const char* dir = std::getenv("KELO_TEST_SERVICE_DIR");
    std::ifstream file(std::string(dir) + "/www/pl/dl_info.json");
    std::stringstream text;
    text << file.rdbuf();
    const std::string doc = text.str();
    const size_t at = doc.find("\"size\": ");
    return at == std::string::npos ? 0 : std::atol(doc.c_str() + at + 8);
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

// Body sizes of the range answers (206) the service sent for the package.
std::vector<long> ServedRanges() {
    const char* dir = std::getenv("KELO_TEST_SERVICE_DIR");
    std::ifstream log(std::string(dir) + "/access.log");
    std::vector<long> sizes;
    std::string line;
    while (std::getline(log, line)) {
        if (line.find("GET /files/") == std::string::npos) continue;
        const size_t at = line.find("\" 206 ");
        if (at != std::string::npos) sizes.push_back(std::atol(line.c_str() + at + 6));
    }
    return sizes;
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
    WIN32_FILE_ATTRIBUTE_DATA file = {};
    ASSERT_TRUE(GetFileAttributesExW(view->InstallerPath().c_str(), GetFileExInfoStandard, &file));
    // What the hand-off checks the file against once more before starting it.
    EXPECT_EQ(view->ExpectedInstallerFile().md5, md5);
    EXPECT_EQ(view->ExpectedInstallerFile().size, static_cast<int64_t>(file.nFileSizeLow));

    // The program's own unit size, as the mirrors saw it: a source asks for a
    // run of at most 8 consecutive 512000-byte units, so every range is whole
    // units, or whole units and the file's short last one.
    const long size = PackageSize();
    ASSERT_GT(size % 512000, 0);
    const std::vector<long> ranges = ServedRanges();
    long served = 0;
    for (long range : ranges) {
        EXPECT_TRUE(range % 512000 == 0 || range % 512000 == size % 512000) << range;
        EXPECT_LE(range, 8 * 512000L) << range;
        served += range;
    }
    EXPECT_GE(served, size);

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
        // Answers the probe, then drops the connection.
        {"/case/version-once", WorkerNoVersionInfo, {L"获取版本信息失败，请重试。"}},
        {"/case/version-not-object", WorkerBadVersionInfo, {L"解析版本信息失败，请重试。"}},
        {"/case/info-missing", WorkerBadDownloadInfo, {L"解析下载信息失败，请重试。"}},
        {"/case/info-bad-md5", WorkerBadDownloadInfo, {L"解析下载信息失败，请重试。"}},
        // Larger than any document may be: the request fails.
        {"/case/info-huge", WorkerNoDownloadInfo, {L"获取下载信息失败，请重试。"}},
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

// A view that notes when the failure text arrives.
class TimedView : public RecordingView {
public:
    void ShowStage(int stage, const std::wstring& text) override {
        shownAt_ = GetTickCount64();
        RecordingView::ShowStage(stage, text);
    }
    ULONGLONG shownAt_ = 0;
};

// A host that accepts connections and never answers: its probe thread is
// still running when the probe gives up.
class SilentHost {
public:
    SilentHost() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        socket_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address = {};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        if (bind(socket_, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(socket_, 8) != 0 ||
            getsockname(socket_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            return;
        }
        url_ = "https://127.0.0.1:" + std::to_string(ntohs(address.sin_port));
    }
    ~SilentHost() {
        closesocket(socket_);
        WSACleanup();
    }
    const std::string& Url() const { return url_; }

private:
    SOCKET socket_ = INVALID_SOCKET;
    std::string url_;
};

TEST_F(InstallWorker, NoHostIsShownBeforeTheProbeWaitsForItsThreads) {
    SilentHost silent;
    ASSERT_FALSE(silent.Url().empty());
    auto view = std::make_shared<TimedView>();
    WorkerEnvironment env = Env(silent.Url());
    env.probe.waitMs = 500;
    env.probe.joinMs = 3000;
    const ULONGLONG start = GetTickCount64();
    EXPECT_EQ(RunInstallWorker(view, env), WorkerNoVersionInfo);
    const ULONGLONG end = GetTickCount64();
    ASSERT_EQ(view->Stages().size(), 1u);
    EXPECT_EQ(view->Stages()[0].text, L"获取动态地址失败，请重试。");
    EXPECT_GE(end - start, 3400u);             // the stuck thread was waited for...
    EXPECT_LE(view->shownAt_ - start, 2500u);  // ...after the text was shown
}

// A run abandoned by a newer one (a retry click) leaves the window to it:
// its late failure does not replace the newer run's page.
TEST_F(InstallWorker, AnAbandonedRunShowsNoFailure) {
    SilentHost silent;
    ASSERT_FALSE(silent.Url().empty());
    auto view = std::make_shared<RecordingView>();
    WorkerEnvironment env = Env(silent.Url());
    env.probe.waitMs = 1500;
    env.probe.joinMs = 100;
    std::thread olderRun([&] { EXPECT_EQ(RunInstallWorker(view, env), WorkerNoVersionInfo); });
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    DownloadRun newer;  // what a retry's worker does first
    olderRun.join();
    EXPECT_TRUE(view->Stages().empty());
}

// The worker's own task building when the system has no temporary folder
// for it (TMP longer than a path may be): the run fails visibly instead of
// downloading to a relative path.
TEST_F(InstallWorker, NoTemporaryFolderFailsTheRun) {
    char saved[32767] = {};
    const DWORD savedLength = GetEnvironmentVariableA("TMP", saved, sizeof saved);
    const std::string tooLong = "C:\\" + std::string(300, 'k');
    SetEnvironmentVariableA("TMP", tooLong.c_str());
    char probe[MAX_PATH] = {};
    const DWORD tempLength = GetTempPathA(MAX_PATH, probe);

    auto view = std::make_shared<RecordingView>();
    WorkerEnvironment env = Env(base_);
    env.tempFolder.clear();  // the system's answer
    const int code = RunInstallWorker(view, env);
    SetEnvironmentVariableA("TMP", savedLength > 0 ? saved : nullptr);

    ASSERT_TRUE(tempLength == 0 || tempLength >= MAX_PATH) << "GetTempPathA still answered " << probe;
    EXPECT_EQ(code, WorkerDownloadFailed);
    std::vector<std::wstring> texts;
    for (const RecordingView::Stage& stage : view->Stages()) texts.push_back(stage.text);
    EXPECT_EQ(texts, (std::vector<std::wstring>{L"下载安装文件失败,错误:下载任务创建失败",
                                                L"下载安装文件失败，请重试。"}));
    EXPECT_TRUE(view->InstallerPath().empty());
    EXPECT_EQ(view->Completions(), 0);
}

// What the shipped program runs with, read from where the program gets it.
TEST(InstallWorkerDefaults, ShippedTimingsAndUnitSize) {
    const WorkerEnvironment env = DefaultWorkerEnvironment();
    EXPECT_EQ(env.hosts, UpdateHostList());
    EXPECT_EQ(env.probe.waitMs, 10000);
    EXPECT_EQ(env.probe.joinMs, 3000);
    EXPECT_TRUE(env.tempFolder.empty());  // GetTempPathA
    EXPECT_EQ(MultiDownloader::Options().staggerMs, 30);
    EXPECT_EQ(kDownloadUnitSize, 512000);
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
