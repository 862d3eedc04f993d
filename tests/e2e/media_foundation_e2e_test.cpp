// Where Media Foundation comes from: the system folder only. A PC without it
// gets the program's own message, and a library planted beside the program
// is never loaded.

#include <gtest/gtest.h>

#include "e2e_support.h"

namespace {

// Starts `program` with APPDATA set to `appdata`.
bool launch(const std::wstring& program, const std::wstring& appdata,
            PROCESS_INFORMATION& process) {
    SetEnvironmentVariableW(L"APPDATA", appdata.c_str());
    std::wstring command = L"\"" + program + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process) != 0;
}

// A visible top-level window of this class that the process owns.
HWND window_of(const PROCESS_INFORMATION& process, const wchar_t* class_name) {
    HWND found = nullptr;
    wait_until(
        [&] {
            for (HWND w = FindWindowW(class_name, nullptr); w != nullptr;
                 w = FindWindowExW(nullptr, w, class_name, nullptr)) {
                DWORD owner = 0;
                GetWindowThreadProcessId(w, &owner);
                if (owner == process.dwProcessId && IsWindowVisible(w)) {
                    found = w;
                    return true;
                }
            }
            return false;
        },
        10000);
    return found;
}

struct Process {
    PROCESS_INFORMATION info{};
    ~Process() {
        if (info.hProcess != nullptr) {
            TerminateProcess(info.hProcess, 99);
            CloseHandle(info.hThread);
            CloseHandle(info.hProcess);
        }
    }
};

TEST(MediaFoundationE2e, WithoutItTheProgramSaysSoAndExitsWithOne) {
    TempFolder appdata;
    Process run;
    ASSERT_TRUE(
        launch(executable_folder() + L"\\tavisko-demo-without-mf.exe", appdata.path, run.info));
    HWND box = window_of(run.info, L"#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(window_text(box), L"Tavisko");
    EXPECT_EQ(window_text(GetDlgItem(box, 0xFFFF)),
              L"Media Foundation is not available on this PC.");
    EXPECT_EQ(FindWindowW(L"TaviskoWnd", nullptr), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(wait_for_exit(run.info.hProcess), 1u);
    EXPECT_FALSE(file_exists(appdata.path + L"\\Tavisko")) << "nothing written";
}

TEST(MediaFoundationE2e, AnMfplatBesideTheProgramIsNotLoaded) {
    // The planted library has no entry points; loading it leaves a mark.
    TempFolder folder;
    const std::wstring planted = folder.path + L"\\mfplat.dll";
    const std::wstring mark = folder.path + L"\\planted-library-loaded";
    ASSERT_TRUE(
        CopyFileW((executable_folder() + L"\\planted\\mfplat.dll").c_str(), planted.c_str(), TRUE));
    ASSERT_TRUE(CopyFileW((executable_folder() + L"\\Tavisko.exe").c_str(),
                          (folder.path + L"\\Tavisko.exe").c_str(), TRUE));
    HMODULE loaded = LoadLibraryW(planted.c_str());
    ASSERT_NE(loaded, nullptr);
    FreeLibrary(loaded);
    ASSERT_TRUE(DeleteFileW(mark.c_str())) << "the mark shows a load";

    TempFolder appdata;
    Process run;
    ASSERT_TRUE(launch(folder.path + L"\\Tavisko.exe", appdata.path, run.info));
    HWND window = window_of(run.info, L"TaviskoWnd");
    ASSERT_NE(window, nullptr) << "the program runs on the system's Media Foundation";
    PostMessageW(window, WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(run.info.hProcess), 0u);
    EXPECT_FALSE(file_exists(mark));
}

} // namespace
