#pragma once

// Owners for the Win32 handles of the system services and the hand-off.

#include <windows.h>

namespace kelo {

// A kernel handle closed with CloseHandle. Null and INVALID_HANDLE_VALUE both
// mean "none", since Win32 uses either depending on the call.
class ScopedHandle {
public:
    ScopedHandle() = default;
    explicit ScopedHandle(HANDLE handle) : handle_(handle) {}
    ~ScopedHandle() { Reset(); }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
    ScopedHandle(ScopedHandle&& other) noexcept : handle_(other.Release()) {}
    ScopedHandle& operator=(ScopedHandle&& other) noexcept {
        if (this != &other) Reset(other.Release());
        return *this;
    }

    HANDLE Get() const { return handle_; }
    bool IsValid() const { return handle_ != nullptr && handle_ != INVALID_HANDLE_VALUE; }
    // For out-parameters of the API: releases any handle held and returns the slot.
    HANDLE* Receive() {
        Reset();
        return &handle_;
    }
    HANDLE Release() {
        HANDLE handle = handle_;
        handle_ = nullptr;
        return handle;
    }
    void Reset(HANDLE handle = nullptr) {
        if (IsValid()) CloseHandle(handle_);
        handle_ = handle;
    }

private:
    HANDLE handle_ = nullptr;
};

// An open registry key closed with RegCloseKey.
class ScopedRegKey {
public:
    ScopedRegKey() = default;
    ~ScopedRegKey() {
        if (key_ != nullptr) RegCloseKey(key_);
    }
    ScopedRegKey(const ScopedRegKey&) = delete;
    ScopedRegKey& operator=(const ScopedRegKey&) = delete;

    HKEY Get() const { return key_; }
    HKEY* Receive() {
        if (key_ != nullptr) RegCloseKey(key_);
        key_ = nullptr;
        return &key_;
    }

private:
    HKEY key_ = nullptr;
};

// Both handles of a created process.
struct ScopedProcessInfo {
    ScopedHandle process;
    ScopedHandle thread;

    // Takes ownership of what CreateProcess* filled in.
    void Adopt(const PROCESS_INFORMATION& info) {
        process.Reset(info.hProcess);
        thread.Reset(info.hThread);
    }
};

}  // namespace kelo
