#pragma once
// A command's keys and the texts that name them: "Ctrl+Shift+R", the menu's
// "Zoom in\tCtrl++" and the toolbar tip's "Zoom in (Ctrl++)". Platform-free:
// the modifier bits and key codes are Windows' own numbers (an accelerator's
// fVirt bits and virtual-key codes), which the window side hands to its
// accelerator table unchanged.

#include <cstddef>
#include <cstdint>

inline constexpr uint8_t key_shift = 0x04; // FSHIFT
inline constexpr uint8_t key_ctrl = 0x08;  // FCONTROL
inline constexpr uint8_t key_alt = 0x10;   // FALT

// Virtual-key codes of the keys with no letter or digit of their own; a
// letter's code is its capital, a digit's its character.
inline constexpr uint16_t vk_space = 0x20;
inline constexpr uint16_t vk_numpad0 = 0x60; // to 0x69, numpad 9
inline constexpr uint16_t vk_add = 0x6B;     // the numpad's plus
inline constexpr uint16_t vk_subtract = 0x6D;
inline constexpr uint16_t vk_f1 = 0x70; // to 0x87, F24
inline constexpr uint16_t vk_oem_plus = 0xBB;
inline constexpr uint16_t vk_oem_minus = 0xBD;

// F1 to F24.
inline constexpr uint16_t function_key(int number) {
    return uint16_t(vk_f1 + number - 1);
}

struct CommandKey {
    uint8_t modifiers; // key_ctrl, key_alt, key_shift
    uint16_t code;     // virtual-key code; 0 for no key
};

// The key as menus write it: the modifiers in Windows' order (Ctrl, Alt,
// Shift), then the key, joined by "+": "Ctrl+Shift+R", "Ctrl++", "F11". The
// minus key is U+2212, as wide as the plus. False, with an empty text, for no
// key or one that has no name here; false too when the text was cut short.
bool key_text(CommandKey key, wchar_t* out, size_t capacity);
// A menu row: the name, then a tab and the key; the name alone without a key.
bool menu_item_text(const wchar_t* name, CommandKey key, wchar_t* out, size_t capacity);
// A button's tip: the name, then the key in brackets; the name alone without
// a key.
bool tool_tip_text(const wchar_t* name, CommandKey key, wchar_t* out, size_t capacity);
