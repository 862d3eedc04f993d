#pragma once
// Small Windows helpers shared by the subsystems: scoped handles and COM
// apartments, UTF-8 fields, and the project's rectangle at the Win32 boundary.

#include <windows.h>

#include <objbase.h>

#include "view/view_model.h"

// Closes a kernel handle when it goes out of scope; null and
// INVALID_HANDLE_VALUE (what CreateFileW returns on failure) are left alone.
struct ScopedHandle {
    HANDLE handle;
    explicit ScopedHandle(HANDLE h = nullptr) : handle(h) {}
    ~ScopedHandle() {
        if (handle != nullptr && handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
        }
    }
    ScopedHandle(const ScopedHandle&) = delete;
    ScopedHandle& operator=(const ScopedHandle&) = delete;
};

// Frees a global memory block when it goes out of scope, unless ownership
// went elsewhere (to the clipboard) and `release` was called.
struct ScopedGlobal {
    HGLOBAL handle;
    explicit ScopedGlobal(HGLOBAL h = nullptr) : handle(h) {}
    ~ScopedGlobal() {
        if (handle != nullptr) {
            GlobalFree(handle);
        }
    }
    HGLOBAL release() {
        HGLOBAL h = handle;
        handle = nullptr;
        return h;
    }
    ScopedGlobal(const ScopedGlobal&) = delete;
    ScopedGlobal& operator=(const ScopedGlobal&) = delete;
};

// The address of a locked global memory block for the object's lifetime;
// null when the lock failed.
struct ScopedGlobalLock {
    HGLOBAL handle;
    void* data;
    explicit ScopedGlobalLock(HGLOBAL h) : handle(h), data(GlobalLock(h)) {}
    ~ScopedGlobalLock() {
        if (data != nullptr) {
            GlobalUnlock(handle);
        }
    }
    ScopedGlobalLock(const ScopedGlobalLock&) = delete;
    ScopedGlobalLock& operator=(const ScopedGlobalLock&) = delete;
};

// Opens the clipboard for `owner`. Another program may have it open for a
// moment (clipboard history, a remote desktop client passing it on), so a
// refused open is tried again for about 200 ms before giving up. The caller
// waits meanwhile; on the user-interface thread that is a short stall of a
// copy the user asked for.
inline bool open_clipboard_patiently(HWND owner) {
    constexpr int attempts = 10;
    constexpr DWORD pause_ms = 20;
    for (int attempt = 1;; ++attempt) {
        if (OpenClipboard(owner)) {
            return true;
        }
        if (attempt == attempts) {
            return false;
        }
        Sleep(pause_ms);
    }
}

// Holds the clipboard open for the object's lifetime, if it could be opened.
struct ScopedClipboard {
    bool opened;
    explicit ScopedClipboard(HWND owner) : opened(open_clipboard_patiently(owner)) {}
    ~ScopedClipboard() {
        if (opened) {
            CloseClipboard();
        }
    }
    ScopedClipboard(const ScopedClipboard&) = delete;
    ScopedClipboard& operator=(const ScopedClipboard&) = delete;
};

// Joins the calling thread to a COM apartment for the object's lifetime. Only
// a successful CoInitializeEx (S_OK or S_FALSE) is balanced by CoUninitialize.
struct ComApartment {
    HRESULT result;
    explicit ComApartment(DWORD model) : result(CoInitializeEx(nullptr, model)) {}
    ~ComApartment() {
        if (SUCCEEDED(result)) {
            CoUninitialize();
        }
    }
    ComApartment(const ComApartment&) = delete;
    ComApartment& operator=(const ComApartment&) = delete;
};

// UTF-16 to UTF-8 into a fixed field; an empty text when it does not fit.
inline void to_utf8(const wchar_t* text, char* field, int size) {
    if (WideCharToMultiByte(CP_UTF8, 0, text, -1, field, size, nullptr, nullptr) == 0) {
        field[0] = '\0';
    }
}

// UTF-8 to UTF-16 into a fixed buffer; an empty text when it does not fit.
inline void to_utf16(const char* text, wchar_t* out, int units) {
    if (MultiByteToWideChar(CP_UTF8, 0, text, -1, out, units) == 0) {
        out[0] = L'\0';
    }
}

inline PixelRect pixel_rect(const RECT& r) {
    return {r.left, r.top, r.right, r.bottom};
}

inline RECT win_rect(const PixelRect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

// The calling thread's last error as an HRESULT; E_FAIL when a failed call
// left none.
inline HRESULT last_error_result() {
    const DWORD error = GetLastError();
    return error == ERROR_SUCCESS ? E_FAIL : HRESULT_FROM_WIN32(error);
}
