#pragma once
// Every command of the main window, one row each: its id, its name, its
// keys, its toolbar tip, what runs it and how the menu reads its state. The
// accelerator table, the menu's rows, the toolbar's tips and WM_COMMAND are
// all made from the rows, so a new command is a row and its handler.
// User-interface thread only.

#include <windows.h>

#include <span>

#include "app/command_keys.h"

inline constexpr int command_keys_max = 3;

struct Command {
    int id;                            // IDC_*: its WM_COMMAND, menu item and control id
    const wchar_t* name;               // in the menu, or on its button when it has no menu row
    const wchar_t* tip;                // its toolbar button's tip before the key; null without one
    CommandKey keys[command_keys_max]; // the first is the one the texts name; unused: code 0
    void (*run)();
    bool (*checked)(); // null: never shown checked
    bool (*enabled)(); // null: always there to choose
    // A held key runs it again on every auto-repeat. Only the zoom steps do:
    // a held toggle would flicker on and off, a held Ctrl+S would save a
    // picture a repeat.
    bool repeats = false;
};

// The rows in the order of the accelerator table.
std::span<const Command> command_table();
// The row of a command id, or null.
const Command* find_command(int id);
// WM_COMMAND: runs the command's handler; false when the id is no command.
bool run_command(int id);

// The message loop's keys: a command's key-down goes to its command, except
// an auto-repeat of a key whose command does not repeat, which is dropped.
// True when the message was used up either way.
bool translate_command_key(MSG* message);

// The keys of every row, in the table's order; the caller destroys it.
HACCEL create_accelerators();
