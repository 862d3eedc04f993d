#include "view/info_line.h"

#include <algorithm>

#include "base/wide_text.h"
#include "capture/camera_format.h"

namespace {

void put_rate(WideText& sink, int32_t centi) {
    if (centi < 0) {
        sink.text(L"\u2026");
        return;
    }
    sink.number(uint32_t(centi / 100), 1);
    sink.put(L'.');
    sink.number(uint32_t(centi % 100), 2);
}

void put_count(WideText& sink, int64_t count) {
    // Beyond four billion drops the count stops, rather than wrapping.
    sink.number(count < 0 ? 0u : uint32_t(std::min<int64_t>(count, UINT32_MAX)), 1);
}

} // namespace

bool format_info_line(const InfoFigures& figures, wchar_t* out, size_t capacity) {
    if (capacity == 0) {
        return false;
    }
    WideText sink{out, capacity};
    out[0] = L'\0';
    sink.number(uint32_t(std::max(figures.width, 0)), 1);
    sink.text(L" \u00d7 ");
    sink.number(uint32_t(std::max(figures.height, 0)), 1);
    if (figures.subtype != 0) {
        char name[9];
        subtype_name(figures.subtype, name);
        sink.put(L' ');
        sink.ascii(name);
    }
    sink.text(L" \u00b7 ");
    put_rate(sink, figures.rate_centi);
    sink.text(L" fps \u00b7 ");
    if (figures.frozen) {
        sink.text(L"frozen");
    } else {
        sink.text(L"shown ");
        put_rate(sink, figures.shown_centi);
    }
    sink.text(L" \u00b7 ");
    put_count(sink, figures.dropped);
    sink.text(L" dropped");
    if (figures.sound) {
        sink.text(L" \u00b7 ");
        put_count(sink, figures.sound_glitches);
        sink.text(figures.sound_glitches == 1 ? L" sound glitch" : L" sound glitches");
    }
    return !sink.cut;
}

PixelRect info_line_box(const PixelRect& area, int32_t text_width, int32_t text_height,
                        uint32_t dpi) {
    const int32_t inset = scale_units(8, dpi);
    const int32_t left = std::min(area.left + inset, area.right);
    const int32_t top = std::min(area.top + inset, area.bottom);
    const int32_t right = std::min(left + text_width + 2 * scale_units(6, dpi), area.right);
    const int32_t bottom = std::min(top + text_height + 2 * scale_units(3, dpi), area.bottom);
    return {left, top, right, bottom};
}
