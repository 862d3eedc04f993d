#pragma once
// The end-to-end driver's tools: start tavisko-demo.exe in its own APPDATA,
// find its window, read its controls and its pixels from the screen as a user
// would see them, and give it keyboard and mouse input.

#include <windows.h>

#include <algorithm>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "../win/test_support.h"
#include "layout/toolbar_layout.h"

// The folder of the running test program; the demo sits beside it.
inline std::wstring executable_folder() {
    wchar_t path[MAX_PATH];
    const std::wstring folder(path, GetModuleFileNameW(nullptr, path, MAX_PATH));
    return folder.substr(0, folder.find_last_of(L'\\'));
}

// Checks `done` every 50 ms, dispatching messages in between. Not more
// often: a check may read the settings file, and under Wine the program's
// rename of its new file fails while another handle has it open (the program
// tries again for half a second, but need not be given the chance).
inline bool wait_until(const std::function<bool()>& done, DWORD timeout_ms = 5000) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!done()) {
        if (GetTickCount64() >= deadline) {
            return false;
        }
        pump_until(nullptr, 50);
    }
    return true;
}

// Starts the program (tavisko-demo.exe unless told) with this process's
// environment, APPDATA replaced.
inline bool launch_demo(const std::wstring& appdata, int show_command, PROCESS_INFORMATION& process,
                        const std::wstring& program = L"") {
    SetEnvironmentVariableW(L"APPDATA", appdata.c_str());
    std::wstring command =
        L"\"" + (program.empty() ? executable_folder() + L"\\tavisko-demo.exe" : program) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = WORD(show_command);
    return CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                          &startup, &process) != 0;
}

inline DWORD wait_for_exit(HANDLE process) {
    DWORD code = DWORD(-1);
    if (WaitForSingleObject(process, 10000) == WAIT_OBJECT_0) {
        GetExitCodeProcess(process, &code);
    }
    return code;
}

// A running demo process with its own settings folder.
struct DemoRun {
    PROCESS_INFORMATION process{};
    HWND window = nullptr;

    DemoRun() = default;
    DemoRun(const DemoRun&) = delete;
    DemoRun& operator=(const DemoRun&) = delete;
    ~DemoRun() { reset(); }

    // Ends the process if it still runs and forgets it.
    void reset() {
        if (process.hProcess != nullptr) {
            TerminateProcess(process.hProcess, 99); // fails harmlessly once it has ended
            WaitForSingleObject(process.hProcess, 5000);
            CloseHandle(process.hThread);
            CloseHandle(process.hProcess);
        }
        process = PROCESS_INFORMATION{};
        window = nullptr;
    }
    // Starts the demo (or `program`) with APPDATA set to `appdata`; returns
    // once its main window is visible (false if it never appeared).
    bool start(const std::wstring& appdata, int show_command = SW_SHOWNORMAL,
               const std::wstring& program = L"") {
        if (launch_demo(appdata, show_command, process, program)) {
            window = wait_for_window(L"TaviskoWnd");
        }
        return window != nullptr;
    }
    // A visible top-level window of this class that the process owns, once
    // there is one; null after 10 s.
    HWND wait_for_window(const wchar_t* class_name) const {
        HWND found = nullptr;
        wait_until(
            [&] {
                for (HWND w = FindWindowW(class_name, nullptr); w != nullptr && found == nullptr;
                     w = FindWindowExW(nullptr, w, class_name, nullptr)) {
                    DWORD owner = 0;
                    GetWindowThreadProcessId(w, &owner);
                    found = owner == process.dwProcessId && IsWindowVisible(w) ? w : nullptr;
                }
                return found != nullptr;
            },
            10000);
        return found;
    }
    // Closes the window as a user would and returns the exit code.
    DWORD close() {
        PostMessageW(window, WM_CLOSE, 0, 0);
        return wait_for_exit(process.hProcess);
    }
    HWND control(int id) const { return GetDlgItem(window, id); }
};

// What the glyph buttons show on this machine: the symbols where their font
// is installed (Windows 10 and 11), the plain-text stand-ins elsewhere (Wine).
inline const ToolbarGlyphs& installed_glyphs() {
    HFONT font = CreateFontW(-13, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, 0, 0, 0,
                             0, L"Segoe MDL2 Assets");
    HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    wchar_t face[LF_FACESIZE] = L"";
    GetTextFaceW(dc, LF_FACESIZE, face);
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    DeleteObject(font);
    return lstrcmpiW(face, L"Segoe MDL2 Assets") == 0 ? symbol_glyphs : text_glyphs;
}

inline std::wstring window_text(HWND window) {
    wchar_t text[512] = L"";
    SendMessageW(window, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(text));
    return text;
}

inline RECT window_rect(HWND window) {
    RECT r;
    GetWindowRect(window, &r);
    return r;
}

inline RECT client_on_screen(HWND window) {
    RECT r;
    GetClientRect(window, &r);
    MapWindowPoints(window, nullptr, reinterpret_cast<POINT*>(&r), 2);
    return r;
}

struct Pixels {
    int width = 0;
    int height = 0;
    std::vector<uint32_t> data; // 0x00RRGGBB, top row first
};

// The screen's pixels in `rect`, through a top-down 32-bit DIB section.
inline Pixels capture_screen(const RECT& rect) {
    Pixels out{rect.right - rect.left, rect.bottom - rect.top, {}};
    if (out.width <= 0 || out.height <= 0) {
        return {};
    }
    BITMAPINFO info{};
    info.bmiHeader = {sizeof info.bmiHeader, out.width, -out.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    uint32_t* bits = nullptr;
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(memory, &info, DIB_RGB_COLORS,
                                      reinterpret_cast<void**>(&bits), nullptr, 0);
    const HGDIOBJ previous = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, out.width, out.height, screen, rect.left, rect.top, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; i < size_t(out.width) * out.height; ++i) {
        out.data.push_back(bits[i] & 0x00FFFFFF); // without the unused top byte
    }
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return out;
}

// The video area of the window, on the screen.
inline RECT video_area_on_screen(HWND window, UINT dpi) {
    RECT r = client_on_screen(window);
    r.top = std::min(r.top + toolbar_height(dpi), r.bottom);
    return r;
}

// True when the video area shows a picture: most of its pixels neither black
// nor the status text's. With `taken`, only a frame the window has taken
// counts, the test pattern's 64 colours or more, where a window that has not
// yet painted lets the desktop's one colour show through.
inline bool shows_picture(HWND window, UINT dpi, bool taken = false) {
    const Pixels screen = capture_screen(video_area_on_screen(window, dpi));
    const auto coloured = std::count_if(screen.data.begin(), screen.data.end(),
                                        [](uint32_t p) { return p != 0 && p != 0xC8C8CD; });
    std::vector<uint32_t> colours;
    for (size_t i = 0; taken && i < screen.data.size(); i += 7) { // a sample is plenty
        colours.push_back(screen.data[i]);
    }
    std::sort(colours.begin(), colours.end());
    return screen.width > 0 && size_t(coloured) > screen.data.size() / 2 &&
           (!taken || std::unique(colours.begin(), colours.end()) - colours.begin() >= 64);
}

// Writes one of the files of the demo's settings folder: settings.txt, or
// demo-cameras.txt, the camera control file (see the demo build).
inline void write_settings_file(const std::wstring& appdata, const wchar_t* name,
                                const std::string& text) {
    CreateDirectoryW((appdata + L"\\Tavisko").c_str(), nullptr);
    write_file_bytes(appdata + L"\\Tavisko\\" + name, text);
}

inline std::string read_settings(const std::wstring& appdata) {
    std::string bytes;
    return read_file_bytes(appdata + L"\\Tavisko\\settings.txt", bytes) ? bytes : "<missing>";
}

// The value of a "key=" line of the settings text, or "".
inline std::string settings_value(const std::string& text, const char* key) {
    const std::string lines = "\n" + text;
    const std::string prefix = std::string("\n") + key + "=";
    const size_t at = lines.find(prefix);
    const size_t start = at + prefix.size();
    return at == std::string::npos ? "" : lines.substr(start, lines.find('\n', start) - start);
}

// Sends keys through the input system to the foreground window: pressed in
// order, released in reverse.
inline void press_keys(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs(keys.size() * 2);
    size_t i = 0;
    for (WORD key : keys) {
        INPUT& down = inputs[i++];
        INPUT& up = inputs[inputs.size() - i];
        down.type = up.type = INPUT_KEYBOARD;
        down.ki.wVk = up.ki.wVk = key;
        up.ki.dwFlags = KEYEVENTF_KEYUP;
    }
    SendInput(UINT(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Mouse input through the input system, at screen pixel (x, y).
inline void send_mouse(DWORD flags, int x, int y, int data = 0) {
    // Absolute coordinates run 0..65535 over the screen; aim at pixel centres.
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dx = LONG((x * 65536LL + 32768) / GetSystemMetrics(SM_CXSCREEN));
    input.mi.dy = LONG((y * 65536LL + 32768) / GetSystemMetrics(SM_CYSCREEN));
    input.mi.mouseData = DWORD(data);
    input.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    SendInput(1, &input, sizeof input);
}

inline void click_at(int x, int y) {
    send_mouse(MOUSEEVENTF_LEFTDOWN, x, y);
    send_mouse(MOUSEEVENTF_LEFTUP, x, y);
}

// Posts a button click from the toolbar, as the control itself would.
inline void click_command(HWND window, int id) {
    PostMessageW(window, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, id)));
}
