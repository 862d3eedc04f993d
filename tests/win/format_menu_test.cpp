// The Format submenu on the real main window: its rows from the running
// camera, the restart on a picked type, the remembered line, and the
// fallback when the reader cannot use the picked type. Whether a line is
// whole is the settings reader's, checked in the platform-free tests.

#include "app/context_menu_win.h"
#include "app_fixture.h"

namespace {

SyntheticCamera camera_with_formats() {
    SyntheticCamera camera = app_camera(L"\\\\?\\cam#1", L"One", 1280, 720);
    camera.types = {{MFVideoFormat_YUY2, 640, 480, 30, 1},
                    {MFVideoFormat_MJPG, 3840, 2160, 30000, 1001},
                    {MFVideoFormat_MJPG, 1280, 720, 30, 1},
                    {MFVideoFormat_HEVC, 1920, 1080, 30, 1}, // no decoder for it here
                    {MFVideoFormat_NV12, 1280, 720, 30, 1}};
    return camera;
}

struct FormatMenuTest : AppWindowTest {
    // The Format submenu as rows "text [x]|", and the id of row `pick`.
    static std::wstring rows(int pick = -1, int* id = nullptr, bool* greyed = nullptr) {
        HMENU menu = build_context_menu();
        HMENU formats = GetSubMenu(menu, 1);
        if (greyed != nullptr) {
            *greyed = (GetMenuState(menu, 1, MF_BYPOSITION) & MF_GRAYED) != 0;
        }
        const std::wstring text = menu_rows(formats);
        if (id != nullptr) {
            *id = int(GetMenuItemID(formats, pick));
        }
        DestroyMenu(menu);
        return text;
    }
    static void pick(int row) {
        int id = 0;
        rows(row, &id);
        run_menu_choice(id);
    }
    static bool frames_of(int32_t width, int32_t height) {
        return pump_until([&] {
            return main_window.status == StatusStreaming &&
                   main_window.known_frame_width == width &&
                   main_window.known_frame_height == height;
        });
    }
};

TEST_F(FormatMenuTest, APickedTypeRunsIsRememberedFallsBackWhenRefusedAndAnotherCameraClearsIt) {
    bool greyed = true;
    const SyntheticCamera two = app_camera(L"\\\\?\\cam#2", L"Two", 320, 240);
    open({camera_with_formats(), two}, "camera_id=\\\\?\\cam#1\n");
    ASSERT_TRUE(frames_of(1280, 720));
    EXPECT_EQ(rows(-1, nullptr, &greyed),
              L"Automatic (1280 \u00D7 720, 30 fps, NV12) [x]|3840 \u00D7 2160, 29.97 fps, MJPG|"
              L"1920 \u00D7 1080, 30 fps, HEVC|1280 \u00D7 720, 30 fps, NV12|"
              L"1280 \u00D7 720, 30 fps, MJPG|640 \u00D7 480, 30 fps, YUY2|");
    EXPECT_FALSE(greyed);

    pick(1); // above the built-in choice's limits
    ASSERT_TRUE(frames_of(3840, 2160));
    EXPECT_EQ(rows().substr(0, 43), L"Automatic|3840 \u00D7 2160, 29.97 fps, MJPG [x]|");
    reopen({camera_with_formats(), two}); // the line is saved and used at the next start
    ASSERT_TRUE(frames_of(3840, 2160));
    EXPECT_EQ(settings.format.rate_numerator, 30000u);

    pick(0); // Automatic removes the line
    ASSERT_TRUE(frames_of(1280, 720));
    EXPECT_EQ(rows().substr(0, 41), L"Automatic (1280 \u00D7 720, 30 fps, NV12) [x]|");
    reopen({camera_with_formats(), two});
    EXPECT_FALSE(camera_format_is_set(settings.format));

    ASSERT_TRUE(frames_of(1280, 720));
    pick(1);
    ASSERT_TRUE(frames_of(3840, 2160));
    pick(2); // HEVC: the reader refuses it and the best of the others runs, checked
    ASSERT_TRUE(frames_of(1280, 720));
    EXPECT_NE(rows().find(L"|1280 \u00D7 720, 30 fps, NV12 [x]|"), std::wstring::npos);
    EXPECT_EQ(settings.format.subtype, 0x43564548u) << "the pick is still remembered";

    pick_camera_row(1); // another camera from the list clears the line
    ASSERT_TRUE(frames_of(320, 240));
    EXPECT_FALSE(camera_format_is_set(settings.format));
    synthetic_unplug(two.symbolic_link);
    ASSERT_TRUE(wait_status(StatusWaiting));
    rows(-1, nullptr, &greyed);
    EXPECT_TRUE(greyed) << "no camera runs";
}

TEST_F(FormatMenuTest, ARememberedLineRunsOnlyWhenOfferedAndForItsCamera) {
    const char* const one_line = "camera_id=\\\\?\\cam#1\n";
    const std::tuple<const char*, const char*, int32_t> cases[] = {
        {one_line, "format=640x480@60/2,YUY2", 640},  // the same rate
        {one_line, "format=640x480@15/1,YUY2", 1280}, // not offered
        {"", "format=640x480@30/1,YUY2", 1280},       // no camera it belongs to
    };
    for (const auto& [camera, line, width] : cases) {
        const std::string text = std::string(camera) + line;
        open({camera_with_formats()}, text.c_str());
        EXPECT_TRUE(frames_of(width, width == 640 ? 480 : 720)) << text;
        DestroyWindow(main_window.handle);
        main_window.handle = nullptr;
    }
}

} // namespace
