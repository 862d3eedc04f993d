// Where Media Foundation comes from: the system folder only. A PC without it
// gets the program's own message, and a library planted beside the program
// is never loaded.

#include "e2e_fixture.h"

namespace {

using MediaFoundationE2e = E2eTest;

TEST_F(MediaFoundationE2e, WithoutItTheProgramSaysSoAndExitsWithOne) {
    ASSERT_TRUE(launch_demo(appdata.path, SW_SHOWNORMAL, run.process,
                            executable_folder() + L"\\tavisko-demo-without-mf.exe"));
    HWND box = run.wait_for_window(L"#32770");
    ASSERT_NE(box, nullptr);
    EXPECT_EQ(window_text(box), L"Tavisko");
    EXPECT_EQ(window_text(GetDlgItem(box, 0xFFFF)),
              L"Media Foundation is not available on this PC.");
    EXPECT_EQ(FindWindowW(L"TaviskoWnd", nullptr), nullptr);
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_EQ(wait_for_exit(run.process.hProcess), 1u);
    EXPECT_FALSE(file_exists(appdata.path + L"\\Tavisko")) << "nothing written";
}

TEST_F(MediaFoundationE2e, AnMfplatBesideTheProgramIsNotLoaded) {
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

    ASSERT_TRUE(run.start(appdata.path, SW_SHOWNORMAL, folder.path + L"\\Tavisko.exe"))
        << "the program runs on the system's Media Foundation";
    EXPECT_EQ(run.close(), 0u);
    EXPECT_FALSE(file_exists(mark));
}

} // namespace
