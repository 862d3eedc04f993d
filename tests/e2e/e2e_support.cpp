#include "e2e_support.h"

#include <algorithm>

#include "view/paint_geometry.h"

std::wstring executable_folder() {
    wchar_t path[MAX_PATH];
    const DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, n);
    return folder.substr(0, folder.find_last_of(L'\\'));
}

namespace {

// Starts tavisko-demo.exe with this process's environment, APPDATA replaced.
bool launch(const std::wstring& appdata, int show_command, PROCESS_INFORMATION& process) {
    const ScopedEnvironment environment(L"APPDATA", appdata.c_str());
    std::wstring command = L"\"" + executable_folder() + L"\\tavisko-demo.exe\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(show_command);
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process) != 0;
}

// A top-down 32-bit DIB section selected into a memory DC.
struct MemoryBitmap {
    int width;
    int height;
    HDC dc = CreateCompatibleDC(nullptr);
    uint32_t* bits = nullptr;
    HBITMAP bitmap;
    HGDIOBJ previous;
    MemoryBitmap(int w, int h) : width(w), height(h) {
        BITMAPINFO info{};
        info.bmiHeader = {sizeof info.bmiHeader, width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, reinterpret_cast<void**>(&bits),
                                  nullptr, 0);
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
        Pixels out{width, height, std::vector<uint32_t>(bits, bits + size_t(width) * height)};
        for (uint32_t& p : out.data) {
            p &= 0x00FFFFFF;
        }
        return out;
    }
};

// The status text as the window draws it: the same font, colour and place.
Pixels render_status_text(int width, int height, UINT dpi, const std::wstring& text) {
    MemoryBitmap bitmap(width, height);
    HFONT font = CreateFontW(font_height(10, dpi), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                             DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                             CLEARTYPE_QUALITY, DEFAULT_PITCH | FF_DONTCARE, L"Segoe UI");
    HGDIOBJ previous = SelectObject(bitmap.dc, font);
    SetBkMode(bitmap.dc, TRANSPARENT);
    SetTextColor(bitmap.dc, 0x00CDC8C8);
    const double scale = dpi / 96.0;
    const PixelRect area{0, 0, width, height};
    const PixelRect bounds = status_text_bounds(area, scale);
    RECT r{bounds.left, bounds.top, bounds.right, bounds.bottom};
    const UINT format = DT_CENTER | DT_WORDBREAK | DT_NOPREFIX;
    DrawTextW(bitmap.dc, text.c_str(), -1, &r, format | DT_CALCRECT);
    const PixelRect place = status_text_place(bounds, area, scale, r.bottom - r.top);
    r = {place.left, place.top, place.right, place.bottom};
    DrawTextW(bitmap.dc, text.c_str(), -1, &r, format);
    SelectObject(bitmap.dc, previous);
    DeleteObject(font);
    return bitmap.pixels();
}

DWORD wait_for_exit(HANDLE process) {
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process, 10000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process, &code);
    }
    return code;
}

} // namespace

void DemoRun::reset() {
    if (process.hProcess != nullptr) {
        TerminateProcess(process.hProcess, 99); // fails harmlessly once it has ended
        WaitForSingleObject(process.hProcess, 5000);
        CloseHandle(process.hThread);
        CloseHandle(process.hProcess);
    }
    process = PROCESS_INFORMATION{};
    window = nullptr;
}

bool DemoRun::start(const std::wstring& appdata, int show_command) {
    if (launch(appdata, show_command, process)) {
        wait_until(
            [&] {
                window = FindWindowW(L"TaviskoWnd", nullptr);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                window = owner == process.dwProcessId && IsWindowVisible(window) ? window : nullptr;
                return window != nullptr;
            },
            10000);
    }
    return window != nullptr;
}

DWORD DemoRun::run_to_exit(const std::wstring& appdata, int show_command) {
    DemoRun other;
    return launch(appdata, show_command, other.process) ? wait_for_exit(other.process.hProcess)
                                                        : DWORD(-1);
}

DWORD DemoRun::close() {
    PostMessageW(window, WM_CLOSE, 0, 0);
    return wait_for_exit(process.hProcess);
}

bool wait_until(const std::function<bool()>& done, DWORD timeout_ms) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!done()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        pump_until(nullptr, 50);
    }
    return true;
}

std::wstring window_text(HWND window) {
    wchar_t text[512] = L"";
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

RECT window_rect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
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
    const long upper_half = long(screen.width) * (screen.height / 2);
    return std::equal(screen.data.begin(), screen.data.begin() + upper_half, expected.data.begin());
}

bool shows_picture(HWND window, UINT dpi) {
    const Pixels screen = capture_screen(video_area_on_screen(window, dpi));
    const auto coloured = std::count_if(screen.data.begin(), screen.data.end(),
                                        [](uint32_t p) { return p != 0 && p != 0xC8C8CD; });
    return screen.width > 0 && size_t(coloured) > screen.data.size() / 2;
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
    return read_file_bytes(settings_folder(appdata) + L"\\settings.txt", bytes) ? bytes
                                                                                : "<missing>";
}

void press_keys(std::initializer_list<WORD> keys) {
    std::vector<INPUT> inputs(keys.size() * 2);
    size_t i = 0;
    for (WORD key : keys) {
        inputs[i].type = inputs[inputs.size() - 1 - i].type = INPUT_KEYBOARD;
        inputs[i].ki.wVk = inputs[inputs.size() - 1 - i].ki.wVk = key;
        inputs[inputs.size() - 1 - i].ki.dwFlags = KEYEVENTF_KEYUP; // released in reverse
        ++i;
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

void send_mouse(DWORD flags, int x, int y, int data) {
    // Absolute coordinates run 0..65535 over the screen; aim at pixel centres.
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = LONG((y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.mouseData = DWORD(data);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

void click_at(int x, int y) {
    send_mouse(MOUSEEVENTF_LEFTDOWN, x, y);
    send_mouse(MOUSEEVENTF_LEFTUP, x, y);
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
