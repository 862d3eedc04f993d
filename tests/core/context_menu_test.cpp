#include "app/context_menu.h"

#include <gtest/gtest.h>

#include <cwchar>

namespace {

TEST(ContextMenu, EachSwitchChecksItsOwnItemAndEveryCommandNamesItsKey) {
    // One switch on at a time: only its item is checked.
    const std::pair<int, MenuChecks> switches[] = {
        {IDC_MIRROR, {true, false, false, false, false}},
        {IDC_ON_TOP, {false, true, false, false, false}},
        {IDC_COMPACT, {false, false, true, false, false}},
        {IDC_FULL_SCREEN, {false, false, false, true, false}},
        {IDC_FREEZE, {false, false, false, false, true}},
    };
    for (const auto& [on, checks] : switches) {
        for (const MenuItem& item : context_menu_items) {
            EXPECT_EQ(menu_item_checked(item.command, checks), item.command == on)
                << item.command << " with " << on << " on";
        }
    }
    for (const MenuItem& item : context_menu_items) {
        // Submenus and the settings window have no key.
        if ((item.command > 0 && item.command != IDC_CAMERA_CONTROLS) ||
            item.command == menu_close) {
            EXPECT_NE(std::wcschr(item.text, L'\t'), nullptr) << item.command;
        }
    }
}

TEST(ContextMenu, OnlyTheCameraSettingsWaitForAStreamingCamera) {
    for (const MenuItem& item : context_menu_items) {
        EXPECT_TRUE(menu_item_enabled(item.command, true)) << item.command;
        EXPECT_EQ(menu_item_enabled(item.command, false), item.command != IDC_CAMERA_CONTROLS)
            << item.command;
    }
}

} // namespace
