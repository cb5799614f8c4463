#include "app/download_progress.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "net/download_task.h"
#include "recording_view.h"

namespace kelo {
namespace {

constexpr int32_t kMiB = 1024 * 1024;

// One report into a view whose bar may already hold a value.
TEST(DownloadProgress, EveryStatusReachesTheView) {
    struct Case {
        const char* name;
        int32_t status, done, total;
        int barBefore;  // -1: nothing shown yet (the bar holds 0)
        std::vector<std::wstring> failures;
        std::vector<int> progress;  // requests after barBefore
        std::vector<std::wstring> tips;
        int completions;
    } cases[] = {
        {"nothing received yet", DownloadProgress, 0, 50 * kMiB, -1, {}, {}, {}, 0},
        {"half", DownloadProgress, 25 * kMiB, 50 * kMiB, 0, {}, {25}, {L"下载资源:25.0M/50.0M"}, 0},
        {"a fraction of a percent", DownloadProgress, 1, 50 * kMiB, 0, {}, {}, {}, 0},
        // The test is against the bar, which holds half the percentage shown.
        {"percent equal to the bar", DownloadProgress, 25 * kMiB / 2, 50 * kMiB, 25, {}, {}, {}, 0},
        {"all", DownloadProgress, 50 * kMiB, 50 * kMiB, 25, {}, {50}, {L"下载资源:50.0M/50.0M"}, 1},
        {"md5",
         DownloadBadMd5,
         50 * kMiB,
         50 * kMiB,
         50,
         {L"下载安装文件失败,错误:文件MD5验证错误"},
         {},
         {},
         0},
        {"size",
         DownloadBadSize,
         50 * kMiB,
         50 * kMiB,
         50,
         {L"下载安装文件失败,错误:文件大小验证错误"},
         {},
         {},
         0},
        {"refused", DownloadInvalidTask, 0, 0, 0, {L"下载安装文件失败,错误:下载任务创建失败"}, {}, {}, 0},
        {"no source",
         DownloadNoSource,
         kMiB,
         50 * kMiB,
         1,
         {L"下载安装文件失败,错误:无法连接下载服务器"},
         {},
         {},
         0},
        {"write",
         DownloadWriteFailed,
         kMiB,
         50 * kMiB,
         1,
         {L"下载安装文件失败,错误:写入文件失败"},
         {},
         {},
         0},
        {"unknown", 6, 0, 50 * kMiB, 0, {L"下载安装文件失败,错误:"}, {}, {}, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        RecordingView view;
        if (c.barBefore >= 0) view.ShowProgress(c.barBefore);
        OnDownloadProgress(c.status, c.done, c.total, &view);

        std::vector<std::wstring> failures;
        for (const RecordingView::Stage& stage : view.Stages()) {
            EXPECT_EQ(stage.kind, StageFailed);
            failures.push_back(stage.text);
        }
        EXPECT_EQ(failures, c.failures);
        std::vector<int> progress = view.Progress();
        if (c.barBefore >= 0) progress.erase(progress.begin());
        EXPECT_EQ(progress, c.progress);
        EXPECT_EQ(view.Tips(), c.tips);
        EXPECT_EQ(view.Completions(), c.completions);
    }
}

}  // namespace
}  // namespace kelo
