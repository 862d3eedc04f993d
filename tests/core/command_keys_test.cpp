#include "app/command_keys.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandKeys, AKeyIsItsModifiersInWindowsOrderThenItsName) {
    const struct {
        CommandKey key;
        const wchar_t* text;
        bool named;
    } keys[] = {
        {{0x08, 'T'}, L"Ctrl+T", true},
        {{0x08 | 0x04, 'R'}, L"Ctrl+Shift+R", true},
        {{0x04 | 0x10 | 0x08, 'Z'}, L"Ctrl+Alt+Shift+Z", true},
        {{0x10, 0x73}, L"Alt+F4", true},
        {{0x08, 0xBB}, L"Ctrl++", true},
        {{0x08, 0xBD}, L"Ctrl+\u2212", true},
        {{0x08, '0'}, L"Ctrl+0", true},
        {{0x00, '9'}, L"9", true},
        {{0x00, 'A'}, L"A", true},
        {{0x00, 0x70}, L"F1", true},
        {{0x00, 0x7A}, L"F11", true},
        {{0x00, 0x87}, L"F24", true},
        {{0x00, 0x20}, L"Space", true},
        {{0x08, 0x6B}, L"Ctrl+Num +", true},
        {{0x08, 0x6D}, L"Ctrl+Num \u2212", true},
        {{0x08, 0x60}, L"Ctrl+Num 0", true},
        {{0x00, 0x69}, L"Num 9", true},
        // No key, and the codes either side of the named ranges.
        {{0x08, 0x00}, L"", false},
        {{0x00, 0x2F}, L"", false},
        {{0x00, 0x3A}, L"", false},
        {{0x00, 0x40}, L"", false},
        {{0x00, 0x5B}, L"", false},
        {{0x00, 0x5F}, L"", false},
        {{0x00, 0x6A}, L"", false},
        {{0x00, 0x88}, L"", false},
        {{0x00, 0xBC}, L"", false},
    };
    for (const auto& [key, text, named] : keys) {
        wchar_t out[32] = L"?";
        EXPECT_EQ(key_text(key, out, 32), named) << key.code;
        EXPECT_STREQ(out, text) << key.code;
    }
}

TEST(CommandKeys, TheMenuAndTheTipPutTheKeyAfterTheNameWithinTheBuffer) {
    const struct {
        const wchar_t* name;
        CommandKey key;
        size_t capacity;
        const wchar_t* menu;
        bool menu_whole;
        const wchar_t* tip;
        bool tip_whole;
    } rows[] = {
        // clang-format off
        {L"Zoom in", {0x08, 0xBB}, 32, L"Zoom in\tCtrl++", true, L"Zoom in (Ctrl++)", true},
        {L"Rotate left", {0x0C, 'R'}, 32, L"Rotate left\tCtrl+Shift+R", true, L"Rotate left (Ctrl+Shift+R)", true},
        {L"Camera settings\u2026", {0x00, 0x00}, 32, L"Camera settings\u2026", true, L"Camera settings\u2026", true},
        // The tip and its end exactly, then one unit short; then the key cut.
        {L"Zoom in", {0x08, 0xBB}, 17, L"Zoom in\tCtrl++", true, L"Zoom in (Ctrl++)", true},
        {L"Zoom in", {0x08, 0xBB}, 16, L"Zoom in\tCtrl++", true, L"Zoom in (Ctrl++", false},
        {L"Zoom in", {0x08, 0xBB}, 9, L"Zoom in\t", false, L"Zoom in ", false},
        // A key with no name makes no text: a row would name the wrong key.
        {L"Odd", {0x08, 0x88}, 32, L"", false, L"", false},
        // clang-format on
    };
    for (const auto& [name, key, capacity, menu, menu_whole, tip, tip_whole] : rows) {
        wchar_t out[32] = L"?";
        EXPECT_EQ(menu_item_text(name, key, out, capacity), menu_whole) << capacity;
        EXPECT_STREQ(out, menu) << capacity;
        EXPECT_EQ(tool_tip_text(name, key, out, capacity), tip_whole) << capacity;
        EXPECT_STREQ(out, tip) << capacity;
    }
    wchar_t short_key[6];
    EXPECT_FALSE(key_text({0x0C, 'R'}, short_key, 6));
    EXPECT_STREQ(short_key, L"Ctrl+");
    wchar_t untouched = L'?';
    EXPECT_FALSE(key_text({0x08, 'T'}, &untouched, 0));
    EXPECT_FALSE(menu_item_text(L"Mirror", {0x08, 'M'}, &untouched, 0));
    EXPECT_FALSE(tool_tip_text(L"Mirror", {0x08, 'M'}, &untouched, 0));
    EXPECT_EQ(untouched, L'?');
}

} // namespace
