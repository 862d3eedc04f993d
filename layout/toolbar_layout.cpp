#include "layout/toolbar_layout.h"

#include <algorithm>
#include <cstdlib>

ToolbarPlaces toolbar_places(uint32_t dpi, int32_t client_width, int32_t combo_field_height) {
    const int32_t m = scale_units(6, dpi);
    const int32_t g = scale_units(4, dpi);
    const int32_t b = scale_units(28, dpi);
    const int32_t l = scale_units(52, dpi);
    const int32_t c = scale_units(300, dpi);
    const int32_t h = toolbar_height(dpi);
    const int32_t y = (h - b) / 2;
    const int32_t w = std::max(client_width - (2 * m + 4 * g + 4 * b + l), scale_units(80, dpi));

    ToolbarPlaces places;
    places.combo = {m, (h - combo_field_height) / 2, w, c};
    places.zoom_out = {m + w + 2 * g, y, b, b};
    places.zoom_label = {m + w + 2 * g + b, y, l, b};
    places.zoom_in = {m + w + 2 * g + b + l, y, b, b};
    places.reset = {m + w + 3 * g + 2 * b + l, y, b, b};
    places.pin = {client_width - m - b, y, b, b};
    return places;
}

ControlPlace settings_button_place(const PixelRect& area, uint32_t dpi) {
    const int32_t w = scale_units(190, dpi);
    const int32_t h = scale_units(30, dpi);
    return {area.left + (area.right - area.left - w) / 2,
            area.top + (area.bottom - area.top) / 2 + scale_units(8, dpi), w, h};
}

PixelRect video_area_of(const PixelRect& client, uint32_t dpi, bool toolbar_shown) {
    PixelRect area = client;
    area.top = std::min(client.top + (toolbar_shown ? toolbar_height(dpi) : 0), client.bottom);
    return area;
}
