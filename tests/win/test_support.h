#pragma once
// Helpers for the Windows tests: real temporary folders and files.

#include <windows.h>

#include <array>
#include <functional>
#include <string>

#include "app/support_win.h"

// A fresh folder under the system temporary folder, removed with everything
// in it when the object goes away.
struct TempFolder {
    std::wstring path;
    TempFolder();
    ~TempFolder();
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
};

bool file_exists(const std::wstring& path);
bool read_file_bytes(const std::wstring& path, std::string& bytes);
bool write_file_bytes(const std::wstring& path, const std::string& bytes);

// Open handles of this process, counted by asking for each possible value:
// GetProcessHandleCount answers 0 under Wine, this works on both.
long open_handles();

// Rectangles as {x, y, width, height}, so that one check compares all four.
inline std::array<LONG, 4> xywh(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

// Dispatches this thread's messages until `done` holds or `timeout_ms`
// passes (with no `done`, for the whole time); returns whether `done` held.
// `take`, when given, sees each message first and keeps those it returns
// true for.
bool pump_until(const std::function<bool()>& done, DWORD timeout_ms = 5000,
                const std::function<bool(const MSG&)>& take = nullptr);
