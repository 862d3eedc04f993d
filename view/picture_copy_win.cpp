#include "view/picture_copy_win.h"

#include <windows.h>

#include <cstdint>

#include "app/main_window.h"
#include "base/owned_win.h"
#include "capture/capture.h"
#include "view/picture_copy.h"
#include "view/shown_picture.h"
#include "view/status_text.h"

namespace {

// A bottom-up 32-bit bitmap: most programs that paste expect that row order.
// The header is followed directly by the pixels; there is no colour table.
BITMAPINFOHEADER picture_header(int32_t width, int32_t height, size_t pixel_bytes) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof(BITMAPINFOHEADER);
    header.biWidth = width;
    header.biHeight = height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    header.biSizeImage = static_cast<DWORD>(pixel_bytes);
    return header;
}

// The block for the clipboard, filled under the frame lock in one pass. The
// worker waits for the lock meanwhile, so nothing else happens while it is
// held; null when there is no frame or no memory.
HGLOBAL picture_block(const PictureTurn& turn) {
    const ShownPicture shown;
    if (!shown.held) {
        return nullptr;
    }
    const FramePeek& frame = shown.frame;
    const uint64_t pixel_bytes = uint64_t(frame.width) * uint64_t(frame.height) * 4;
    if (pixel_bytes > UINT32_MAX - sizeof(BITMAPINFOHEADER)) {
        return nullptr; // beyond what a bitmap header can describe
    }
    OwnedGlobal block{GlobalAlloc(GMEM_MOVEABLE, sizeof(BITMAPINFOHEADER) + pixel_bytes)};
    if (!block) {
        return nullptr;
    }
    {
        ScopedGlobalLock locked(block.get());
        if (locked.data == nullptr) {
            return nullptr;
        }
        auto* header = static_cast<BITMAPINFOHEADER*>(locked.data);
        *header = picture_header(shown_width(frame.width, frame.height, turn.quarter),
                                 shown_height(frame.width, frame.height, turn.quarter),
                                 size_t(pixel_bytes));
        copy_picture_rows(reinterpret_cast<uint8_t*>(header + 1), frame.pixels, frame.width,
                          frame.height, turn);
    }
    return block.release();
}

} // namespace

bool copy_picture_to_clipboard() {
    // Only what the window shows as a picture: a status text over an old
    // frame is not a picture to copy.
    if (status_shows_text(main_window.status)) {
        return false;
    }
    OwnedGlobal block{picture_block(picture_turn())};
    if (!block) {
        return false;
    }
    // The frame lock is released, so that the worker is not held up while the
    // clipboard is waited for, should another program have it open.
    ScopedClipboard clipboard(main_window.handle);
    if (!clipboard.opened || !EmptyClipboard()) {
        return false;
    }
    if (SetClipboardData(CF_DIB, block.get()) == nullptr) {
        return false; // still ours: freed on the way out
    }
    block.release(); // the clipboard owns it now
    return true;
}
