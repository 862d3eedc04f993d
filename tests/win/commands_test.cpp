// The command table against what is made from it and what is written about
// it: the accelerator table, the rows' states, and the key tables of both
// READMEs. The menu's rows and the toolbar's tips are checked on the real
// window (view_modes_test, app_window_test).

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
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
    main_window.full_screen.on = main_window.frozen.on = false;
    const std::pair<int, void (*)(bool)> switches[] = {
        {107, [](bool on) { settings.mirror = on ? 1 : 0; }},
        {105, [](bool on) { settings.on_top = on ? 1 : 0; }},
        {109, [](bool on) { settings.compact = on ? 1 : 0; }},
        {110, [](bool on) { main_window.full_screen.on = on; }},
        {113, [](bool on) { main_window.frozen.on = on; }},
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
        main_window.status = state;
        for (const Command& command : command_table()) {
            EXPECT_EQ(command.enabled == nullptr || command.enabled(),
                      command.id != 115 || state == StatusStreaming)
                << command.id << " in state " << state;
        }
    }
    main_window.status = StatusNone;
}

// A key table's row for users: the words that name it, and all its text.
struct KeyRow {
    std::string name;
    std::string text;
};

std::vector<std::string> lines_of(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::vector<std::string> lines;
    for (std::string line; std::getline(file, line);) {
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        lines.push_back(line);
    }
    return lines;
}

// README.md: the table under "| Action | Mouse | Keyboard |"; a row is named
// by its first cell.
std::vector<KeyRow> readme_key_rows() {
    const std::vector<std::string> lines = lines_of(TAVISKO_SOURCE_DIR "/README.md");
    std::vector<KeyRow> rows;
    size_t i = 0;
    while (i < lines.size() && lines[i] != "| Action | Mouse | Keyboard |") {
        ++i;
    }
    for (i += 2; i < lines.size() && lines[i].starts_with("| "); ++i) {
        rows.push_back({lines[i].substr(2, lines[i].find(" |") - 2), lines[i]});
    }
    return rows;
}

// README.txt: the "Keys and mouse" section up to its first empty line; a row
// is a line indented by two spaces, named by the words before the next two,
// with the lines indented further below it.
std::vector<KeyRow> package_key_rows() {
    const std::vector<std::string> lines = lines_of(TAVISKO_SOURCE_DIR "/package/README.txt");
    std::vector<KeyRow> rows;
    size_t i = 0;
    while (i < lines.size() && lines[i] != "Keys and mouse") {
        ++i;
    }
    for (i += 2; i < lines.size() && !lines[i].empty(); ++i) {
        if (lines[i].starts_with("   ") && !rows.empty()) {
            rows.back().text += " " + lines[i];
        } else if (lines[i].starts_with("  ")) {
            rows.push_back({lines[i].substr(2, lines[i].find("  ", 2) - 2), lines[i]});
        }
    }
    return rows;
}

// Whether the key is written in the text as a whole: "Ctrl+S" is not in
// "Ctrl+Shift+R", nor "Ctrl+R" in "Ctrl+R2".
bool names_key(const std::string& text, const std::string& key) {
    const auto joins = [](char c) {
        return c == '+' || (c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') ||
               (c >= 'a' && c <= 'z');
    };
    for (size_t at = text.find(key); at != std::string::npos; at = text.find(key, at + 1)) {
        const size_t end = at + key.size();
        if ((at == 0 || !joins(text[at - 1])) && (end == text.size() || !joins(text[end]))) {
            return true;
        }
    }
    return false;
}

// Where each command with a key is written for users: its row in README.md's
// key table and in README.txt's "Keys and mouse", by the start of its name.
struct KeyPlace {
    int command;
    const char* readme;
    const char* package;
};
constexpr KeyPlace key_places[] = {
    {103, "zoom in", "Zoom in"},
    {102, "zoom out", "Zoom out"},
    {104, "back to the whole picture", "Whole picture again"},
    {105, "always on top", "Always on top"},
    {107, "mirror the picture", "Mirror"},
    {108, "copy the picture", "Copy the picture"},
    {114, "save the picture", "Save the picture"},
    {109, "compact view", "Compact view"},
    {110, "full screen", "Full screen"},
    {111, "turn the picture a quarter clockwise", "Turn clockwise"},
    {112, "turn the picture a quarter anticlockwise", "Turn anticlockwise"},
    {113, "freeze the picture", "Freeze"},
};

const KeyPlace* key_place(int command) {
    for (const KeyPlace& place : key_places) {
        if (place.command == command) {
            return &place;
        }
    }
    return nullptr;
}

// Every command's key on its own row and on no other.
void expect_keys_on_their_rows(const char* document, const std::vector<KeyRow>& rows,
                               const char* KeyPlace::*row_name) {
    ASSERT_FALSE(rows.empty()) << document << ": no key table";
    for (const Command& command : command_table()) {
        wchar_t key[32];
        if (!key_text(command.keys[0], key, std::size(key))) {
            continue; // no key
        }
        char key_utf8[64];
        to_utf8(key, key_utf8, int(std::size(key_utf8)));
        const KeyPlace* place = key_place(command.id);
        ASSERT_NE(place, nullptr) << command.id << " " << key_utf8 << " has no row to check";
        int own_rows = 0;
        for (const KeyRow& row : rows) {
            const bool own = row.name.starts_with(place->*row_name);
            own_rows += own ? 1 : 0;
            EXPECT_EQ(names_key(row.text, key_utf8), own)
                << document << ": " << key_utf8 << " (" << command.id << ") "
                << (own ? "missing from" : "written on") << " the row \"" << row.name << "\"";
        }
        EXPECT_EQ(own_rows, 1) << document << ": rows named \"" << place->*row_name << "\"";
    }
}

TEST(Commands, BothReadmesWriteEveryKeyOnItsCommandsRowAndNoOther) {
    expect_keys_on_their_rows("README.md", readme_key_rows(), &KeyPlace::readme);
    expect_keys_on_their_rows("package/README.txt", package_key_rows(), &KeyPlace::package);
}

} // namespace
