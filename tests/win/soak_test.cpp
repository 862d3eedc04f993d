// Long runs against the real main window: cameras plugged and unplugged,
// switched from the combo box, and every synthetic fault in turn, with the
// settings file and the process's handle and GDI object counts checked.
// SOAK_CYCLES sets the number of cycles (default 100; scripts/soak runs 1000).

#include <cstdio>
#include <cstdlib>

#include "app_fixture.h"
#include "settings/settings_file.h"

namespace {

int soak_cycles() {
    const char* value = std::getenv("SOAK_CYCLES");
    const int cycles = value != nullptr ? std::atoi(value) : 0;
    return cycles > 0 ? cycles : 100;
}

// Handles counted by asking for each possible value; GetProcessHandleCount
// answers 0 under Wine, this works on both.
int open_handles() {
    int count = 0;
    for (uintptr_t value = 4; value < 0x20000; value += 4) {
        DWORD flags = 0;
        count += GetHandleInformation(reinterpret_cast<HANDLE>(value), &flags) != 0;
    }
    return count;
}

struct Resources {
    int handles;
    DWORD gdi;
    DWORD user;
};

Resources resources() {
    return {open_handles(), GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS),
            GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS)};
}

void expect_flat(const Resources& early, const Resources& late) {
    EXPECT_EQ(late.handles, early.handles);
    EXPECT_EQ(late.gdi, early.gdi);
    EXPECT_EQ(late.user, early.user);
    std::printf("resources: handles %d -> %d, gdi %lu -> %lu, user %lu -> %lu\n", early.handles,
                late.handles, early.gdi, late.gdi, early.user, late.user);
}

struct SoakTest : AppWindowTest {
    void expect_settings_file_sound() {
        settings_save(settings);
        std::string bytes;
        ASSERT_TRUE(read_file_bytes(appdata.path + L"\\Tavisko\\settings.txt", bytes));
        Settings read;
        settings_parse(read, bytes.c_str());
        char text[2048];
        const size_t length = settings_format(read, text, sizeof text);
        EXPECT_EQ(std::string(text, length), bytes) << "complete and parseable";
    }
    bool wait_status(StatusState wanted) {
        return pump_until([&] { return status == wanted; }, 5000);
    }
    int combo_rows() const { return int(SendMessageW(toolbar.combo, CB_GETCOUNT, 0, 0)); }
};

TEST_F(SoakTest, PlugAndUnplugCycles) {
    const SyntheticCamera camera = app_camera(L"\\\\?\\cam#soak", L"Soak Camera", 320, 240);
    open({camera});
    ASSERT_TRUE(wait_status(StatusStreaming));
    const int cycles = soak_cycles();
    Resources early{};
    for (int i = 0; i < cycles; ++i) {
        synthetic_unplug(camera.symbolic_link);
        ASSERT_TRUE(wait_status(StatusWaiting)) << "cycle " << i;
        ASSERT_EQ(capture_active, 0);
        // The retry finds nothing while it is out.
        SendMessageW(main_window, WM_TIMER, TIMER_RESCAN, 0);
        ASSERT_EQ(status, StatusWaiting);
        ASSERT_EQ(capture_active, 0);
        ASSERT_EQ(SendMessageW(toolbar.combo, CB_GETITEMDATA, 0, 0), -1) << "(disconnected) row";

        synthetic_plug(camera);
        SendMessageW(main_window, WM_DEVICECHANGE, 0x8000, 0);
        SendMessageW(main_window, WM_TIMER, TIMER_DEVICE_CHANGE, 0);
        ASSERT_EQ(capture_active, 1);
        ASSERT_TRUE(wait_status(StatusStreaming)) << "cycle " << i;
        if (i == 9) {
            early = resources();
        }
    }
    expect_flat(early, resources());
    expect_settings_file_sound();
    RecordProperty("cycles", cycles);
}

TEST_F(SoakTest, CameraSwitchesFromTheComboBox) {
    open(
        {app_camera(L"\\\\?\\cam#a", L"A", 320, 240), app_camera(L"\\\\?\\cam#b", L"B", 352, 288)});
    ASSERT_TRUE(wait_status(StatusStreaming));
    ASSERT_EQ(combo_rows(), 2);
    // Picking the running camera again keeps the worker and the view.
    settings.view = {2, 0.5, 0.5};
    const HANDLE worker = capture_worker.worker_thread;
    SendMessageW(main_window, WM_COMMAND, MAKEWPARAM(IDC_CAMERA, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(toolbar.combo));
    EXPECT_EQ(std::pair(capture_worker.worker_thread, settings.view.zoom), std::pair(worker, 2.0));
    const int cycles = soak_cycles();
    Resources early{};
    for (int i = 0; i < cycles; ++i) {
        const int row = (i + 1) % 2;
        SendMessageW(toolbar.combo, CB_SETCURSEL, WPARAM(row), 0);
        SendMessageW(main_window, WM_COMMAND, MAKEWPARAM(IDC_CAMERA, CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(toolbar.combo));
        ASSERT_STREQ(settings.camera_name, row == 0 ? "A" : "B") << "cycle " << i;
        ASSERT_EQ(settings.view.zoom, 1.0) << "another camera starts with the whole picture";
        ASSERT_TRUE(wait_status(StatusStreaming)) << "cycle " << i;
        ASSERT_TRUE(pump_until([&] { return known_frame_width == (row == 0 ? 320 : 352); }));
        if (i == 9) {
            early = resources();
        }
    }
    expect_flat(early, resources());
    expect_settings_file_sound();
}

TEST_F(SoakTest, EveryFaultInTurn) {
    // clang-format off
    struct Fault { const char* what; void (*apply)(SyntheticCamera&); StatusState state; };
    const Fault faults[] = {
        {"denied", [](SyntheticCamera& c) { c.open_result = E_ACCESSDENIED; }, StatusAccessDenied},
        {"busy", [](SyntheticCamera& c) { c.open_result = HRESULT(0xC00D3EA3); }, StatusInUse},
        {"sharing", [](SyntheticCamera& c) { c.open_result = HRESULT(0x80070020); }, StatusInUse},
        {"open fails", [](SyntheticCamera& c) { c.open_result = E_FAIL; }, StatusFailed},
        {"reader fails", [](SyntheticCamera& c) { c.reader_result = E_OUTOFMEMORY; }, StatusFailed},
        {"first read fails", [](SyntheticCamera& c) { c.fail_at_read = 0; }, StatusFailed},
        {"lost later", [](SyntheticCamera& c) { c.fail_at_read = 5; }, StatusWaiting},
        {"error flag", [](SyntheticCamera& c) { c.fail_at_read = 0, c.read_flags = 1; }, StatusWaiting},
        {"end of stream", [](SyntheticCamera& c) { c.fail_at_read = 2, c.read_flags = 2; }, StatusWaiting},
        {"short buffer", [](SyntheticCamera& c) { c.buffer = SyntheticBuffer::Short; }, StatusStreaming},
        {"lying 2-D buffer", [](SyntheticCamera& c) { c.buffer = SyntheticBuffer::LyingPitched; }, StatusStreaming},
        {"bottom-up", [](SyntheticCamera& c) { c.buffer = SyntheticBuffer::BottomUp; }, StatusStreaming},
        {"pitched", [](SyntheticCamera& c) { c.buffer = SyntheticBuffer::Pitched; }, StatusStreaming},
        {"no stride", [](SyntheticCamera& c) { c.default_stride = false; }, StatusStreaming},
        {"size change", [](SyntheticCamera& c) { c.type_change_at_read = 3, c.changed_width = 160, c.changed_height = 120; }, StatusStreaming},
        {"ticks", [](SyntheticCamera& c) { c.tick_every = 2; }, StatusStreaming},
        {"hangs", [](SyntheticCamera& c) { c.block_at_read = 2; }, StatusStreaming},
    };
    // clang-format on
    open({});
    Resources early{};
    // The first round also brings up what Media Foundation starts lazily;
    // the counts must stay flat from then on.
    for (int round = 0; round < 4; ++round) {
        for (const Fault& f : faults) {
            SCOPED_TRACE(f.what);
            SyntheticCamera camera = app_camera(L"\\\\?\\cam#fault", L"Faulty", 320, 240);
            f.apply(camera);
            synthetic_set_cameras({camera});
            capture_stop_if_running();
            capture_active = 0;
            if (round == 1 && &f == &faults[0]) {
                early = resources(); // measured, like the last, with no worker
            }
            set_status(StatusNone);
            SendMessageW(main_window, WM_TIMER, TIMER_RESCAN, 0);
            ASSERT_TRUE(wait_status(f.state));
            if (f.state == StatusStreaming) {
                pump(50);
                EXPECT_EQ(status, StatusStreaming);
            } else {
                EXPECT_EQ(capture_active, 0);
            }
            expect_settings_file_sound();
        }
    }
    capture_stop_if_running();
    capture_active = 0;
    synthetic_set_cameras({});
    SendMessageW(main_window, WM_TIMER, TIMER_RESCAN, 0);
    expect_flat(early, resources());
}

} // namespace
