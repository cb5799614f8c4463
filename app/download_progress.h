#pragma once

#include <cstdint>
#include <string>

namespace kelo {

// The download callback: keeps the window's bar and tip current and posts
// WM_DOWNLOAD_COMPLETE at 100 percent. `userData` is the IInstallView.
// Keeps no state between calls; safe to enter from several threads at once.
void OnDownloadProgress(int32_t status, int32_t done, int32_t total, void* userData);

// The reason shown after "下载安装文件失败,错误:" for a failing status.
std::wstring DownloadFailureReason(int32_t status);
// "下载安装文件失败,错误:" and the reason.
std::wstring DownloadFailureText(int32_t status);
// "下载资源:%0.1fM/%0.1fM"
std::wstring DownloadTipText(int32_t received, int32_t total);

}  // namespace kelo
