#pragma once
// Where the toolbar's controls go, for a DPI and a client width. Every size is
// designed at 96 DPI and scaled like MulDiv(units, dpi, 96). Platform-free.

#include <cstdint>

#include "base/geometry.h"

inline int32_t toolbar_height(uint32_t dpi) {
    return scale_units(36, dpi);
}

// What the four glyph buttons show: symbols of "Segoe MDL2 Assets", which
// Windows 10 and 11 ship, or plain-text stand-ins where that font is missing.
struct ToolbarGlyphs {
    const wchar_t* zoom_out;
    const wchar_t* zoom_in;
    const wchar_t* reset;
    const wchar_t* pinned;
    const wchar_t* pin;
};
inline constexpr ToolbarGlyphs symbol_glyphs{L"\uE738", L"\uE710", L"\uE72C", L"\uE840", L"\uE718"};
inline constexpr ToolbarGlyphs text_glyphs{L"\u2212", L"+", L"1:1", L"\u25CF", L"\u25CB"};

struct ControlPlace {
    int32_t x;
    int32_t y;
    int32_t width;
    int32_t height;
};

struct ToolbarPlaces {
    ControlPlace combo; // height is the 300-unit height including the list
    ControlPlace zoom_out;
    ControlPlace zoom_label;
    ControlPlace zoom_in;
    ControlPlace reset;
    ControlPlace pin;
};

// `combo_field_height` is the height of the combo box's closed selection
// field, which only the window system knows; it centres the combo box.
ToolbarPlaces toolbar_places(uint32_t dpi, int32_t client_width, int32_t combo_field_height);

// The "Open Camera Settings" button: centred horizontally in the video area,
// its top edge 8 units below the area's vertical centre.
ControlPlace settings_button_place(const PixelRect& video_area, uint32_t dpi);

// The client rectangle below the toolbar strip (never above its own top); the
// whole client when the toolbar is not shown (the compact view, full screen).
PixelRect video_area_of(const PixelRect& client, uint32_t dpi, bool toolbar_shown = true);
