#include "e2e_support.h"

#include <algorithm>
#include <cstdio>
#include <initializer_list>
#include <memory>

#include "layout/toolbar_layout.h"
#include "view/paint_geometry.h"

std::wstring executable_folder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

namespace {

// The current environment with APPDATA replaced.
std::vector<wchar_t> environment_with_appdata(const std::wstring& appdata) {
    std::vector<wchar_t> block;
    wchar_t* strings = GetEnvironmentStringsW();
    for (const wchar_t* p = strings; *p != L'\0'; p += wcslen(p) + 1) {
        if (_wcsnicmp(p, L"APPDATA=", 8) != 0) {
            block.insert(block.end(), p, p + wcslen(p) + 1);
        }
    }
    FreeEnvironmentStringsW(strings);
    const std::wstring entry = L"APPDATA=" + appdata;
    block.insert(block.end(), entry.begin(), entry.end());
    block.push_back(L'\0');
    block.push_back(L'\0');
    return block;
}

bool launch(const std::wstring& appdata, int show_command, PROCESS_INFORMATION& process) {
    std::wstring command = L"\"" + executable_folder() + L"\\tavisko-demo.exe\"";
    std::vector<wchar_t> environment = environment_with_appdata(appdata);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(show_command);
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE,
                          CREATE_UNICODE_ENVIRONMENT, environment.data(), nullptr, &startup,
                          &process) != 0;
}

struct FindState {
    DWORD process_id;
    HWND found;
};

BOOL CALLBACK find_main_window(HWND window, LPARAM lparam) {
    auto* state = reinterpret_cast<FindState*>(lparam);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == state->process_id && class_name(window) == L"TaviskoWnd" &&
        IsWindowVisible(window)) {
        state->found = window;
        return FALSE;
    }
    return TRUE;
}

struct MemoryBitmap {
    int width;
    int height;
    HDC dc = nullptr;
    HBITMAP bitmap = nullptr;
    HGDIOBJ previous = nullptr;
    uint32_t* bits = nullptr;
    MemoryBitmap(int w, int h) : width(w), height(h) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height;
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        HDC screen = GetDC(nullptr);
        dc = CreateCompatibleDC(screen);
        ReleaseDC(nullptr, screen);
        void* raw = nullptr;
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &raw, nullptr, 0);
        bits = static_cast<uint32_t*>(raw);
        previous = SelectObject(dc, bitmap);
    }
    ~MemoryBitmap() {
        SelectObject(dc, previous);
        DeleteObject(bitmap);
        DeleteDC(dc);
    }
    MemoryBitmap(const MemoryBitmap&) = delete;
    MemoryBitmap& operator=(const MemoryBitmap&) = delete;

    // The bits as drawn so far, without the unused top byte.
    Pixels pixels() const {
        GdiFlush();
        Pixels out;
        out.width = width;
        out.height = height;
        out.data.assign(bits, bits + size_t(width) * size_t(height));
        for (uint32_t& p : out.data) {
            p &= 0x00FFFFFF;
        }
        return out;
    }
};

Pixels render_status_text(int width, int height, UINT dpi, const std::wstring& text) {
    MemoryBitmap bitmap(width, height);
    RECT all{0, 0, width, height};
    FillRect(bitmap.dc, &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    HFONT font = CreateFontW(font_height(10, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
    HGDIOBJ previous = SelectObject(bitmap.dc, font);
    SetBkMode(bitmap.dc, TRANSPARENT);
    SetTextColor(bitmap.dc, 0x00CDC8C8);
    const double scale = dpi / 96.0;
    const PixelRect area{0, 0, width, height};
    const PixelRect bounds = status_text_bounds(area, scale);
    RECT measured{bounds.left, bounds.top, bounds.right, bounds.bottom};
    DrawTextW(bitmap.dc, text.c_str(), -1, &measured,
              DT_CENTER | DT_WORDBREAK | DT_NOPREFIX | DT_CALCRECT);
    const PixelRect place = status_text_place(bounds, area, scale, measured.bottom - measured.top);
    RECT r{place.left, place.top, place.right, place.bottom};
    DrawTextW(bitmap.dc, text.c_str(), -1, &r, DT_CENTER | DT_WORDBREAK | DT_NOPREFIX);
    SelectObject(bitmap.dc, previous);
    DeleteObject(font);
    return bitmap.pixels();
}

} // namespace

void DemoRun::reset() {
    if (process.hProcess != nullptr) {
        if (WaitForSingleObject(process.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(process.hProcess, 99);
            WaitForSingleObject(process.hProcess, 5000);
        }
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    process = PROCESS_INFORMATION{};
    window = nullptr;
}

bool DemoRun::start(const std::wstring& appdata, int show_command) {
    if (!launch(appdata, show_command, process)) {
        return false;
    }
    FindState state{process.dwProcessId, nullptr};
    wait_until(
        [&] {
            EnumWindows(find_main_window, reinterpret_cast<LPARAM>(&state));
            return state.found != nullptr;
        },
        10000);
    window = state.found;
    return window != nullptr;
}

DWORD DemoRun::run_to_exit(const std::wstring& appdata, int show_command) {
    PROCESS_INFORMATION other{};
    if (!launch(appdata, show_command, other)) {
        return DWORD(-1);
    }
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(other.hProcess, 10000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(other.hProcess, &code);
    } else {
        TerminateProcess(other.hProcess, 98);
    }
    CloseHandle(other.hThread);
    CloseHandle(other.hProcess);
    return code;
}

DWORD DemoRun::close() {
    PostMessageW(window, WM_CLOSE, 0, 0);
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process.hProcess, 10000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process.hProcess, &code);
    }
    return code;
}

bool wait_until(const std::function<bool()>& done, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        if (done()) {
            return true;
        }
        if (GetTickCount64() >= deadline) {
            return false;
        }
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            DispatchMessageW(&message);
        }
        Sleep(10);
    }
}

std::wstring window_text(HWND window) {
    wchar_t text[512] = L"";
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

std::wstring class_name(HWND window) {
    wchar_t name[128] = L"";
    GetClassNameW(window, name, 128);
    return name;
}

std::wstring combo_row_text(HWND combo, int row) {
    const LRESULT length = SendMessageW(combo, CB_GETLBTEXTLEN, WPARAM(row), 0);
    if (length == CB_ERR) {
        return L"<none>";
    }
    std::wstring text(size_t(length) + 1, L'\0');
    SendMessageW(combo, CB_GETLBTEXT, WPARAM(row), reinterpret_cast<LPARAM>(text.data()));
    text.resize(wcslen(text.c_str()));
    return text;
}

RECT window_rect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

RECT child_rect(HWND child) {
    RECT r;
    GetWindowRect(child, &r);
    MapWindowPoints(nullptr, GetParent(child), reinterpret_cast<POINT*>(&r), 2);
    return r;
}

RECT client_on_screen(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

Pixels capture_screen(const RECT& rect) {
    const int width = rect.right - rect.left;
    const int height = rect.bottom - rect.top;
    if (width <= 0 || height <= 0) {
        return {};
    }
    MemoryBitmap bitmap(width, height);
    HDC screen = GetDC(nullptr);
    BitBlt(bitmap.dc, 0, 0, width, height, screen, rect.left, rect.top, SRCCOPY);
    ReleaseDC(nullptr, screen);
    return bitmap.pixels();
}

RECT video_area_on_screen(HWND window, UINT dpi) {
    RECT r = client_on_screen(window);
    r.top = std::min(r.top + toolbar_height(dpi), r.bottom);
    return r;
}

bool shows_status_text(HWND window, UINT dpi, const std::wstring& text) {
    const Pixels screen = capture_screen(video_area_on_screen(window, dpi));
    if (screen.width == 0) {
        return false;
    }
    const Pixels expected = render_status_text(screen.width, screen.height, dpi, text);
    // The text ends above the middle of the area; the settings button, when
    // shown, starts below it.
    const size_t upper_half = size_t(screen.width) * size_t(screen.height / 2);
    return std::equal(screen.data.begin(), screen.data.begin() + long(upper_half),
                      expected.data.begin());
}

bool shows_picture(HWND window, UINT dpi) {
    const Pixels screen = capture_screen(video_area_on_screen(window, dpi));
    size_t coloured = 0;
    for (uint32_t p : screen.data) {
        coloured += p != 0 && p != 0xC8C8CD;
    }
    return screen.width > 0 && coloured > screen.data.size() / 2;
}

void save_screenshot(HWND window, const wchar_t* name) {
    const Pixels pixels = capture_screen(window_rect(window));
    const std::wstring folder = executable_folder() + L"\\screenshots";
    CreateDirectoryW(folder.c_str(), nullptr);
    // A top-down 32-bit BMP: the file header, the info header, the rows.
    BITMAPINFOHEADER info{};
    info.biSize = sizeof info;
    info.biWidth = pixels.width;
    info.biHeight = -pixels.height;
    info.biPlanes = 1;
    info.biBitCount = 32;
    const DWORD bytes = DWORD(pixels.data.size() * 4);
    BITMAPFILEHEADER file{};
    file.bfType = 0x4D42; // "BM"
    file.bfOffBits = sizeof file + sizeof info;
    file.bfSize = file.bfOffBits + bytes;
    std::string out(reinterpret_cast<const char*>(&file), sizeof file);
    out.append(reinterpret_cast<const char*>(&info), sizeof info);
    out.append(reinterpret_cast<const char*>(pixels.data.data()), bytes);
    write_file_bytes(folder + L"\\" + name + L".bmp", out);
}

std::wstring settings_folder(const std::wstring& appdata) {
    return appdata + L"\\Tavisko";
}

void write_camera_control(const std::wstring& appdata, const std::string& lines) {
    CreateDirectoryW(settings_folder(appdata).c_str(), nullptr);
    write_file_bytes(settings_folder(appdata) + L"\\demo-cameras.txt", lines);
}

std::string read_settings(const std::wstring& appdata) {
    std::string bytes;
    if (!read_file_bytes(settings_folder(appdata) + L"\\settings.txt", bytes)) {
        return "<missing>";
    }
    return bytes;
}

void press_keys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs;
    for (WORD key : keys) {
        INPUT down{};
        down.type = INPUT_KEYBOARD;
        down.ki.wVk = key;
        inputs.push_back(down);
    }
    for (auto it = keys.end(); it != keys.begin();) {
        --it;
        INPUT up{};
        up.type = INPUT_KEYBOARD;
        up.ki.wVk = *it;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
        inputs.push_back(up);
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

void click_command(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}

bool platform_restores_topmost_with_owned_popup() {
    // Wine 8 moves a window that owns a topmost tooltip back above the others
    // without setting WS_EX_TOPMOST on it again (measured with a two-window
    // probe); Windows sets it. Wine is recognised by its ntdll export.
    const HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
    return ntdll == nullptr || GetProcAddress(ntdll, "wine_get_version") == nullptr;
}

namespace {

void send_mouse(DWORD flags, int x, int y, int data = 0) {
    // Absolute coordinates run 0..65535 over the screen; aim at pixel centres.
    const int width = GetSystemMetrics(SM_CXSCREEN);
    const int height = GetSystemMetrics(SM_CYSCREEN);
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((x * 65536LL + 32768) / width);
    input.mi.dy = LONG((y * 65536LL + 32768) / height);
    input.mi.mouseData = DWORD(data);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

} // namespace

void mouse_move_to(int x, int y) {
    send_mouse(0, x, y);
}

void mouse_button(bool down) {
    POINT p;
    GetCursorPos(&p);
    send_mouse(down ? MOUSEEVENTF_LEFTDOWN : MOUSEEVENTF_LEFTUP, p.x, p.y);
}

void mouse_double_click_at(int x, int y) {
    mouse_move_to(x, y);
    for (int i = 0; i < 2; ++i) {
        send_mouse(MOUSEEVENTF_LEFTDOWN, x, y);
        send_mouse(MOUSEEVENTF_LEFTUP, x, y);
    }
}

void mouse_wheel_at(int x, int y, int delta) {
    mouse_move_to(x, y);
    send_mouse(MOUSEEVENTF_WHEEL, x, y, delta);
}

std::string settings_value(const std::string& text, const char* key) {
    const std::string prefix = std::string("\n") + key + "=";
    const size_t at = ("\n" + text).find(prefix);
    if (at == std::string::npos) {
        return "";
    }
    const size_t start = at + prefix.size() - 1;
    return text.substr(start, text.find('\n', start) - start);
}
