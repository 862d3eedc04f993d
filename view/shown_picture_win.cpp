#include "view/shown_picture.h"

#include <cstdlib>
#include <cstring>
#include <utility>

#include "app/main_window.h"
#include "app/window_calls.h"
#include "layout/window_sizing.h"

bool freeze_picture() {
    unfreeze_picture();
    const PeekedFrame peeked;
    if (!peeked.held) {
        return false;
    }
    const size_t bytes = size_t(peeked.frame.width) * size_t(peeked.frame.height) * 4;
    HeapBlock<uint8_t> copy(static_cast<uint8_t*>(std::malloc(bytes)));
    if (!copy) {
        return false;
    }
    std::memcpy(copy.get(), peeked.frame.pixels, bytes);
    main_window.frozen = {true, std::move(copy), peeked.frame.width, peeked.frame.height};
    return true;
}

void unfreeze_picture() {
    main_window.frozen = {};
}

ShownPicture::ShownPicture() : frame{}, held(false), locked(false) {
    if (main_window.frozen.on) {
        frame = {main_window.frozen.pixels.get(), main_window.frozen.width,
                 main_window.frozen.height};
        held = true;
    } else {
        held = locked = frame_lock_peek(&frame);
    }
}

ShownPicture::~ShownPicture() {
    if (locked) {
        frame_unlock();
    }
}

PictureTurn picture_turn() {
    return {settings.rotation & 3, settings.mirror != 0};
}

// The view keeps its frame coordinates; only painting and the mouse gestures
// read the flag, so the same part of the frame stays in sight, flipped.
void toggle_mirror() {
    settings.mirror = settings.mirror == 0 ? 1 : 0;
    const RECT area = video_area_rect();
    InvalidateRect(main_window.handle, &area, FALSE);
    arm_timer(TIMER_SAVE);
}

void turn_picture(int32_t by) {
    settings.rotation = turned_quarter(settings.rotation, by);
    fit_window_to_picture();
    const RECT area = video_area_rect();
    InvalidateRect(main_window.handle, &area, FALSE);
    arm_timer(TIMER_SAVE);
}

void toggle_freeze() {
    if (main_window.frozen.on) {
        end_freeze();
    } else if (main_window.status == StatusStreaming && freeze_picture()) {
        const RECT area = video_area_rect();
        InvalidateRect(main_window.handle, &area, FALSE);
    }
}

void end_freeze() {
    if (!main_window.frozen.on) {
        return;
    }
    unfreeze_picture();
    // The live frame at once, with its size if it changed meanwhile.
    frame_clear_pending();
    on_app_frame();
}
