// The command table against what is made from it: the accelerator table and
// the rows' states. The menu's rows and the toolbar's tips are checked on the
// real window (view_modes_test, app_window_test).

#include <windows.h>

#include <gtest/gtest.h>

#include <tuple>

#include "app/app_state.h"
#include "app/commands_win.h"
#include "app/startup.h"
#include "layout/view_modes.h"
#include "view/shown_picture.h"

namespace {

TEST(Commands, TheAcceleratorsAreEveryRowsKeysInTheTablesOrder) {
    const ACCEL expected[] = {
        {FVIRTKEY | FCONTROL, 'T', 105},
        {FVIRTKEY | FCONTROL, VK_OEM_PLUS, 103},
        {FVIRTKEY | FSHIFT | FCONTROL, VK_OEM_PLUS, 103},
        {FVIRTKEY | FCONTROL, VK_ADD, 103},
        {FVIRTKEY | FCONTROL, VK_OEM_MINUS, 102},
        {FVIRTKEY | FCONTROL, VK_SUBTRACT, 102},
        {FVIRTKEY | FCONTROL, '0', 104},
        {FVIRTKEY | FCONTROL, VK_NUMPAD0, 104},
        {FVIRTKEY | FCONTROL, 'M', 107},
        {FVIRTKEY | FCONTROL, 'C', 108},
        {FVIRTKEY | FCONTROL, 'S', 114},
        {FVIRTKEY | FCONTROL, 'H', 109},
        {FVIRTKEY, VK_F11, 110},
        {FVIRTKEY | FCONTROL, 'R', 111},
        {FVIRTKEY | FSHIFT | FCONTROL, 'R', 112},
        {FVIRTKEY, VK_SPACE, 113},
    };
    HACCEL table = create_accelerators();
    ACCEL made[64];
    const int count = CopyAcceleratorTableW(table, made, 64);
    DestroyAcceleratorTable(table);
    ASSERT_EQ(count, int(std::size(expected)));
    for (int i = 0; i < count; ++i) {
        EXPECT_EQ(std::tuple(made[i].fVirt, made[i].key, made[i].cmd),
                  std::tuple(expected[i].fVirt, expected[i].key, expected[i].cmd))
            << "entry " << i;
    }
}

TEST(Commands, EachSwitchChecksItsOwnRowAndOnlyTheCameraSettingsWaitForAStream) {
    settings.mirror = settings.on_top = settings.compact = 0;
    full_screen.on = frozen.on = false;
    const std::pair<int, void (*)(bool)> switches[] = {
        {107, [](bool on) { settings.mirror = on ? 1 : 0; }},
        {105, [](bool on) { settings.on_top = on ? 1 : 0; }},
        {109, [](bool on) { settings.compact = on ? 1 : 0; }},
        {110, [](bool on) { full_screen.on = on; }},
        {113, [](bool on) { frozen.on = on; }},
    };
    for (const auto& [on, set] : switches) {
        set(true);
        for (const Command& command : command_table()) {
            EXPECT_EQ(command.checked != nullptr && command.checked(), command.id == on)
                << command.id << " with " << on << " on";
        }
        set(false);
    }
    for (const StatusState state : {StatusNone, StatusWaiting, StatusStreaming, StatusFailed}) {
        status = state;
        for (const Command& command : command_table()) {
            EXPECT_EQ(command.enabled == nullptr || command.enabled(),
                      command.id != 115 || state == StatusStreaming)
                << command.id << " in state " << state;
        }
    }
    status = StatusNone;
}

} // namespace
