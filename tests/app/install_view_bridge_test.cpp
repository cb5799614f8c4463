#include "app/install_view_bridge.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace kelo {
namespace {

// Records what reached the "controls", and checks it only ever happens on the
// thread that plays the UI thread.
class RecordingPage : public IInstallPage {
public:
    std::thread::id uiThread = std::this_thread::get_id();
    std::vector<std::wstring> applied;
    bool offThread = false;

    void ApplyStage(int stage, const std::wstring& text) override {
        Note(L"stage " + std::to_wstring(stage) + L" " + text);
    }
    void ApplyProgress(int percent) override { Note(L"progress " + std::to_wstring(percent)); }
    void ApplyDownloadTip(const std::wstring& text) override { Note(L"tip " + text); }
    std::wstring InstallFolder() const override { return L"D:\\Kelo\\"; }
    bool ShortcutSelected() const override { return true; }
    bool AutorunSelected() const override { return false; }

private:
    void Note(const std::wstring& what) {
        if (std::this_thread::get_id() != uiThread) offThread = true;
        applied.push_back(what);
    }
};

struct Fixture {
    RecordingPage page;
    std::atomic<int> wakes{0};
    std::atomic<int> completes{0};
    std::shared_ptr<InstallViewBridge> bridge;

    Fixture() {
        const std::thread::id ui = std::this_thread::get_id();
        BridgeHooks hooks;
        hooks.onUiThread = [ui] { return std::this_thread::get_id() == ui; };
        hooks.wake = [this] { ++wakes; };
        hooks.downloadComplete = [this] { ++completes; };
        hooks.window = 0x1234;
        bridge = std::make_shared<InstallViewBridge>(&page, hooks);
    }
};

TEST(InstallViewBridge, OtherThreadsQueueAndTheUiThreadAppliesInOrder) {
    Fixture f;
    std::thread worker([&] {
        f.bridge->ShowProgress(0);
        f.bridge->SetDownloadTip(L"下载资源:0.0M/50.0M");
        f.bridge->ShowProgress(25);
        f.bridge->ShowStage(3, L"bad");
    });
    worker.join();
    EXPECT_TRUE(f.page.applied.empty());       // nothing touched from the worker
    EXPECT_EQ(f.wakes.load(), 1);              // one wake-up for a burst
    EXPECT_EQ(f.bridge->ProgressValue(), 25);  // what the bar will hold
    f.bridge->ApplyPending();
    EXPECT_EQ(f.page.applied, (std::vector<std::wstring>{L"progress 0", L"tip 下载资源:0.0M/50.0M",
                                                         L"progress 25", L"stage 3 bad"}));
    EXPECT_FALSE(f.page.offThread);
}

TEST(InstallViewBridge, UiThreadRequestsApplyAtOnceAfterQueuedOnes) {
    Fixture f;
    std::thread([&] { f.bridge->ShowProgress(50); }).join();
    f.bridge->ShowStage(1, L"");  // a WM_COPYDATA report, on the UI thread
    EXPECT_EQ(f.page.applied, (std::vector<std::wstring>{L"progress 50", L"stage 1 "}));
}

TEST(InstallViewBridge, AfterDetachNothingReachesTheWindow) {
    Fixture f;
    std::thread([&] { f.bridge->ShowProgress(10); }).join();
    f.bridge->Detach();  // the window is destroyed with a request still queued
    f.bridge->ApplyPending();
    std::thread([&] {
        f.bridge->ShowStage(3, L"late");
        f.bridge->PostDownloadComplete();
    }).join();
    f.bridge->ApplyPending();
    EXPECT_TRUE(f.page.applied.empty());
    EXPECT_EQ(f.completes.load(), 0);
    EXPECT_EQ(f.wakes.load(), 1);
    EXPECT_EQ(f.bridge->InstallFolder(), L"");
}

TEST(InstallViewBridge, ManyThreadsAtOnce) {
    Fixture f;
    std::vector<std::thread> sources;
    for (int t = 0; t < 4; ++t) {
        sources.emplace_back([&, t] {
            for (int i = 0; i < 200; ++i) {
                f.bridge->ShowProgress(t);
                if (i % 50 == 0) f.bridge->PostDownloadComplete();
            }
        });
    }
    // The UI thread keeps applying while the sources run.
    for (int i = 0; i < 100; ++i) f.bridge->ApplyPending();
    for (auto& s : sources) s.join();
    f.bridge->ApplyPending();
    EXPECT_EQ(f.page.applied.size(), 800u);
    EXPECT_EQ(f.completes.load(), 16);
    EXPECT_FALSE(f.page.offThread);
    f.bridge->SetInstallerPath(L"C:\\t\\Kelo_x.exe");
    EXPECT_EQ(f.bridge->InstallerPath(), L"C:\\t\\Kelo_x.exe");
    EXPECT_EQ(f.bridge->WindowHandle(), 0x1234u);
}

}  // namespace
}  // namespace kelo
