// The real main window on drivers that never come back from a call: no stop
// may keep the window waiting longer than the bounded wait, whichever path
// stops the worker.

#include "app_fixture.h"

namespace {

struct HungDriverTest : AppWindowTest {
    void TearDown() override {
        synthetic_release_hung_calls();
        EXPECT_TRUE(capture_stop_all_within(5000)) << "the abandoned threads came back";
        synthetic_hold_hung_calls();
        AppWindowTest::TearDown();
    }
};

TEST_F(HungDriverTest, SwitchReportAndRetryGoOnWithoutTheStuckWorker) {
    // One: its second read never returns. Two: half a second in, a read fails as an
    // unplugged camera's does, and then its Shutdown never returns.
    SyntheticCamera one = app_camera(L"\\\\?\\cam#1", L"One", 640, 480);
    one.hang_at_read = 1;
    SyntheticCamera two = app_camera(L"\\\\?\\cam#2", L"Two", 320, 240);
    two.fail_at_read = 50;
    two.hang_in_shutdown = true;
    synthetic_hold_hung_calls();
    open({one, two});
    ASSERT_TRUE(wait_status(StatusStreaming));

    // The switch: a stop that cannot join, then the new camera runs.
    ULONGLONG begun = GetTickCount64();
    pick_camera_row(1);
    const ULONGLONG switching = GetTickCount64() - begun;
    EXPECT_GE(switching, 2900u);
    EXPECT_LT(switching, 4000u);
    ASSERT_TRUE(wait_status(StatusStreaming));

    // The report: the worker posts its loss and then hangs in Shutdown, as
    // does the stop's own call; the window shows the loss all the same.
    begun = GetTickCount64();
    ASSERT_TRUE(pump_until([] { return main_window.status == StatusWaiting; }, 6000));
    const ULONGLONG reporting = GetTickCount64() - begun;
    EXPECT_GE(reporting, 2900u);
    EXPECT_LT(reporting, 4500u);
    EXPECT_EQ(main_window.capture_active, 0);
    EXPECT_EQ(uint32_t(main_window.last_capture_error), 0x80004005u);

    // The retry three seconds later starts a fresh worker, which streams.
    synthetic_plug(app_camera(L"\\\\?\\cam#2", L"Two", 320, 240));
    ASSERT_TRUE(pump_until([] { return main_window.status == StatusStreaming; }, 5000));
    EXPECT_NE(capture_worker.worker_thread, nullptr);
    EXPECT_TRUE(capture_worker_stuck());
}

} // namespace
