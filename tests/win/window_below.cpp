// A window of another process, for the click-through test: a plain button
// window just below the main window and as large, for at most 60 s.

#include <windows.h>

int wmain() {
    RECT r{};
    GetWindowRect(FindWindowW(L"TaviskoWnd", nullptr), &r);
    const HWND window = CreateWindowExW(WS_EX_NOACTIVATE, L"Button", L"Below Tavisko",
                                        WS_POPUP | WS_VISIBLE, r.left, r.top, r.right - r.left,
                                        r.bottom - r.top, nullptr, nullptr, nullptr, nullptr);
    SetTimer(window, 1, 60000, nullptr);
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0 && message.message != WM_TIMER) {
        DispatchMessageW(&message);
    }
    return 0;
}
