#pragma once
// Helpers for the Windows tests: real temporary folders and files.

#include <windows.h>

#include <array>
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

// Sets an environment variable for the lifetime of the object, then puts the
// previous value (or its absence) back. `value` null removes the variable.
struct ScopedEnvironment {
    std::wstring name;
    std::wstring previous;
    bool had_previous;
    ScopedEnvironment(const wchar_t* name, const wchar_t* value);
    ~ScopedEnvironment();
    ScopedEnvironment(const ScopedEnvironment&) = delete;
    ScopedEnvironment& operator=(const ScopedEnvironment&) = delete;
};

bool file_exists(const std::wstring& path);
bool read_file_bytes(const std::wstring& path, std::string& bytes);
bool write_file_bytes(const std::wstring& path, const std::string& bytes);

// Rectangles as {x, y, width, height}, so that one check compares all four.
inline std::array<LONG, 4> xywh(const RECT& r) {
    return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}
