// The command table against what is made from it and what is written about
// it: the accelerator table, the rows' states, and the key tables of both
// READMEs. The menu's rows and the toolbar's tips are checked on the real
// window (view_modes_test, app_window_test).

#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

#include "app/commands_win.h"
#include "app/main_window.h"
#include "app/startup.h"
#include "base/text_win.h"
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
        {FVIRTKEY | FCONTROL, 'B', 119},
        {FVIRTKEY, VK_F11, 110},
        {FVIRTKEY | FCONTROL, 'R', 111},
        {FVIRTKEY | FSHIFT | FCONTROL, 'R', 112},
        {FVIRTKEY, VK_SPACE, 113},
        {FVIRTKEY | FCONTROL, 'I', 125},
        {FVIRTKEY | FSHIFT | FCONTROL | FALT, 'T', 124},
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
    // (The next shape waits for the compact view.)
    settings.mirror = settings.on_top = settings.compact = 0;
    settings.opacity = 100;
    main_window.full_screen.on = main_window.frozen.on = false;
    const std::pair<int, void (*)(bool)> switches[] = {
        {124, [](bool on) { main_window.click_through.on = on; }},
        {107, [](bool on) { settings.mirror = on ? 1 : 0; }},
        {105, [](bool on) { settings.on_top = on ? 1 : 0; }},
        {109, [](bool on) { settings.compact = on ? 1 : 0; }},
        {110, [](bool on) { main_window.full_screen.on = on; }},
        {113, [](bool on) { main_window.frozen.on = on; }},
    };
    for (const auto& [on, set] : switches) {
        set(true);
        for (const Command& command : command_table()) {
            // The rectangle, 100%, no guide and no sound, the defaults, keep
            // their checks.
            EXPECT_EQ(command.checked != nullptr && command.checked(),
                      command.id == on || command.id == 116 || command.id == 120 ||
                          command.id == 126 || command.id == 130)
                << command.id << " with " << on << " on";
        }
        set(false);
    }
    for (const StatusState state : {StatusNone, StatusWaiting, StatusStreaming, StatusFailed}) {
        main_window.status = state;
        for (const Command& command : command_table()) {
            EXPECT_EQ(command.enabled == nullptr || command.enabled(),
                      command.id != 124 && (command.id != 115 || state == StatusStreaming) &&
                          command.id != 119)
                << command.id << " in state " << state;
        }
    }
    main_window.status = StatusNone;
}

// The rows of a README's key table, from the line after `header` to the
// first empty line; an indented line goes on the row above it.
std::vector<std::string> key_rows(const char* name, const std::string& header) {
    std::ifstream file(std::string(TAVISKO_SOURCE_DIR "/") + name, std::ios::binary);
    std::vector<std::string> rows;
    bool inside = false;
    for (std::string line; std::getline(file, line) && !(inside && line.empty());) {
        line.erase(line.find_last_not_of('\r') + 1);
        if (line.starts_with("|-") || line.starts_with("--")) {
            continue; // the header's underline
        }
        if (inside && line.starts_with("   ")) {
            rows.back() += line;
        } else if (inside) {
            rows.push_back(line);
        }
        inside = inside || line == header;
    }
    return rows;
}

// Whether the key is written in the text as a whole: "Ctrl+S" is not in
// "Ctrl+Shift+R", nor "Ctrl+R" in "Ctrl+R2".
bool names_key(const std::string& text, const std::string& key) {
    const auto joins = [](char c) {
        return c == '+' || std::isalnum(static_cast<unsigned char>(c));
    };
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        const size_t end = at + key.size();
        if ((at == 0 || !joins(text[at - 1])) && (end == text.size() || !joins(text[end]))) {
            return true;
        }
    }
    return false;
}

// Where each command's key is written for users: the start of its row in
// README.md's key table and in README.txt's "Keys and mouse".
const std::tuple<int, const char*, const char*> key_places[] = {
    {103, "| zoom in |", "  Zoom in "},
    {102, "| zoom out |", "  Zoom out "},
    {104, "| back to the whole picture |", "  Whole picture again "},
    {105, "| always on top |", "  Always on top "},
    {107, "| mirror the picture ", "  Mirror "},
    {108, "| copy the picture,", "  Copy the picture "},
    {114, "| save the picture,", "  Save the picture "},
    {109, "| compact view:", "  Compact view "},
    {119, "| the compact window's next shape", "  Next shape "},
    {110, "| full screen |", "  Full screen "},
    {111, "| turn the picture a quarter clockwise ", "  Turn clockwise "},
    {112, "| turn the picture a quarter anticlockwise |", "  Turn anticlockwise "},
    {113, "| freeze the picture,", "  Freeze "},
    {125, "| the info line:", "  Info line "},
    {124, "| click through:", "  Click through "},
};

TEST(Commands, BothReadmesWriteEveryKeyOnItsCommandsRowAndNoOther) {
    for (const bool package : {false, true}) {
        const char* document = package ? "package/README.txt" : "README.md";
        const std::vector<std::string> rows =
            key_rows(document, package ? "Keys and mouse" : "| Action | Mouse | Keyboard |");
        ASSERT_GT(rows.size(), 12u) << document;
        for (const Command& command : command_table()) {
            wchar_t key[32];
            if (!key_text(command.keys[0], key, std::size(key))) {
                continue; // no key
            }
            char utf8[64];
            to_utf8(key, utf8, int(std::size(utf8)));
            const auto place = std::ranges::find(key_places, command.id,
                                                 [](const auto& p) { return std::get<0>(p); });
            ASSERT_NE(place, std::end(key_places)) << command.id << " " << utf8 << ": no row";
            const char* start = package ? std::get<2>(*place) : std::get<1>(*place);
            int own_rows = 0;
            for (const std::string& row : rows) {
                const bool own = row.starts_with(start);
                own_rows += own ? 1 : 0;
                EXPECT_EQ(names_key(row, utf8), own)
                    << document << ": " << utf8 << (own ? " missing from: " : " written on: ")
                    << row;
            }
            EXPECT_EQ(own_rows, 1) << document << ": rows starting \"" << start << "\"";
        }
    }
}

} // namespace
