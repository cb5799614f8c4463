#include "app/download_progress.h"

#include "app/install_view.h"
#include "app/system_services.h"
#include "app/update_protocol.h"
#include "net/download_task.h"

namespace kelo {

std::wstring DownloadFailureReason(int32_t status) {
    // Kept wide so that they read the same whatever the system's code page.
    switch (status) {
        case DownloadBadMd5:
            return L"文件MD5验证错误";
        case DownloadBadSize:
            return L"文件大小验证错误";
        case DownloadInvalidTask:
            return L"下载任务创建失败";
        case DownloadNoSource:
            return L"无法连接下载服务器";
        case DownloadWriteFailed:
            return L"写入文件失败";
        default:
            return std::wstring();
    }
}

std::wstring DownloadFailureText(int32_t status) {
    return FormatWide(L"下载安装文件失败,错误:%s", DownloadFailureReason(status).c_str());
}

std::wstring DownloadTipText(int32_t received, int32_t total) {
    return FormatWide(L"下载资源:%0.1fM/%0.1fM", Megabytes(received), Megabytes(total));
}

void OnDownloadProgress(int32_t status, int32_t done, int32_t total, void* userData) {
    auto* view = static_cast<IInstallView*>(userData);
    if (view == nullptr) return;
    if (status != DownloadProgress) {
        view->ShowStage(StageFailed, DownloadFailureText(status));
        return;
    }
    const int percent = DownloadPercent(done, total);
    // The bar holds half of the last percentage shown, so in practice only
    // reports of 0 percent are skipped here.
    if (percent != view->ProgressValue()) {
        view->ShowProgress(static_cast<int>(percent * 0.5));
        view->SetDownloadTip(DownloadTipText(done, total));
    }
    if (percent == 100) view->PostDownloadComplete();
}

}  // namespace kelo
