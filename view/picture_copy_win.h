#pragma once
// Ctrl+C: the current frame to the clipboard as a device-independent bitmap.
// User-interface thread only.

#include <windows.h>

// Puts the whole frame, at its camera resolution, turned and mirrored as
// shown (the frozen one while frozen), on the clipboard as CF_DIB, owned by the main
// window. Does nothing while no picture is shown. True when it was put there.
bool copy_picture_to_clipboard();

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
