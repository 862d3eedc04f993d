#include <mferror.h>

#include <gtest/gtest.h>

#include <string>

#include "capture_harness.h"

namespace {

struct CaptureWorkerTest : testing::Test {
    CaptureSession session;

    void start(const SyntheticCamera& camera) {
        synthetic_set_cameras({camera});
        std::string id;
        for (wchar_t c : camera.symbolic_link) {
            id += char(c); // the test links are ASCII
        }
        capture_start(session.window, id.c_str());
    }
    bool wait_frames(int n, DWORD timeout_ms = 5000) {
        return session.pump_until([&] { return session.frame_count() >= n; }, timeout_ms);
    }
    bool wait_status(DWORD timeout_ms = 5000) {
        return session.pump_until(
            [&] {
                for (const Report& r : session.reports) {
                    if (r.message == WM_APP_STATUS && r.code != CaptureStreaming) {
                        return true;
                    }
                }
                return false;
            },
            timeout_ms);
    }
    const Report* end_report() const {
        for (const Report& r : session.reports) {
            if (r.message == WM_APP_STATUS && r.code != CaptureStreaming) {
                return &r;
            }
        }
        return nullptr;
    }
};

TEST_F(CaptureWorkerTest, FirstSamplePostsStreamingThenOneFrameUntilPainted) {
    SyntheticCamera camera = test_camera();
    camera.frame_interval_ms = 2;
    start(camera);
    ASSERT_TRUE(wait_frames(1));
    ASSERT_GE(session.reports.size(), 2u);
    EXPECT_EQ(session.reports[0].message, UINT(WM_APP_STATUS));
    EXPECT_EQ(session.reports[0].code, WPARAM(CaptureStreaming));
    EXPECT_EQ(session.reports[0].hr, 0);
    EXPECT_EQ(session.reports[1].message, UINT(WM_APP_FRAME));

    // No paint: frames keep arriving in the store, but no second message.
    const long before = synthetic_stats().samples_delivered;
    session.pump_until([&] { return synthetic_stats().samples_delivered > before + 10; });
    session.pump_for(50);
    EXPECT_EQ(session.frame_count(), 1);
    EXPECT_EQ(frame_store.frame_pending.load(), 1);
    EXPECT_TRUE(store_holds_pattern(640, 480));

    EXPECT_EQ(frame_clear_pending(), 1);
    EXPECT_TRUE(wait_frames(2));
    EXPECT_EQ(session.status_count(), 1) << "streaming is posted once per worker";
    capture_stop();
}

TEST_F(CaptureWorkerTest, CopiesEveryRowLayoutTopRowFirst) {
    struct Case {
        SyntheticBuffer buffer;
        bool default_stride;
        uint32_t width, height;
    } cases[] = {
        {SyntheticBuffer::TopDown, true, 640, 480},   {SyntheticBuffer::TopDown, false, 320, 240},
        {SyntheticBuffer::BottomUp, true, 640, 480}, // stride -2560
        {SyntheticBuffer::Pitched, true, 638, 480},  // pitch wider than 638 x 4
        {SyntheticBuffer::Pitched, true, 1920, 1080},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.buffer));
        SyntheticCamera camera = test_camera(L"\\\\?\\synthetic#layout", c.width, c.height);
        camera.buffer = c.buffer;
        camera.default_stride = c.default_stride;
        start(camera);
        ASSERT_TRUE(wait_frames(1));
        EXPECT_TRUE(store_holds_pattern(int32_t(c.width), int32_t(c.height)));
        capture_stop();
        session.reports.clear();
    }
    EXPECT_EQ(frame_store.capacity_bytes, 1920u * 1080u * 4u);
}

TEST_F(CaptureWorkerTest, UncopyableBuffersStillCountAsDelivered) {
    for (SyntheticBuffer buffer : {SyntheticBuffer::Short, SyntheticBuffer::LyingPitched,
                                   SyntheticBuffer::LyingPitchedOld}) {
        SCOPED_TRACE(int(buffer));
        SyntheticCamera camera = test_camera();
        camera.buffer = buffer;
        start(camera);
        ASSERT_TRUE(wait_frames(1));
        EXPECT_EQ(session.reports[0].code, WPARAM(CaptureStreaming));
        FramePeek frame;
        EXPECT_FALSE(frame_lock_peek(&frame)) << "nothing may be copied from this buffer";
        capture_stop();
        session.reports.clear();
    }
}

TEST_F(CaptureWorkerTest, ShortBufferKeepsThePreviousFrame) {
    SyntheticCamera camera = test_camera();
    camera.short_from_read = 3;
    camera.frame_interval_ms = 1;
    start(camera);
    ASSERT_TRUE(session.pump_until([] { return synthetic_stats().samples_delivered >= 20; }));
    capture_stop();
    // Frames 0..2 were copied; the later short ones were not.
    FramePeek frame;
    ASSERT_TRUE(frame_lock_peek(&frame));
    const uint32_t blue = reinterpret_cast<const uint32_t*>(frame.pixels)[640 + 1] & 0xFF;
    frame_unlock();
    EXPECT_EQ(blue, 2u + 2u);
    EXPECT_TRUE(store_holds_pattern(640, 480));
}

TEST_F(CaptureWorkerTest, PixelBlockGrowsNeverShrinksAndIsReusedAcrossCameras) {
    start(test_camera(L"\\\\?\\synthetic#small", 320, 240));
    ASSERT_TRUE(wait_frames(1));
    EXPECT_EQ(frame_store.capacity_bytes, 320u * 240u * 4u);

    start(test_camera(L"\\\\?\\synthetic#large", 640, 480)); // stops the first worker
    ASSERT_TRUE(session.pump_until([] { return store_holds_pattern(640, 480); }));
    EXPECT_EQ(frame_store.capacity_bytes, 640u * 480u * 4u);
    const uint8_t* block = frame_store.pixels;

    SyntheticCamera slow = test_camera(L"\\\\?\\synthetic#small", 320, 240);
    slow.open_delay_ms = 300;
    start(slow);
    FramePeek frame;
    EXPECT_FALSE(frame_lock_peek(&frame)) << "the old camera's frame is not reported";
    EXPECT_EQ(frame_store.pixels, block);
    ASSERT_TRUE(session.pump_until([] { return store_holds_pattern(320, 240); }));
    EXPECT_EQ(frame_store.pixels, block);
    EXPECT_EQ(frame_store.capacity_bytes, 640u * 480u * 4u);
    capture_stop();
}

TEST_F(CaptureWorkerTest, MediaTypeChangeAdoptsTheNewSize) {
    SyntheticCamera camera = test_camera();
    camera.type_change_at_read = 4;
    camera.changed_width = 352;
    camera.changed_height = 288;
    camera.tick_every = 3; // stream ticks without samples on the way
    start(camera);
    ASSERT_TRUE(session.pump_until([&] {
        frame_clear_pending();
        return store_holds_pattern(352, 288);
    }));
    EXPECT_EQ(session.status_count(), 1);
    capture_stop();
}

TEST_F(CaptureWorkerTest, EndReportsAreClassified) {
    const int32_t failure = int32_t(0x80004005); // E_FAIL
    struct Case {
        const char* what;
        HRESULT open, reader;
        int fail_at;
        HRESULT read;
        DWORD flags;
        int32_t code, hr;
    } cases[] = {
        {"open denied", E_ACCESSDENIED, S_OK, -1, S_OK, 0, CaptureAccessDenied,
         hresult_access_denied},
        {"open preempted", hresult_device_preempted, S_OK, -1, S_OK, 0, CaptureBusy,
         hresult_device_preempted},
        {"open mft", hresult_hw_mft_failed_start, S_OK, -1, S_OK, 0, CaptureBusy,
         hresult_hw_mft_failed_start},
        {"open sharing", hresult_sharing_violation, S_OK, -1, S_OK, 0, CaptureBusy,
         hresult_sharing_violation},
        {"open fails", E_FAIL, S_OK, -1, S_OK, 0, CaptureFailed, failure},
        {"reader fails", S_OK, E_OUTOFMEMORY, -1, S_OK, 0, CaptureFailed, int32_t(E_OUTOFMEMORY)},
        {"first read fails", S_OK, S_OK, 0, E_FAIL, 0, CaptureFailed, failure},
        {"first read lost", S_OK, S_OK, 0, hresult_device_invalidated, 0, CaptureLost,
         hresult_device_invalidated},
        {"error flag", S_OK, S_OK, 0, S_OK, MF_SOURCE_READERF_ERROR, CaptureLost,
         hresult_device_invalidated},
        {"end of stream", S_OK, S_OK, 0, S_OK, MF_SOURCE_READERF_ENDOFSTREAM, CaptureLost,
         hresult_device_invalidated},
        {"later read fails", S_OK, S_OK, 3, E_FAIL, 0, CaptureLost, failure},
        {"later read denied", S_OK, S_OK, 3, E_ACCESSDENIED, 0, CaptureAccessDenied,
         hresult_access_denied},
        {"later read busy", S_OK, S_OK, 3, hresult_device_preempted, 0, CaptureBusy,
         hresult_device_preempted},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SyntheticCamera camera = test_camera();
        camera.open_result = c.open;
        camera.reader_result = c.reader;
        camera.fail_at_read = c.fail_at;
        camera.read_result = c.read;
        camera.read_flags = c.flags;
        start(camera);
        ASSERT_TRUE(wait_status());
        const Report* report = end_report();
        EXPECT_EQ(int32_t(report->code), c.code);
        EXPECT_EQ(report->hr, c.hr);
        EXPECT_EQ(session.status_count(), c.fail_at > 0 ? 2 : 1) << "one end report at most";
        capture_stop();
        session.reports.clear();
    }
}

TEST_F(CaptureWorkerTest, UnopenableLinksFail) {
    synthetic_set_cameras({test_camera()});
    const std::string too_long(600, 'a'); // does not fit 512 UTF-16 units: empty link
    capture_start(session.window, too_long.c_str());
    ASSERT_TRUE(wait_status());
    EXPECT_EQ(int32_t(end_report()->code), CaptureFailed);
    EXPECT_EQ(capture_worker.symbolic_link[0], L'\0');
    capture_stop();
    session.reports.clear();

    capture_start(session.window, "\\\\?\\synthetic#absent");
    ASSERT_TRUE(wait_status());
    EXPECT_EQ(int32_t(end_report()->code), CaptureFailed);
    capture_stop();
}

TEST_F(CaptureWorkerTest, StopWhileBlockedInReadReturnsWithoutAReport) {
    SyntheticCamera camera = test_camera();
    camera.block_at_read = 2;
    start(camera);
    ASSERT_TRUE(wait_frames(1));
    session.pump_until([] { return synthetic_stats().samples_delivered >= 2; });
    session.pump_for(30); // the worker is now inside the blocking read
    capture_stop();
    EXPECT_EQ(capture_worker.worker_thread, nullptr);
    session.pump_for(50);
    EXPECT_EQ(session.status_count(), 1) << "only the streaming report";
    EXPECT_TRUE(synthetic_all_released());
}

TEST_F(CaptureWorkerTest, StopDuringOpenReleasesTheSourceSilently) {
    SyntheticCamera camera = test_camera();
    camera.open_delay_ms = 150;
    start(camera);
    Sleep(20);
    capture_stop();
    session.pump_for(50);
    EXPECT_TRUE(session.reports.empty());
    const SyntheticStats stats = synthetic_stats();
    EXPECT_EQ(stats.sources_created, 1);
    EXPECT_GE(stats.shutdowns, 1);
    EXPECT_EQ(stats.samples_delivered, 0);
    EXPECT_TRUE(synthetic_all_released());
}

TEST_F(CaptureWorkerTest, StopDrainsQueuedReports) {
    SyntheticCamera camera = test_camera();
    camera.fail_at_read = 2;
    start(camera);
    // Let the worker finish on its own without dispatching anything: its
    // streaming, frame and lost reports wait in the queue.
    ASSERT_EQ(WaitForSingleObject(capture_worker.worker_thread, 5000), WAIT_OBJECT_0);
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, session.window, WM_APP_FRAME, WM_APP_STATUS, PM_NOREMOVE));
    capture_stop();
    EXPECT_FALSE(PeekMessageW(&message, session.window, WM_APP_FRAME, WM_APP_STATUS, PM_NOREMOVE));
    session.pump_for(20);
    EXPECT_TRUE(session.reports.empty());
}

// Many start/stop cycles: no deadlock, no report of a stopped worker reaching
// the window, every object released.
void stress(CaptureWorkerTest& test, SyntheticCamera camera, int cycles) {
    synthetic_set_cameras({camera});
    int streamed = 0;
    for (int i = 0; i < cycles; ++i) {
        capture_start(test.session.window, "\\\\?\\synthetic#cam0");
        if (i % 4 == 0) {
            test.session.pump_until([&] { return test.session.frame_count() > 0; }, 200);
        } else if (i % 4 == 1) {
            Sleep(1);
        }
        streamed += test.session.status_count() > 0;
        capture_stop();
        MSG message;
        ASSERT_FALSE(
            PeekMessageW(&message, test.session.window, WM_APP_FRAME, WM_APP_STATUS, PM_NOREMOVE));
        test.session.reports.clear();
    }
    test.session.pump_for(20);
    EXPECT_TRUE(test.session.reports.empty());
    EXPECT_TRUE(synthetic_all_released());
    EXPECT_GT(streamed, cycles / 8);
    testing::Test::RecordProperty("cycles", cycles);
    testing::Test::RecordProperty("streamed", streamed);
}

TEST_F(CaptureWorkerTest, StressStartStopAgainstABlockingReader) {
    SyntheticCamera camera = test_camera(L"\\\\?\\synthetic#cam0", 320, 240);
    camera.block_at_read = 1;
    stress(*this, camera, 1000);
}

TEST_F(CaptureWorkerTest, StressStartStopAgainstAFastReader) {
    stress(*this, test_camera(L"\\\\?\\synthetic#cam0", 320, 240), 1000);
}

} // namespace
