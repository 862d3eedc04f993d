#include <mferror.h>

#include <gtest/gtest.h>

#include "capture_harness.h"

namespace {

struct CaptureWorkerTest : testing::Test {
    CaptureSession session;
};

// Types the reader cannot turn into RGB32 here: no HEVC decoder, nor one for
// a vendor's own subtype.
const GUID hevc = MFVideoFormat_HEVC;
const GUID vendor = {0x41424344, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};

TEST_F(CaptureWorkerTest, FirstSampleReportsStreamingThenAFrameForEveryBufferLayout) {
    // clang-format off
    struct Case { const char* what; SyntheticBuffer buffer; bool default_stride; uint32_t width, height; bool copied; std::vector<SyntheticType> types = {}; };
    const Case cases[] = {
        {"top-down", SyntheticBuffer::TopDown, true, 640, 480, true},
        {"no stride attribute: bottom-up, as a bitmap", SyntheticBuffer::TopDown, false, 320, 240, true},
        {"bottom-up, stride -2560", SyntheticBuffer::BottomUp, true, 640, 480, true},
        {"2-D, pitch wider than 638 x 4", SyntheticBuffer::Pitched, true, 638, 480, true},
        {"2-D claiming more rows than it holds", SyntheticBuffer::LyingPitched, true, 640, 480, false},
        {"the same behind IMF2DBuffer only", SyntheticBuffer::LyingPitchedOld, true, 640, 480, false},
        {"the types the reader cannot turn give way to the 640 x 480 NV12", SyntheticBuffer::TopDown, true, 640, 480, true,
         {{MFVideoFormat_NV12, 640, 480, 30, 1}, {hevc, 1920, 1080, 30, 1}, {vendor, 1280, 720, 30, 1}}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SyntheticCamera camera = test_camera(c.width, c.height);
        camera.buffer = c.buffer;
        camera.default_stride = c.default_stride;
        camera.types = c.types.empty() ? camera.types : c.types;
        session.start(camera);
        ASSERT_TRUE(session.wait_frames(1));
        ASSERT_GE(session.reports.size(), 2u);
        const std::vector<Report> first(session.reports.begin(), session.reports.begin() + 2);
        EXPECT_EQ(first, (std::vector<Report>{{WM_APP_STATUS, CaptureStreaming, 0},
                                              {WM_APP_FRAME, 0, 0}}));
        if (c.copied) {
            EXPECT_GE(pattern_frame_in_store(int32_t(c.width), int32_t(c.height)), 0);
        } else {
            EXPECT_FALSE(PeekedFrame().held) << "nothing may be copied from this buffer";
        }
        session.stop();
    }
}

// A 1920 x 1088 NV12 type whose picture is an aperture of it: the frame
// store holds that area alone, the margin around it (0xEE bytes) never.
TEST_F(CaptureWorkerTest, OnlyTheAperturesAreaIsStoredWhicheverWayTheRowsRun) {
    // clang-format off
    const std::tuple<const char*, SyntheticBuffer, SyntheticAperture> cases[] = {
        {"1080 rows coded as 1088", SyntheticBuffer::TopDown, {0, 0, 1920, 1080}},
        {"geometric, inset, bottom-up", SyntheticBuffer::BottomUp, {16, 8, 1600, 900, true}},
        {"inset, in a 2-D buffer with padded rows", SyntheticBuffer::Pitched, {40, 4, 1280, 1000}},
    };
    // clang-format on
    for (const auto& [what, buffer, aperture] : cases) {
        SCOPED_TRACE(what);
        SyntheticCamera camera = test_camera(1920, 1088);
        camera.types = {{MFVideoFormat_NV12, 1920, 1088, 30, 1, aperture}};
        camera.buffer = buffer;
        session.start(camera);
        ASSERT_TRUE(session.wait_frames(1));
        EXPECT_GE(pattern_frame_in_store(int32_t(aperture.width), int32_t(aperture.height)), 0);
        session.stop();
    }
    EXPECT_EQ(synthetic_stats().advanced_readers, 3) << "the reader's video processor, each time";
}

TEST_F(CaptureWorkerTest, OneFrameMessageOutstandingUntilThePaintClearsItAndANewTypesSizeAdopted) {
    SyntheticCamera camera = test_camera();
    camera.frame_interval_ms = 2;
    camera.type_change_at_read = 30;
    camera.changed_width = 352;
    camera.changed_height = 288;
    camera.tick_every = 3; // stream ticks without samples on the way
    session.start(camera);
    ASSERT_TRUE(session.wait_frames(1));
    // No paint: frames keep arriving in the store, but no second message.
    const long before = synthetic_stats().samples_delivered;
    ASSERT_TRUE(
        session.pump_until([&] { return synthetic_stats().samples_delivered > before + 10; }));
    session.pump_for(50);
    EXPECT_EQ(session.count(WM_APP_FRAME), 1);
    EXPECT_EQ(frame_clear_pending(), 1);
    EXPECT_TRUE(session.wait_frames(2));
    ASSERT_TRUE(session.pump_until([&] {
        frame_clear_pending();
        return pattern_frame_in_store(352, 288) >= 0;
    }));
    EXPECT_EQ(session.count(WM_APP_STATUS), 1) << "streaming is reported once per worker";
    session.stop();
}

TEST_F(CaptureWorkerTest, ShortBufferKeepsThePreviousFrame) {
    SyntheticCamera camera = test_camera();
    camera.short_from_read = 3;
    camera.frame_interval_ms = 1;
    session.start(camera);
    ASSERT_TRUE(session.pump_until([] { return synthetic_stats().samples_delivered >= 20; }));
    session.stop();
    EXPECT_EQ(pattern_frame_in_store(640, 480), 2) << "frames 0..2 were copied, the short ones not";
}

TEST_F(CaptureWorkerTest, EndReportsAreClassified) {
    const std::string too_long(600, 'a'); // does not fit 512 UTF-16 units: an empty link
    const int32_t failure = int32_t(E_FAIL);
    // clang-format off
    struct Case { const char* what; const char* link; HRESULT open, reader; int fail_at; HRESULT read; DWORD flags; int32_t code, hr; std::vector<SyntheticType> types = {}; };
    const Case cases[] = {
        {"link too long", too_long.c_str(), S_OK, S_OK, -1, S_OK, 0, CaptureFailed, int32_t(E_INVALIDARG)},
        {"no such camera", "\\\\?\\synthetic#absent", S_OK, S_OK, -1, S_OK, 0, CaptureFailed, hresult_from_win32(ERROR_FILE_NOT_FOUND)},
        {"open denied", nullptr, E_ACCESSDENIED, S_OK, -1, S_OK, 0, CaptureAccessDenied, hresult_access_denied},
        {"open preempted", nullptr, hresult_device_preempted, S_OK, -1, S_OK, 0, CaptureBusy, hresult_device_preempted},
        {"open fails", nullptr, E_FAIL, S_OK, -1, S_OK, 0, CaptureFailed, failure},
        {"reader fails", nullptr, S_OK, E_OUTOFMEMORY, -1, S_OK, 0, CaptureFailed, int32_t(E_OUTOFMEMORY)},
        {"no type the reader can turn: the first refusal", nullptr, S_OK, S_OK, -1, S_OK, 0, CaptureFailed, int32_t(0xC00D5212),
         {{vendor, 640, 480, 30, 1}, {hevc, 1280, 720, 30, 1}}},
        {"first read fails", nullptr, S_OK, S_OK, 0, E_FAIL, 0, CaptureFailed, failure},
        {"error flag", nullptr, S_OK, S_OK, 0, S_OK, MF_SOURCE_READERF_ERROR, CaptureLost, hresult_device_invalidated},
        {"end of stream", nullptr, S_OK, S_OK, 0, S_OK, MF_SOURCE_READERF_ENDOFSTREAM, CaptureLost, hresult_device_invalidated},
        {"later read fails", nullptr, S_OK, S_OK, 3, E_FAIL, 0, CaptureLost, failure},
    };
    // clang-format on
    // The first round also brings up what Media Foundation starts lazily; the
    // second must leave no handle behind.
    long handles = 0;
    for (int round = 0; round < 2; ++round) {
        handles = round == 1 ? open_handles() : 0;
        for (const Case& c : cases) {
            SCOPED_TRACE(c.what);
            SyntheticCamera camera = test_camera();
            camera.open_result = c.open;
            camera.reader_result = c.reader;
            camera.fail_at_read = c.fail_at;
            camera.read_result = c.read;
            camera.read_flags = c.flags;
            camera.types = c.types.empty() ? camera.types : c.types;
            session.start(camera, c.link);
            ASSERT_TRUE(session.pump_until([&] { return session.end_report() != nullptr; }));
            EXPECT_EQ(int32_t(session.end_report()->code), c.code);
            EXPECT_EQ(session.end_report()->hr, c.hr);
            session.pump_for(20);
            EXPECT_EQ(session.count(WM_APP_STATUS), c.fail_at > 0 ? 2 : 1)
                << "one end report at most";
            session.stop();
        }
    }
    EXPECT_EQ(open_handles(), handles) << "a failure path leaks a handle";
}

TEST_F(CaptureWorkerTest, StopDuringOpenOrABlockedReadReturnsPromptlyWithoutAReport) {
    // clang-format off
    struct Case { const char* what; uint32_t open_delay_ms; int block_at_read; long samples; int statuses; };
    const Case cases[] = {
        {"during the open", 150, -1, 0, 0},
        {"blocked in the third read: only the streaming report", 0, 2, 2, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SyntheticCamera camera = test_camera();
        camera.open_delay_ms = c.open_delay_ms;
        camera.block_at_read = c.block_at_read;
        synthetic_reset_stats();
        session.start(camera);
        ASSERT_TRUE(
            session.pump_until([&] { return synthetic_stats().samples_delivered >= c.samples; }));
        session.pump_for(30); // still opening, or inside the blocking read
        const ULONGLONG begun = GetTickCount64();
        capture_stop();
        EXPECT_LT(GetTickCount64() - begun, 1000u);
        session.pump_for(50);
        EXPECT_EQ(session.count(WM_APP_STATUS), c.statuses);
        const SyntheticStats stats = synthetic_stats();
        EXPECT_EQ(stats.sources_created, 1);
        EXPECT_GE(stats.shutdowns, 1);
        EXPECT_EQ(stats.samples_delivered, c.samples);
        EXPECT_TRUE(synthetic_all_released());
        session.reports.clear();
    }
}

// A driver that stalls while the worker copies a sample: the stop gives up on
// the worker, the next one runs, and when the stalled call returns at last
// the abandoned worker neither fills the store nor posts, and lets go of
// everything it holds.
TEST_F(CaptureWorkerTest, AStopGivesUpOnAStalledWorkerThatThenTouchesNothing) {
    SyntheticCamera stalled = test_camera(640, 480);
    stalled.stall_copy_at_read = 1;
    SyntheticCamera next = test_camera(320, 240, L"\\\\?\\synthetic#cam1");
    next.block_at_read = 1; // one frame, then nothing until the stop
    synthetic_hold_hung_calls();
    synthetic_set_cameras({stalled, next});
    capture_start(session.window, "\\\\?\\synthetic#cam0");
    ASSERT_TRUE(session.pump_until([] { return synthetic_stats().samples_delivered >= 2; }));
    session.pump_for(30);
    const ULONGLONG begun = GetTickCount64();
    EXPECT_FALSE(capture_stop_within(200));
    EXPECT_LT(GetTickCount64() - begun, 1000u);
    EXPECT_FALSE(session.report_queued());
    session.reports.clear();

    capture_start(session.window, "\\\\?\\synthetic#cam1");
    ASSERT_TRUE(session.wait_frames(1));
    EXPECT_EQ(frame_clear_pending(), 1);
    EXPECT_FALSE(capture_stop_all_within(100)) << "the stalled worker is still out";
    capture_start(session.window, "\\\\?\\synthetic#cam1");
    ASSERT_TRUE(session.wait_frames(2));
    frame_clear_pending();
    synthetic_release_hung_calls();
    ASSERT_TRUE(session.pump_until([] { return synthetic_live_counts().sources == 1; }));
    session.pump_for(50);
    EXPECT_EQ(session.count(WM_APP_FRAME), 2) << "only the frames of the new workers";
    EXPECT_EQ(pattern_frame_in_store(320, 240), 0);
    EXPECT_TRUE(capture_stop_all_within(1000));
    EXPECT_FALSE(capture_worker_stuck());
}

// Many start/stop cycles, stopping at different moments, often with reports
// still queued: no deadlock, no report of a stopped worker left for the
// window, every object released.
TEST_F(CaptureWorkerTest, StartStopCyclesAgainstABlockingAndAFastReader) {
    for (int block_at : {1, -1}) {
        SyntheticCamera camera = test_camera(320, 240);
        camera.block_at_read = block_at;
        synthetic_set_cameras({camera});
        int streamed = 0;
        for (int i = 0; i < 1000; ++i) {
            capture_start(session.window, "\\\\?\\synthetic#cam0");
            if (i % 4 == 0) {
                session.pump_until([&] { return session.count(WM_APP_FRAME) > 0; }, 200);
            } else if (i % 4 == 1) {
                Sleep(1);
            }
            streamed += !session.reports.empty();
            session.stop();
            ASSERT_FALSE(session.report_queued()) << "cycle " << i;
        }
        session.pump_for(20);
        EXPECT_TRUE(session.reports.empty());
        EXPECT_TRUE(synthetic_all_released());
        EXPECT_GT(streamed, 1000 / 8) << "block at " << block_at;
    }
}

// A small camera at this rate, delivering as fast as it is read.
SyntheticCamera timed_camera(uint32_t numerator, uint32_t denominator, int block_at_read = -1) {
    SyntheticCamera camera = test_camera(64, 48);
    camera.types = {{MFVideoFormat_RGB32, 64, 48, numerator, denominator}};
    camera.block_at_read = block_at_read;
    return camera;
}

// Measuring from the first sample: figures are published once the stamps
// have advanced a second, the last here at the last sample before the camera
// blocks, so they are known exactly.
TEST_F(CaptureWorkerTest, DeliveryFiguresCountLostFramesAndStreamTicks) {
    // clang-format off
    struct Case { const char* what; uint32_t numerator; int tick_every, skip_every, flag_at, new_type_at, block_at; DeliveryFigures figures; };
    const Case cases[] = {
        {"60000/1001, frames 0..60", 60000, 0, 0, -1, -1, 61, {5994, 0}},
        {"every 10th frame lost, frames 0..60", 30, 0, 10, -1, -1, 55, {2690, 6}},
        {"every other frame a stream tick, frames 0..30", 30, 2, 0, -1, -1, 31, {1500, 15}},
        {"frame 20 of 0..30 flagged as a discontinuity, a new type from 25", 30, 0, 0, 20, 25, 31, {-1, 1}},
    };
    // clang-format on
    capture_measure_delivery(true);
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        SyntheticCamera camera =
            timed_camera(c.numerator, c.numerator == 30 ? 1 : 1001, c.block_at);
        camera.tick_every = c.tick_every;
        camera.skip_every = c.skip_every;
        camera.discontinuity_at_read = c.flag_at;
        camera.type_change_at_read = c.new_type_at;
        camera.changed_width = camera.changed_height = 32;
        session.start(camera);
        DeliveryFigures figures{-2, -2};
        session.pump_until([&] { return capture_delivery(&figures) && figures == c.figures; });
        EXPECT_EQ(figures, c.figures);
        session.stop();
    }
}

// Figures only while measuring is on, counted afresh from each switch on,
// and only from the current run. The lossy camera loses 3 frames a second of
// stamps and makes one a millisecond: 60 lost take 0.6 s.
TEST_F(CaptureWorkerTest, DeliveryFiguresOnlyWhileMeasuringAfreshAndOfTheCurrentRun) {
    SyntheticCamera lossy = timed_camera(30, 1);
    lossy.skip_every = 10;
    lossy.frame_interval_ms = 1;
    session.start(lossy);
    capture_measure_delivery(true);
    DeliveryFigures figures{};
    ASSERT_TRUE(session.pump_until(
        [&] { return capture_delivery(&figures) && figures.dropped >= 60; }, 10000));
    EXPECT_EQ(synthetic_stats().low_latency_readers, 1);
    capture_measure_delivery(false);
    EXPECT_FALSE(capture_delivery(&figures)) << "switched off";
    capture_measure_delivery(true);
    ASSERT_TRUE(session.pump_until([&] { return capture_delivery(&figures); }));
    EXPECT_LT(figures.dropped, 60) << "not counted afresh";
    session.start(timed_camera(60000, 1001, 0));
    EXPECT_FALSE(capture_delivery(&figures)) << "nothing published by this run";
}

} // namespace
