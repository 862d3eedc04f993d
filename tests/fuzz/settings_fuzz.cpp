// libFuzzer target: any bytes as a settings file. After every input the
// parsed record must hold its invariants, and writing it and reading the text
// back must give the same record (less the CR bytes the writer drops).

#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "settings/settings.h"

namespace {

void check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool terminated(const char* field, size_t size) {
    return std::memchr(field, '\0', size) != nullptr;
}

void check_invariants(const Settings& s) {
    const ViewState& v = s.view;
    check(std::isfinite(v.zoom) && v.zoom >= 1.0 && v.zoom <= 8.0);
    const double lo = v.zoom == 1.0 ? 0.5 : 0.5 / v.zoom;
    for (double c : {v.center_x, v.center_y}) {
        check(std::isfinite(c) && c >= lo && c <= 1.0 - lo);
    }
    check(terminated(s.camera_id, sizeof s.camera_id));
    check(terminated(s.camera_name, sizeof s.camera_name));
    check(s.window_valid == 0 || s.window_valid == 1);
    if (s.window_valid) {
        check(s.window_w > 0 && s.window_h > 0);
    } else {
        check(s.window_x == 0 && s.window_y == 0 && s.window_w == 0 && s.window_h == 0);
    }
    check(s.on_top == 0 || s.on_top == 1);
    check(s.mirror == 0 || s.mirror == 1);
    check(s.compact == 0 || s.compact == 1);
    check(s.rotation >= 0 && s.rotation <= 3);
}

void check_same_text(const char* written_back, const char* original) {
    size_t j = 0;
    for (size_t i = 0; original[i] != '\0'; ++i) {
        if (original[i] != '\r') {
            check(written_back[j++] == original[i]);
        }
    }
    check(written_back[j] == '\0');
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > settings_file_max) {
        size = settings_file_max;
    }
    std::vector<char> text(data, data + size);
    text.push_back('\0');

    Settings first;
    settings_parse(first, text.data());
    check_invariants(first);

    char buffer[2048];
    const size_t length = settings_format(first, buffer, sizeof buffer);
    check(length <= settings_text_max && std::strlen(buffer) == length);

    Settings second;
    settings_parse(second, buffer);
    check_invariants(second);
    check_same_text(second.camera_id, first.camera_id);
    check_same_text(second.camera_name, first.camera_name);
    // Six decimals in the file: the view comes back within rounding.
    check(std::fabs(second.view.zoom - first.view.zoom) <= 1e-6);
    check(std::fabs(second.view.center_x - first.view.center_x) <= 2e-6);
    check(std::fabs(second.view.center_y - first.view.center_y) <= 2e-6);
    check(second.window_valid == first.window_valid && second.window_x == first.window_x &&
          second.window_y == first.window_y && second.window_w == first.window_w &&
          second.window_h == first.window_h);
    check(second.on_top == first.on_top);
    check(second.mirror == first.mirror);
    check(second.compact == first.compact);
    check(second.rotation == first.rotation);
    check(std::memcmp(&second.format, &first.format, sizeof first.format) == 0);
    return 0;
}
