// Posts a command to the running demo's main window, as its menu or a key
// would: `tavisko-post-command 115` opens the camera settings window, for a
// screenshot of it. Waits up to 5 s for the window; exit code 1 without it.

#include <windows.h>

#include <cwchar>

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) {
        return 2;
    }
    const ULONGLONG deadline = GetTickCount64() + 5000;
    HWND window = FindWindowW(L"TaviskoWnd", nullptr);
    while (window == nullptr && GetTickCount64() < deadline) {
        Sleep(50);
        window = FindWindowW(L"TaviskoWnd", nullptr);
    }
    if (window == nullptr) {
        return 1;
    }
    const auto command = WPARAM(std::wcstol(argv[1], nullptr, 10));
    return PostMessageW(window, WM_COMMAND, command, 0) ? 0 : 1;
}
