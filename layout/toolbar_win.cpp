#include <windows.h>

#include <commctrl.h>

#include <cwchar>
#include <initializer_list>
#include <iterator>

#include "app/app_state.h"
#include "app/command_ids.h"
#include "app/commands_win.h"
#include "app/support_win.h"
#include "layout/toolbar.h"
#include "layout/toolbar_layout.h"

Toolbar toolbar;

namespace {

HFONT make_font(const wchar_t* face, int points, UINT dpi) {
    return CreateFontW(font_height(points, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, CLEARTYPE_QUALITY,
                       DEFAULT_PITCH | FF_DONTCARE, face);
}

HWND make_child(const wchar_t* cls, const wchar_t* text, DWORD style, int id) {
    return CreateWindowExW(
        0, cls, text, style, 0, 0, 10, 10, toolbar.parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
        reinterpret_cast<HINSTANCE>(GetWindowLongPtrW(toolbar.parent, GWLP_HINSTANCE)), nullptr);
}

// The tip of a command's button, with its key; the tooltip keeps a copy.
void add_tool(const Command& command) {
    wchar_t text[80];
    tool_tip_text(command.tip, command.keys[0], text, std::size(text));
    TTTOOLINFOW info{};
    info.cbSize = sizeof info;
    info.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    info.hwnd = toolbar.parent;
    info.uId = reinterpret_cast<UINT_PTR>(GetDlgItem(toolbar.parent, command.id));
    info.lpszText = text;
    SendMessageW(toolbar.tooltip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&info));
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
    if (font_is(toolbar.glyph_font, L"Segoe MDL2 Assets")) {
        toolbar.glyphs = &symbol_glyphs;
        return;
    }
    DeleteObject(toolbar.glyph_font);
    toolbar.glyph_font = make_font(L"Segoe UI", 10, dpi);
    toolbar.glyphs = &text_glyphs;
}

// New fonts are made and handed to the controls before the old ones are
// deleted, so no control ever draws with a deleted font.
void rebuild_fonts(UINT dpi) {
    HFONT old_text = toolbar.text_font;
    HFONT old_glyph = toolbar.glyph_font;
    toolbar.text_font = make_font(L"Segoe UI", 9, dpi);
    toolbar.glyph_font = make_font(L"Segoe MDL2 Assets", 10, dpi);
    choose_glyphs(dpi);
    toolbar.font_dpi = dpi;
    SetWindowTextW(toolbar.zoom_out, toolbar.glyphs->zoom_out);
    SetWindowTextW(toolbar.zoom_in, toolbar.glyphs->zoom_in);
    SetWindowTextW(toolbar.reset, toolbar.glyphs->reset);
    toolbar_update_pin(SendMessageW(toolbar.pin, BM_GETCHECK, 0, 0) == BST_CHECKED);
    for (HWND control : {toolbar.combo, toolbar.zoom_label, toolbar.open_privacy}) {
        set_font(control, toolbar.text_font);
    }
    for (HWND control : {toolbar.zoom_out, toolbar.zoom_in, toolbar.reset, toolbar.pin}) {
        set_font(control, toolbar.glyph_font);
    }
    if (old_text != nullptr) {
        DeleteObject(old_text);
    }
    if (old_glyph != nullptr) {
        DeleteObject(old_glyph);
    }
}

} // namespace

void toolbar_create(HWND parent) {
    INITCOMMONCONTROLSEX init{sizeof(INITCOMMONCONTROLSEX), ICC_STANDARD_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&init);
    toolbar.parent = parent;
    const DWORD button = WS_CHILD | WS_VISIBLE;
    toolbar.combo =
        make_child(L"ComboBox", L"",
                   WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_TABSTOP | CBS_DROPDOWNLIST, IDC_CAMERA);
    toolbar.glyphs = &symbol_glyphs;
    toolbar.zoom_out = make_child(L"Button", symbol_glyphs.zoom_out, button, IDC_ZOOM_OUT);
    toolbar.zoom_label =
        make_child(L"Static", L"100%", WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE | SS_CENTER, 0);
    toolbar.zoom_in = make_child(L"Button", symbol_glyphs.zoom_in, button, IDC_ZOOM_IN);
    toolbar.reset = make_child(L"Button", symbol_glyphs.reset, button, IDC_ZOOM_RESET);
    toolbar.pin = make_child(L"Button", symbol_glyphs.pinned,
                             WS_CHILD | WS_VISIBLE | BS_PUSHLIKE | BS_CHECKBOX, IDC_ON_TOP);
    toolbar.open_privacy =
        make_child(L"Button", find_command(IDC_OPEN_PRIVACY)->name, WS_CHILD, IDC_OPEN_PRIVACY);
    toolbar.tooltip = CreateWindowExW(
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
    if (toolbar.text_font == nullptr || dpi != toolbar.font_dpi) {
        rebuild_fonts(dpi);
    }
    RECT client;
    GetClientRect(parent, &client);
    // The combo box's closed height depends on its font: size it once, read
    // the height back, then centre it by that height.
    ToolbarPlaces places = toolbar_places(dpi, client.right, 0);
    MoveWindow(toolbar.combo, places.combo.x, 0, places.combo.width, places.combo.height, FALSE);
    RECT field;
    GetWindowRect(toolbar.combo, &field);
    places = toolbar_places(dpi, client.right, field.bottom - field.top);
    place(toolbar.combo, places.combo);
    place(toolbar.zoom_out, places.zoom_out);
    place(toolbar.zoom_label, places.zoom_label);
    place(toolbar.zoom_in, places.zoom_in);
    place(toolbar.reset, places.reset);
    place(toolbar.pin, places.pin);
}

void toolbar_show(bool show) {
    for (HWND control : {toolbar.combo, toolbar.zoom_out, toolbar.zoom_label, toolbar.zoom_in,
                         toolbar.reset, toolbar.pin}) {
        ShowWindow(control, show ? SW_SHOWNA : SW_HIDE);
    }
    // Keys go to the window itself once the control that had them is hidden.
    if (!show && GetParent(GetFocus()) == toolbar.parent) {
        SetFocus(toolbar.parent);
    }
}

void toolbar_update_zoom_label(int percent) {
    wchar_t text[16];
    std::swprintf(text, 16, L"%d%%", percent);
    text[15] = L'\0';
    SetWindowTextW(toolbar.zoom_label, text);
}

void toolbar_update_pin(int on_top) {
    SendMessageW(toolbar.pin, BM_SETCHECK, on_top ? BST_CHECKED : BST_UNCHECKED, 0);
    SetWindowTextW(toolbar.pin, on_top ? toolbar.glyphs->pinned : toolbar.glyphs->pin);
}

void toolbar_place_settings_button(bool show, const RECT& area, UINT dpi) {
    const ControlPlace at = settings_button_place(pixel_rect(area), dpi);
    MoveWindow(toolbar.open_privacy, at.x, at.y, at.width, at.height, FALSE);
    ShowWindow(toolbar.open_privacy, show ? SW_SHOW : SW_HIDE);
}

void status_font_create() {
    HFONT old = toolbar.status_font;
    toolbar.status_font = make_font(L"Segoe UI", 10, current_dpi);
    if (old != nullptr) {
        DeleteObject(old);
    }
}

void status_font_delete() {
    if (toolbar.status_font != nullptr) {
        DeleteObject(toolbar.status_font);
        toolbar.status_font = nullptr;
    }
}

void toolbar_fonts_delete() {
    for (HFONT* font : {&toolbar.text_font, &toolbar.glyph_font}) {
        if (*font != nullptr) {
            DeleteObject(*font);
            *font = nullptr;
        }
    }
    toolbar.font_dpi = 0;
}
