#pragma once
// The toolbar strip's controls, their fonts and tooltips, the hidden "Open
// Camera Settings" button and the status font. User-interface thread only.

#include <windows.h>

#include "base/owned_win.h"
#include "layout/toolbar_layout.h"

struct Toolbar {
    HWND parent;
    HWND combo;
    HWND zoom_out;
    HWND zoom_label;
    HWND zoom_in;
    HWND reset;
    HWND pin;
    HWND open_privacy;
    HWND tooltip;
    OwnedFont text_font;         // "Segoe UI" 9 pt
    OwnedFont glyph_font;        // "Segoe MDL2 Assets" 10 pt, or "Segoe UI" where it is missing
    const ToolbarGlyphs* glyphs; // what the glyph buttons show with that font
    UINT font_dpi;               // the DPI both fonts were made for
    OwnedFont status_font;       // "Segoe UI" 10 pt, for the status texts
};

void toolbar_create(HWND parent);
void toolbar_layout(HWND parent, UINT dpi);
// Shows or hides the strip's controls (not the settings button, which
// follows the status).
void toolbar_show(bool show);
void toolbar_update_zoom_label(int percent);
void toolbar_update_pin(int on_top);
void toolbar_place_settings_button(bool show, const RECT& video_area, UINT dpi);

// Builds the status font for the current DPI, then deletes the previous one.
void status_font_create();
