// The Sound submenu on the real main window, on the synthetic camera and the
// synthetic sound endpoints: its rows, a pick that plays and is remembered,
// the sound following the camera, and what an end report shows. Which input
// is the camera's own is the platform-free tables'.

#include "app/context_menu_win.h"
#include "app_fixture.h"
#include "audio/sound_win.h"
#include "capture/camera_container_win.h"
#include "synthetic_audio/synthetic_audio.h"

namespace {

struct SoundMenuTest : AppWindowTest {
    // The Sound submenu as rows "text [x]|", then "(g)" when its fifth row is
    // greyed; picks row `pick` as the user would.
    static std::wstring rows(int pick = -1) {
        const OwnedMenu menu{build_context_menu()};
        HMENU sound = GetSubMenu(menu.get(), 3);
        const bool greyed =
            GetMenuItemCount(sound) > 4 && (GetMenuState(sound, 4, MF_BYPOSITION) & MF_GRAYED) != 0;
        run_menu_choice(pick < 0 ? 0 : int(GetMenuItemID(sound, pick)));
        return menu_rows(sound) + (greyed ? L"(g)" : L"");
    }
    static bool playing() {
        return pump_until([] {
            return sound_running(main_window.sound.player) &&
                   sound_figures(main_window.sound.player).playing;
        });
    }
};

TEST_F(SoundMenuTest, APickedInputPlaysWithItsCameraIsRememberedAndLeavesWithIt) {
    const SyntheticCamera cam = app_camera(L"\\\\?\\cam#1", L"One", 640, 480);
    const SyntheticCamera two = app_camera(L"\\\\?\\cam#2", L"Two", 320, 240);
    open({cam, two}, "camera_id=\\\\?\\cam#1\nformat=640x480@30/1,NV12\n");
    const std::wstring file = appdata.path + L"\\Tavisko\\settings.txt";
    ASSERT_TRUE(pump_until([&] { return file_exists(file); })); // what the start changed
    EXPECT_EQ(rows(1), L"Off [x]|Microphone (Tavisko Synthetic Camera)|");
    ASSERT_TRUE(playing());
    std::string saved;
    EXPECT_TRUE(pump_until([&] {
        read_file_bytes(file, saved);
        return saved.ends_with("format=640x480@30/1,NV12\nsound={0.0.1.00000000}."
                               "{7a1c5e00-0000-4000-8000-746176697300}\n");
    })) << saved;

    DestroyWindow(main_window.handle); // closing stops it
    main_window.handle = nullptr;
    EXPECT_FALSE(sound_running(main_window.sound.player));
    synthetic_audio_set_inputs({{L"{0.0.1.00000000}.{b}", L"Line In", {}}});
    reopen({cam, two}); // remembered but not there: it plays nothing and says nothing
    ASSERT_TRUE(pump_until(
        [] { return main_window.sound.following && !sound_running(main_window.sound.player); }));
    EXPECT_EQ(rows(), L"Off|Line In|");
    synthetic_audio_set_inputs({}); // there again: it plays once the camera is back
    synthetic_unplug(cam.symbolic_link);
    ASSERT_TRUE(wait_status(StatusWaiting));
    synthetic_plug(cam);
    rescan_cameras();
    ASSERT_TRUE(playing());

    // Another camera: the sound stops and its choice is forgotten.
    pick_camera_row(
        int(SendMessageW(main_window.toolbar.combo, CB_FINDSTRINGEXACT, 0, LPARAM(L"Two"))));
    EXPECT_FALSE(sound_running(main_window.sound.player));
    EXPECT_STREQ(settings.sound, "");
}

TEST_F(SoundMenuTest, ListsTheInputsAndSaysOnlyThatAccessIsDenied) {
    synthetic_audio_set_inputs(
        {{L"{0.0.1.00000000}.{b}", L"Line In", {}}, {L"{0.0.1.00000000}.{a}", L"Mic \u00c4", {}}});
    synthetic_audio_deny_access(true);
    // No camera remembered: the first one found starts without the input.
    open({app_camera(L"\\\\?\\cam#1", L"One", 640, 480)}, "sound={0.0.1.00000000}.{a}\n");
    EXPECT_EQ(rows(2), L"Off [x]|Line In|Mic \u00c4|");
    ASSERT_TRUE(pump_until([] { return main_window.sound.access_denied; }));
    EXPECT_EQ(rows(), L"Off|Line In|Mic \u00c4 [x]||Microphone access is off for Tavisko.|"
                      L"Open Microphone Settings|(g)");
    synthetic_audio_deny_access(false);
    rows(2); // a new try
    ASSERT_TRUE(playing());
    EXPECT_EQ(rows(0), L"Off|Line In|Mic \u00c4 [x]|");
    EXPECT_FALSE(sound_running(main_window.sound.player));
    EXPECT_EQ(rows(), L"Off [x]|Line In|Mic \u00c4|");
    synthetic_audio_set_inputs({});
}

TEST_F(SoundMenuTest, AHungInputHoldsUpClosingNoLongerThanTheStopsBound) {
    open({app_camera(L"\\\\?\\cam#1", L"One", 640, 480)},
         "camera_id=\\\\?\\cam#1\nsound={0.0.1.00000000}.{7a1c5e00-0000-4000-8000-746176697300}\n");
    ASSERT_TRUE(playing());
    synthetic_audio_hang_capture(true);
    // Packets pile up while the sound thread waits in the hung call.
    ASSERT_TRUE(pump_until([] {
        const auto microphone = synthetic_audio_last_opened(SyntheticAudioRole::capture);
        UINT32 frames = 0;
        return microphone && SUCCEEDED(microphone->GetCurrentPadding(&frames)) && frames >= 960;
    }));
    const ULONGLONG before = GetTickCount64();
    DestroyWindow(main_window.handle);
    main_window.handle = nullptr;
    EXPECT_LE(GetTickCount64() - before, 500u + 250u);
    EXPECT_TRUE(main_window.sound.stuck);
    synthetic_audio_hang_capture(false);
    EXPECT_TRUE(sound_shutdown_within(main_window.sound.player, 2000));
}

TEST(CameraContainer, IsAllZeroForALinkWineKnowsNothingOf) {
    for (const wchar_t* link : {L"\\\\?\\cam#1", L"nonsense", L""}) {
        EXPECT_EQ(std::ranges::count(camera_container(link).bytes, 0), 16);
    }
}

} // namespace
