// Start-up that cannot have its window: app_run in this process, with the
// window refused by a CBT hook (as a hook may on Windows) or its class taken
// by another window procedure. It must end at once with exit code 1 and leave
// nothing behind: above all not the single-instance mutex, which would keep
// every later start waiting for a window that never comes.

#include <windows.h>

#include <objbase.h>

#include <gtest/gtest.h>

#include <memory>
#include <tuple>

#include "app/main_window.h"
#include "app/startup.h"
#include "synthetic_camera/synthetic_camera.h"
#include "test_support.h"

namespace {

int creations_refused = 0;

// Refuses every window of the main window's class, and counts them.
LRESULT CALLBACK refuse_main_window(int code, WPARAM wparam, LPARAM lparam) {
    if (code == HCBT_CREATEWND) {
        const wchar_t* name = reinterpret_cast<CBT_CREATEWNDW*>(lparam)->lpcs->lpszClass;
        if (!IS_INTRESOURCE(name) && lstrcmpW(name, window_class_name) == 0) {
            ++creations_refused;
            return 1;
        }
    }
    return CallNextHookEx(nullptr, code, wparam, lparam);
}

// True when this thread is in no COM apartment: it can join the
// multithreaded one afresh.
bool outside_com() {
    const HRESULT hr = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
    if (SUCCEEDED(hr)) {
        CoUninitialize();
    }
    return hr == S_OK;
}

HINSTANCE module() {
    return GetModuleHandleW(nullptr);
}

TEST(StartupFailure, WithoutItsWindowTheRunEndsWithCode1AndLeavesNothingBehind) {
    // The class before the start: none (a first start), this program's (as
    // the window tests leave it), or another window procedure's of its name.
    const std::tuple<const char*, WNDPROC, int> cases[] = {
        {"no class yet", nullptr, 1},
        {"this program's class already there", main_window_proc, 1},
        {"another class of the name", DefWindowProcW, 0},
    };
    TempFolder appdata;
    SetEnvironmentVariableW(L"APPDATA", appdata.path.c_str());
    for (const auto& [what, procedure, creations_tried] : cases) {
        SCOPED_TRACE(what);
        UnregisterClassW(window_class_name, module());
        if (procedure != nullptr) {
            WNDCLASSEXW before{};
            before.cbSize = sizeof before;
            before.lpfnWndProc = procedure;
            before.hInstance = module();
            before.lpszClassName = window_class_name;
            ASSERT_NE(RegisterClassExW(&before), 0);
        }
        ASSERT_TRUE(outside_com());
        creations_refused = 0;
        const std::unique_ptr<HHOOK__, decltype(&UnhookWindowsHookEx)> hook(
            SetWindowsHookExW(WH_CBT, refuse_main_window, nullptr, GetCurrentThreadId()),
            &UnhookWindowsHookEx);
        ASSERT_NE(hook, nullptr);
        // Should start-up go on without its window, its message loop ends at
        // once on this instead of waiting for ever.
        PostQuitMessage(0);

        const int code = app_run(module(), SW_SHOWNORMAL);

        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
        }
        EXPECT_EQ(code, 1);
        EXPECT_EQ(creations_refused, creations_tried);
        SetLastError(ERROR_SUCCESS);
        const OwnedHandle mutex(CreateMutexW(nullptr, TRUE, L"Local\\Tavisko.SingleInstance"));
        EXPECT_TRUE(mutex);
        EXPECT_NE(GetLastError(), DWORD(ERROR_ALREADY_EXISTS))
            << "the mutex is free for a next start";
        ReleaseMutex(mutex.get());
        EXPECT_EQ(main_window.accelerator_table.get(), nullptr);
        EXPECT_TRUE(outside_com()) << "COM left";
        const SyntheticLiveCounts live = synthetic_live_counts();
        EXPECT_EQ(live.activates + live.sources + live.readers + live.buffers, 0);
    }
    UnregisterClassW(window_class_name, module());
}

} // namespace
