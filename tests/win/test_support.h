#pragma once
// Helpers for the Windows tests: real temporary folders and files, message
// pumping, handle counts.

#include <windows.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>

#include "base/owned_win.h"

// A fresh folder under the system temporary folder, removed with everything
// in it when the object goes away.
struct TempFolder {
    std::wstring path;
    TempFolder() {
        static std::atomic<unsigned> counter{0};
        const std::wstring prefix = std::filesystem::temp_directory_path() / L"tavisko-test-";
        do {
            path =
                prefix + std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(counter++);
        } while (!CreateDirectoryW(path.c_str(), nullptr));
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
};

inline bool file_exists(const std::wstring& path) {
    return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Reads with every sharing mode, as another program reading the settings
// would, so that the program's own writes are not refused meanwhile.
inline bool read_file_bytes(const std::wstring& path, std::string& bytes) {
    OwnedHandle file(CreateFileW(path.c_str(), GENERIC_READ,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                 OPEN_EXISTING, 0, nullptr));
    if (!file) {
        return false;
    }
    bytes.clear();
    char chunk[4096];
    DWORD got = 0;
    while (ReadFile(file.get(), chunk, sizeof chunk, &got, nullptr) && got > 0) {
        bytes.append(chunk, got);
    }
    return true;
}

inline bool write_file_bytes(const std::wstring& path, const std::string& bytes) {
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    return bool(file.write(bytes.data(), std::streamsize(bytes.size())));
}

// Open handles of this process, counted by asking for each possible value:
// GetProcessHandleCount answers 0 under Wine, this works on both.
inline long open_handles() {
    long count = 0;
    for (uintptr_t value = 4; value < 0x20000; value += 4) {
        DWORD flags = 0;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    }
    return count;
}

// Rectangles as {x, y, width, height}, so that one check compares all four.
inline std::array<LONG, 4> xywh(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// Dispatches this thread's messages until `done` holds or `timeout_ms`
// passes (with no `done`, for the whole time); returns whether `done` held.
// `take`, when given, sees each message first and keeps those it returns
// true for.
inline bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 5000,
                       const std::function<bool(const MSG&)>& take = nullptr) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    auto drain = [&] {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
            if (!take || !take(m)) {
                TranslateMessage(&m);
                DispatchMessageW(&m);
            }
        }
    };
    for (;;) {
        drain();
        const ULONGLONG now = GetTickCount64();
        if (done && done()) {
            // What was posted between the drain and the check counts too.
            drain();
            return true;
        }
        if (now >= deadline) {
            return false;
        }
        // Short slices: some conditions change without a message arriving.
        MsgWaitForMultipleObjects(0, nullptr, FALSE, DWORD(std::min<ULONGLONG>(deadline - now, 5)),
                                  QS_ALLINPUT);
    }
}
