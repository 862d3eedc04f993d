// The demo build's cameras, and the control file through which tests change
// them while the demo runs: "%APPDATA%\Tavisko\demo-cameras.txt", one camera
// a line, read at every enumeration:
//
//   link|name|types|options
//
// types: comma-separated WIDTHxHEIGHT@RATE[:SUBTYPE][[W'x'H+X+Y]], RATE a whole
// number or NUMERATOR/DENOMINATOR, SUBTYPE as the settings name it (RGB32
// when left out; the frames are RGB32 whatever it says), and in brackets the
// minimum display aperture, the picture's area of the coded frame (for
// example 1920x1088@30:NV12[1920x1080+0+0]). options,
// space-separated: denied, busy, fail=HEX (open fails), hang=N (the N-th read
// never returns), interval=MS, controls=LIST (the camera's own controls, as
// parse_control_list reads them), hold=NAME (no frame while a file of that
// name is in the control file's folder), stall-set=NAME (a control's Set
// does not return while a file of that name is there), skip=N (every N-th
// frame is lost on the way). A file with no camera
// lines means no camera is attached. The file is read again at every
// enumeration and, when it has changed, during reads: a camera that has left
// it is unplugged.

#include <mfapi.h>

#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

#include "capture/camera_format.h"
#include "capture/capture_codes.h"
#include "settings/settings_file.h"
#include "synthetic_camera/synthetic_camera.h"

namespace {

std::vector<std::wstring> split(const std::wstring& text, wchar_t separator) {
    std::vector<std::wstring> parts;
    size_t start = 0;
    for (;;) {
        const size_t end = text.find(separator, start);
        parts.push_back(text.substr(start, end == std::wstring::npos ? end : end - start));
        if (end == std::wstring::npos) {
            return parts;
        }
        start = end + 1;
    }
}

bool parse_type(std::wstring text, SyntheticType& type) {
    SyntheticAperture aperture;
    const size_t bracket = text.find(L'[');
    if (bracket != std::wstring::npos) {
        unsigned x = 0, y = 0, width = 0, height = 0;
        int used = 0;
        if (std::swscanf(text.c_str() + bracket, L"[%ux%u+%u+%u]%n", &width, &height, &x, &y,
                         &used) != 4 ||
            bracket + size_t(used) != text.size()) {
            return false;
        }
        aperture = {x, y, width, height, false};
        text.resize(bracket);
    }
    const size_t colon = text.find(L':');
    const std::wstring size_and_rate = text.substr(0, colon);
    unsigned width = 0, height = 0, numerator = 0, denominator = 1;
    int used = 0;
    if (std::swscanf(size_and_rate.c_str(), L"%ux%u@%u/%u%n", &width, &height, &numerator,
                     &denominator, &used) != 4 &&
        std::swscanf(size_and_rate.c_str(), L"%ux%u@%u%n", &width, &height, &numerator, &used) !=
            3) {
        return false;
    }
    if (size_t(used) != size_and_rate.size()) {
        return false;
    }
    GUID subtype = MFVideoFormat_RGB32;
    if (colon != std::wstring::npos) {
        const std::string name(text.begin() + std::ptrdiff_t(colon) + 1, text.end());
        uint32_t code = 0;
        if (!parse_subtype_name(name.data(), name.size(), &code)) {
            return false;
        }
        subtype = MFVideoFormat_Base; // every video subtype differs only in its first field
        subtype.Data1 = code;
    }
    type = {subtype, width, height, numerator, denominator, aperture};
    return true;
}

// A file of the settings folder, where the control file lives; "" when
// there is no such folder.
std::wstring settings_folder_file(const wchar_t* name) {
    wchar_t folder[settings_path_units];
    wchar_t file[settings_path_units];
    wchar_t temporary[settings_path_units];
    if (!settings_paths(folder, file, temporary)) {
        return L"";
    }
    return std::wstring(folder) + L"\\" + name;
}

void apply_option(const std::wstring& option, SyntheticCamera& camera) {
    const size_t equals = option.find(L'=');
    const std::wstring key = option.substr(0, equals);
    const std::wstring value = equals == std::wstring::npos ? L"" : option.substr(equals + 1);
    const long number = std::wcstol(value.c_str(), nullptr, 0);
    if (key == L"denied") {
        camera.open_result = E_ACCESSDENIED;
    } else if (key == L"busy") {
        camera.open_result = HRESULT(hresult_device_preempted);
    } else if (key == L"fail") {
        camera.open_result = HRESULT(std::wcstoul(value.c_str(), nullptr, 16));
    } else if (key == L"hang") {
        camera.hang_at_read = int(number);
    } else if (key == L"skip") {
        camera.skip_every = int(number);
    } else if (key == L"interval") {
        camera.frame_interval_ms = uint32_t(number);
    } else if (key == L"controls") {
        camera.controls = synthetic_controls_from_list(value);
    } else if (key == L"hold" && !value.empty()) {
        camera.hold_file = settings_folder_file(value.c_str());
    } else if (key == L"stall-set" && !value.empty()) {
        camera.stall_set_file = settings_folder_file(value.c_str());
    }
}

// A camera of the demo as it starts: a frame every 33 ms.
SyntheticCamera demo_camera(const std::wstring& link, const std::wstring& name,
                            std::vector<SyntheticType> types = {},
                            std::vector<SyntheticControl> controls = {}) {
    SyntheticCamera camera;
    camera.symbolic_link = link;
    camera.friendly_name = name;
    camera.types = std::move(types);
    camera.frame_interval_ms = 33;
    camera.controls = std::move(controls);
    return camera;
}

bool parse_camera(const std::wstring& line, SyntheticCamera& camera) {
    const std::vector<std::wstring> fields = split(line, L'|');
    if (fields.size() < 3 || fields[0].empty()) {
        return false;
    }
    camera = demo_camera(fields[0], fields[1]);
    for (const std::wstring& text : split(fields[2], L',')) {
        SyntheticType type;
        if (parse_type(text, type)) {
            camera.types.push_back(type);
        }
    }
    if (fields.size() > 3) {
        for (const std::wstring& option : split(fields[3], L' ')) {
            apply_option(option, camera);
        }
    }
    return true;
}

std::wstring control_file_path() {
    return settings_folder_file(L"demo-cameras.txt");
}

std::wstring utf8_to_wide(const std::string& text) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), nullptr, 0);
    std::wstring wide(size_t(units), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), int(text.size()), wide.data(), units);
    return wide;
}

// The demo's two cameras: "Test Camera 4:3" and "Test Camera 16:9", with
// brightness, contrast, white balance and focus to set.
std::vector<SyntheticCamera> synthetic_demo_cameras() {
    const std::vector<SyntheticControl> controls =
        synthetic_controls_from_list(L"brightness:0..255/1=128,contrast:0..100/1=50,"
                                     L"whitebalance:2800..6500/100=4600auto,focus:0..250/5=0auto");

    return {demo_camera(L"\\\\?\\synthetic#test-camera-4x3#0", L"Test Camera 4:3",
                        {{MFVideoFormat_YUY2, 320, 240, 30, 1},
                         {MFVideoFormat_YUY2, 640, 480, 30, 1},
                         {MFVideoFormat_MJPG, 640, 480, 15, 1}},
                        controls),
            // The format choice has to pass over the first three of these:
            // too slow, too large, and a less preferred subtype at the same
            // size.
            demo_camera(L"\\\\?\\synthetic#test-camera-16x9#0", L"Test Camera 16:9",
                        {{MFVideoFormat_MJPG, 1920, 1080, 15, 1},
                         {MFVideoFormat_MJPG, 3840, 2160, 30, 1},
                         {MFVideoFormat_MJPG, 1280, 720, 30, 1},
                         {MFVideoFormat_NV12, 1280, 720, 30, 1},
                         {MFVideoFormat_NV12, 640, 360, 30, 1}},
                        controls)};
}

// The file as last read, so a poll reads it only when it has changed.
std::mutex control_mutex;
WIN32_FILE_ATTRIBUTE_DATA loaded_stamp{};
bool loaded_present = false;
std::atomic<ULONGLONG> next_poll{0};

bool read_stamp(const std::wstring& path, WIN32_FILE_ATTRIBUTE_DATA& stamp) {
    stamp = {};
    return !path.empty() && GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &stamp);
}

bool same_stamp(const WIN32_FILE_ATTRIBUTE_DATA& a, const WIN32_FILE_ATTRIBUTE_DATA& b) {
    return CompareFileTime(&a.ftLastWriteTime, &b.ftLastWriteTime) == 0 &&
           a.nFileSizeLow == b.nFileSizeLow && a.nFileSizeHigh == b.nFileSizeHigh;
}

void load_control_file_locked() {
    const std::wstring path = control_file_path();
    loaded_present = read_stamp(path, loaded_stamp);
    std::unique_ptr<FILE, int (*)(FILE*)> file(
        path.empty() ? nullptr : _wfopen(path.c_str(), L"rb"), std::fclose);
    if (!file) {
        synthetic_set_cameras(synthetic_demo_cameras(), true);
        return;
    }
    std::string text;
    char chunk[4096];
    size_t got;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        text.append(chunk, got);
    }
    std::vector<SyntheticCamera> cameras;
    for (std::wstring line : split(utf8_to_wide(text), L'\n')) {
        if (!line.empty() && line.back() == L'\r') {
            line.pop_back();
        }
        SyntheticCamera camera;
        if (!line.empty() && line[0] != L'#' && parse_camera(line, camera)) {
            cameras.push_back(camera);
        }
    }
    synthetic_set_cameras(cameras, true);
}

} // namespace

void synthetic_load_control_file() {
    std::lock_guard lock(control_mutex);
    load_control_file_locked();
}

void synthetic_poll_control_file() {
    const ULONGLONG now = GetTickCount64();
    ULONGLONG due = next_poll.load();
    if (now < due || !next_poll.compare_exchange_strong(due, now + 250)) {
        return;
    }
    std::lock_guard lock(control_mutex);
    WIN32_FILE_ATTRIBUTE_DATA stamp;
    const bool present = read_stamp(control_file_path(), stamp);
    if (present != loaded_present || (present && !same_stamp(stamp, loaded_stamp))) {
        load_control_file_locked();
    }
}
