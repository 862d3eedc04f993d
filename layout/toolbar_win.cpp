#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <initializer_list>
#include <utility>

#include "app/main_window.h"
#include "base/command_ids.h"
#include "base/geometry_win.h"

#include <iterator>

#include "app/commands_win.h"
#include "base/owned_win.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"

namespace {

HFONT make_font(const wchar_t* face, int points, UINT dpi) {
    return CreateFontW(font_height(points, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

HWND make_child(const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    return CreateWindowExW(
        0, cls, text, style, 0, 0, 10, 10, main_window.toolbar.parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(main_window.toolbar.parent, GWLP_HINSTANCE)),
        nullptr);
}

// The tip of a command's button, with its key; the tooltip keeps a copy.
void add_tool(const Command& command) {
    wchar_t text[80];
    tool_tip_text(command.tip, command.keys[0], text, std::size(text));
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = main_window.toolbar.parent;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(main_window.toolbar.parent, command.id));
    info.lpszText = text;
    SendMessageW(main_window.toolbar.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
}

void place(HWND control, const ControlPlace& at) {
    MoveWindow(control, at.x, at.y, at.width, at.height, TRUE);
}

void set_font(HWND control, HFONT font) {
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
}

// Whether the font the system made is the face asked for, not a stand-in.
bool font_is(HFONT font, const wchar_t* face) {
    HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    wchar_t made[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, made);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return lstrcmpiW(made, face) == 0;
}

// Without the symbol font the buttons would show empty boxes: plain text
// of the same size stands in.
void choose_glyphs(UINT dpi) {
    if (font_is(main_window.toolbar.glyph_font.get(), L"Segoe MDL2 Assets")) {
        main_window.toolbar.glyphs = &symbol_glyphs;
        return;
    }
    main_window.toolbar.glyph_font.reset(make_font(L"Segoe UI", 10, dpi));
    main_window.toolbar.glyphs = &text_glyphs;
}

// New fonts are made and handed to the controls before the old ones are
// deleted, so no control ever draws with a deleted font.
void rebuild_fonts(UINT dpi) {
    const OwnedFont old_text = std::move(main_window.toolbar.text_font);
    const OwnedFont old_glyph = std::move(main_window.toolbar.glyph_font);
    main_window.toolbar.text_font.reset(make_font(L"Segoe UI", 9, dpi));
    main_window.toolbar.glyph_font.reset(make_font(L"Segoe MDL2 Assets", 10, dpi));
    choose_glyphs(dpi);
    main_window.toolbar.font_dpi = dpi;
    SetWindowTextW(main_window.toolbar.zoom_out, main_window.toolbar.glyphs->zoom_out);
    SetWindowTextW(main_window.toolbar.zoom_in, main_window.toolbar.glyphs->zoom_in);
    SetWindowTextW(main_window.toolbar.reset, main_window.toolbar.glyphs->reset);
    toolbar_update_pin(SendMessageW(main_window.toolbar.pin, BM_GETCHECK, 0, 0) == BST_CHECKED);
    for (HWND control : {main_window.toolbar.combo, main_window.toolbar.zoom_label,
                         main_window.toolbar.open_privacy}) {
        set_font(control, main_window.toolbar.text_font.get());
    }
    for (HWND control : {main_window.toolbar.zoom_out, main_window.toolbar.zoom_in,
                         main_window.toolbar.reset, main_window.toolbar.pin}) {
        set_font(control, main_window.toolbar.glyph_font.get());
    }
}

} // namespace

void toolbar_create(HWND parent) {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    main_window.toolbar.parent = parent;
    const DWORD button = WS_CHILD | WS_VISIBLE;
    main_window.toolbar.combo =
        make_child(L"ComboBox", L"",
                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, IDC_CAMERA);
    main_window.toolbar.glyphs = &symbol_glyphs;
    main_window.toolbar.zoom_out =
        make_child(L"Button", symbol_glyphs.zoom_out, button, IDC_ZOOM_OUT);
    main_window.toolbar.zoom_label =
        make_child(L"Static", L"100%", WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE | SS_CENTER, 0);
    main_window.toolbar.zoom_in = make_child(L"Button", symbol_glyphs.zoom_in, button, IDC_ZOOM_IN);
    main_window.toolbar.reset = make_child(L"Button", symbol_glyphs.reset, button, IDC_ZOOM_RESET);
    main_window.toolbar.pin =
        make_child(L"Button", symbol_glyphs.pinned,
                   WS_CHILD | WS_VISIBLE | BS_PUSHLIKE | BS_CHECKBOX, IDC_ON_TOP);
    main_window.toolbar.open_privacy =
        make_child(L"Button", find_command(IDC_OPEN_PRIVACY)->name, WS_CHILD, IDC_OPEN_PRIVACY);
    main_window.toolbar.tooltip = CreateWindowExW(
        WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_NOPREFIX | TTS_ALWAYSTIP,
        CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, parent, nullptr,
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(parent, GWLP_HINSTANCE)), nullptr);
    for (const Command& command : command_table()) {
        if (command.tip != nullptr) {
            add_tool(command);
        }
    }
}

void toolbar_layout(HWND parent, UINT dpi) {
    if (!main_window.toolbar.text_font || dpi != main_window.toolbar.font_dpi) {
        rebuild_fonts(dpi);
    }
    RECT client;
    GetClientRect(parent, &client);
    // The combo box's closed height depends on its font: size it once, read
    // the height back, then centre it by that height.
    ToolbarPlaces places = toolbar_places(dpi, client.right, 0);
    MoveWindow(main_window.toolbar.combo, places.combo.x, 0, places.combo.width,
               places.combo.height, FALSE);
    RECT field;
    GetWindowRect(main_window.toolbar.combo, &field);
    places = toolbar_places(dpi, client.right, field.bottom - field.top);
    place(main_window.toolbar.combo, places.combo);
    place(main_window.toolbar.zoom_out, places.zoom_out);
    place(main_window.toolbar.zoom_label, places.zoom_label);
    place(main_window.toolbar.zoom_in, places.zoom_in);
    place(main_window.toolbar.reset, places.reset);
    place(main_window.toolbar.pin, places.pin);
}

void toolbar_show(bool show) {
    for (HWND control :
         {main_window.toolbar.combo, main_window.toolbar.zoom_out, main_window.toolbar.zoom_label,
          main_window.toolbar.zoom_in, main_window.toolbar.reset, main_window.toolbar.pin}) {
        ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
    }
    // Keys go to the window itself once the control that had them is hidden.
    if (!show && GetParent(GetFocus()) == main_window.toolbar.parent) {
        SetFocus(main_window.toolbar.parent);
    }
}

void toolbar_update_zoom_label(int percent) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%d%%", percent);
    text[15] = L'\0';
    SetWindowTextW(main_window.toolbar.zoom_label, text);
}

void toolbar_update_pin(int on_top) {
    SendMessageW(main_window.toolbar.pin, BM_SETCHECK, on_top ? BST_CHECKED : BST_UNCHECKED, 0);
    SetWindowTextW(main_window.toolbar.pin,
                   on_top ? main_window.toolbar.glyphs->pinned : main_window.toolbar.glyphs->pin);
}

void toolbar_place_settings_button(bool show, const RECT& area, UINT dpi) {
    const ControlPlace at = settings_button_place(pixel_rect(area), dpi);
    MoveWindow(main_window.toolbar.open_privacy, at.x, at.y, at.width, at.height, FALSE);
    ShowWindow(main_window.toolbar.open_privacy, show ? SW_SHOW : SW_HIDE);
}

void status_font_create() {
    main_window.toolbar.status_font.reset(make_font(L"Segoe UI", 10, main_window.dpi));
}
