#include "capture/picture_area.h"

#include <algorithm>

namespace {

// The whole pixel nearest to a 16.16 offset; halves go up.
int64_t nearest_pixel(int16_t whole, uint16_t fraction) {
    return int64_t{whole} + (fraction >= 0x8000 ? 1 : 0);
}

// [start, start + length) cut to [0, limit); false when nothing is left.
bool cut_span(int64_t start, int32_t length, int32_t limit, int32_t* first, int32_t* count) {
    const int64_t begin = std::max<int64_t>(start, 0);
    const int64_t end = std::min<int64_t>(start + length, limit);
    if (end <= begin) {
        return false;
    }
    *first = int32_t(begin);
    *count = int32_t(end - begin);
    return true;
}

bool usable(const VideoArea* area, int32_t coded_width, int32_t coded_height, PictureArea* out) {
    return area != nullptr &&
           cut_span(nearest_pixel(area->x, area->x_fraction), area->width, coded_width, &out->x,
                    &out->width) &&
           cut_span(nearest_pixel(area->y, area->y_fraction), area->height, coded_height, &out->y,
                    &out->height);
}

} // namespace

// Minimum display first: the pixels outside it hold no valid picture and are
// not to be shown; without pan and scan it is the area to display
// (https://learn.microsoft.com/windows/win32/medfound/mf-mt-minimum-display-aperture-attribute,
// https://learn.microsoft.com/windows/win32/medfound/mf-mt-pan-scan-aperture-attribute).
// The geometric aperture, a video standard's active area, is the whole frame
// when not set
// (https://learn.microsoft.com/windows/win32/medfound/mf-mt-geometric-aperture-attribute).
PictureArea picture_area(const VideoArea* minimum_display, const VideoArea* geometric,
                         int32_t coded_width, int32_t coded_height) {
    PictureArea picture{};
    if (usable(minimum_display, coded_width, coded_height, &picture) ||
        usable(geometric, coded_width, coded_height, &picture)) {
        return picture;
    }
    return {0, 0, coded_width, coded_height};
}
