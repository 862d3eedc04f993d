#pragma once
// Painting of the main window: the toolbar strip and the video area, which
// shows the newest frame (cropped by the view, letter-boxed) or a status text.
// User-interface thread only; no back buffer.

#include <windows.h>

#include "view/picture_turn.h"
#include "view/view_model.h"

// The light grey of the texts over the video area.
inline constexpr COLORREF status_text_colour = 0x00CDC8C8; // red 200, green 200, blue 205

// A font selected into a device context for a scope.
struct SelectedFont {
    HDC dc;
    HGDIOBJ previous;
    SelectedFont(HDC d, HFONT font) : dc(d), previous(SelectObject(d, font)) {}
    ~SelectedFont() { SelectObject(dc, previous); }
    SelectedFont(const SelectedFont&) = delete;
    SelectedFont& operator=(const SelectedFont&) = delete;
};

// The DC's state for a scope: its clip and the objects selected into it
// come back when the scope ends, before the objects made in it go.
struct SavedDc {
    HDC dc;
    int saved;
    explicit SavedDc(HDC d) : dc(d), saved(SaveDC(d)) {}
    ~SavedDc() { RestoreDC(dc, saved); }
    SavedDc(const SavedDc&) = delete;
    SavedDc& operator=(const SavedDc&) = delete;
};

// WM_PAINT: paints every pixel of the client area, then lets the worker post
// its next frame message.
void paint_main_window(HWND window);

// The picture turned and mirrored by `turn`; the frozen one while frozen,
// with its pause sign.
void paint_video(HDC dc, const RECT& area, const ViewState& view, const PictureTurn& turn,
                 const wchar_t* text, HFONT font, double scale);

// WM_CTLCOLORSTATIC: the zoom label sits on the toolbar colour.
LRESULT on_ctl_color_static(HDC dc);
