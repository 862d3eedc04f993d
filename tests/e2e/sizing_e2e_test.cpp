#include <algorithm>
#include <cmath>

#include "e2e_fixture.h"

namespace {

using SizingE2e = E2eTest;

SIZE client_of(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    return {r.right, r.bottom};
}

// The system's own sizing loop, driven from the keyboard: the first arrow key
// picks the edge, the next ones move it, Enter ends the loop.
void keyboard_size(HWND window, std::initializer_list<WORD> keys) {
    SetForegroundWindow(window);
    wait_until([&] { return GetForegroundWindow() == window; }, 2000);
    PostMessageW(window, WM_SYSCOMMAND, SC_SIZE, 0);
    Sleep(300);
    for (WORD key : keys) {
        press_keys({key});
        Sleep(60);
    }
    press_keys({VK_RETURN});
    Sleep(300);
}

TEST_F(SizingE2e, AFirst640By480FrameMakesTheVideoArea4By3AtTheSameWidth) {
    ASSERT_TRUE(start(std::string(camera_a) + "\n"));
    const SIZE before = client_of(run.window);
    ASSERT_TRUE(wait_picture());
    EXPECT_TRUE(wait_until(
        [&] {
            const SIZE c = client_of(run.window);
            return c.cx == before.cx &&
                   c.cy - toolbar_height(dpi) == std::lround(c.cx * 480.0 / 640.0);
        },
        3000));
    save_screenshot(run.window, L"frame-4x3");
}

TEST_F(SizingE2e, DraggingTheRightEdgeKeeps16By9BeforeAnyFrame) {
    ASSERT_TRUE(start(no_cameras));
    int32_t nw = 0;
    int32_t nh = 0;
    RECT outer = window_rect(run.window);
    const SIZE client = client_of(run.window);
    nw = (outer.right - outer.left) - client.cx;
    nh = (outer.bottom - outer.top) - client.cy;
    // The proposal of a drag to a client width of 400, as the loop sends it.
    RECT proposed{outer.left, outer.top, outer.left + 400 + nw, outer.bottom};
    SendMessageW(run.window, WM_SIZING, WMSZ_RIGHT, reinterpret_cast<LPARAM>(&proposed));
    if (dpi == 96) {
        EXPECT_EQ(proposed.bottom - proposed.top - nh, 261);
    }
    // Below the minimum video width (320 units) the width snaps to it first.
    const int video_width = std::max(400, MulDiv(320, int(dpi), 96));
    EXPECT_EQ(proposed.right - proposed.left - nw, video_width);
    EXPECT_EQ(proposed.bottom - proposed.top - nh,
              std::lround(video_width * 9.0 / 16.0) + toolbar_height(dpi));

    // A real sizing loop, shrinking the right edge.
    keyboard_size(run.window, {VK_RIGHT, VK_LEFT, VK_LEFT, VK_LEFT, VK_LEFT});
    const RECT after = window_rect(run.window);
    const SIZE c = client_of(run.window);
    EXPECT_LT(c.cx, client.cx) << "the loop moved the right edge";
    EXPECT_EQ(after.left, outer.left);
    EXPECT_EQ(after.top, outer.top);
    EXPECT_EQ(c.cy - toolbar_height(dpi), std::lround(c.cx * 9.0 / 16.0));
}

TEST_F(SizingE2e, TheTopEdgeKeepsTheBottomAndLeftEdges) {
    ASSERT_TRUE(start(std::string(camera_a) + "\n"));
    ASSERT_TRUE(wait_picture());
    ASSERT_TRUE(wait_until(
        [&] {
            const SIZE c = client_of(run.window);
            return c.cy - toolbar_height(dpi) == std::lround(c.cx * 480.0 / 640.0);
        },
        3000));
    const RECT before = window_rect(run.window);
    keyboard_size(run.window, {VK_UP, VK_DOWN, VK_DOWN, VK_DOWN});
    const RECT after = window_rect(run.window);
    const SIZE c = client_of(run.window);
    EXPECT_NE(after.top, before.top) << "the loop moved the top edge";
    EXPECT_EQ(after.bottom, before.bottom);
    EXPECT_EQ(after.left, before.left);
    EXPECT_NE(after.right, before.right);
    EXPECT_EQ(c.cy - toolbar_height(dpi), std::lround(c.cx * 480.0 / 640.0));
}

TEST_F(SizingE2e, TheBottomLeftCornerKeepsTheTopRightCorner) {
    ASSERT_TRUE(start(std::string(camera_a) + "\n"));
    ASSERT_TRUE(wait_picture());
    Sleep(300);
    const RECT before = window_rect(run.window);
    RECT proposed = before;
    proposed.left -= 64;
    proposed.bottom += 10; // the vertical part is overruled
    SendMessageW(run.window, WM_SIZING, WMSZ_BOTTOMLEFT, reinterpret_cast<LPARAM>(&proposed));
    EXPECT_EQ(proposed.top, before.top);
    EXPECT_EQ(proposed.right, before.right);
    EXPECT_EQ(proposed.left, before.left - 64);
    const int vw =
        (before.right - before.left + 64) - (before.right - before.left - client_of(run.window).cx);
    EXPECT_EQ(proposed.bottom - proposed.top,
              (before.bottom - before.top - client_of(run.window).cy) + toolbar_height(dpi) +
                  std::lround(vw * 480.0 / 640.0));
}

TEST_F(SizingE2e, TheMinimumClientAreaHolds) {
    ASSERT_TRUE(start(no_cameras));
    SetWindowPos(run.window, nullptr, 0, 0, 50, 50, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    const SIZE c = client_of(run.window);
    EXPECT_EQ(c.cx, MulDiv(320, int(dpi), 96));
    EXPECT_EQ(c.cy, MulDiv(320, int(dpi), 96) * 9 / 16 + toolbar_height(dpi));
    if (dpi == 96) {
        EXPECT_EQ(c.cx, 320);
        EXPECT_EQ(c.cy, 216);
    } else if (dpi == 144) {
        EXPECT_EQ(c.cx, 480);
        EXPECT_EQ(c.cy, 324);
    }
}

TEST_F(SizingE2e, TheNormalRectangleComesBackAlsoAfterClosingMaximised) {
    ASSERT_TRUE(start(no_cameras));
    SetWindowPos(run.window, nullptr, 120, 90, 700, 460, SWP_NOZORDER | SWP_NOACTIVATE);
    ShowWindow(run.window, SW_MAXIMIZE);
    ASSERT_TRUE(wait_until([&] { return IsZoomed(run.window) != 0; }));
    ASSERT_EQ(run.close(), 0u);
    run.reset();
    ASSERT_TRUE(run.start(appdata.path));
    EXPECT_FALSE(IsZoomed(run.window));
    EXPECT_EQ(xywh(window_rect(run.window)), (std::array<LONG, 4>{120, 90, 700, 460}));
}

} // namespace
