#include <cstdlib>
#include <wrl/client.h>

#include "capture/capture.h"
#include "capture/row_copy.h"

using Microsoft::WRL::ComPtr;

FrameStore frame_store;

namespace {

// One sample on its way into the store, and whether the worker has posted
// for it yet.
struct SampleCopy {
    const WorkerRun* run;
    bool first;
    const DeliveryPublication* publication; // null: no new figures with this sample
    bool announced;
};

// Under capture_lock: makes room for the frame and copies its rows. When the
// block cannot grow, the previous frame and its sizes stay; a run given up on
// while it was in the driver leaves the store to the worker that followed.
void store_rows(const uint8_t* buffer, const RowSource& source, int32_t width, int32_t height,
                const WorkerRun* run) {
    const uint64_t row = packed_row_bytes(width);
    const uint64_t needed = row * uint64_t(height);
    if (run->abandoned) {
        return;
    }
    if (frame_store.capacity_bytes < needed) {
        if (needed > SIZE_MAX) {
            return;
        }
        void* grown = std::realloc(frame_store.pixels, static_cast<size_t>(needed));
        if (grown == nullptr) {
            return;
        }
        frame_store.pixels = static_cast<uint8_t*>(grown);
        frame_store.capacity_bytes = needed;
    }
    copy_rows(frame_store.pixels, buffer, source, row, height);
    frame_store.frame_height = height;
    frame_store.frame_width = width;
}

// Under capture_lock: only the picture's area of the planned coded frame.
void store_picture(const uint8_t* buffer, const RowSource& coded, const OutputFormat& format,
                   const WorkerRun* run) {
    const PictureArea& picture = format.picture;
    store_rows(buffer, crop_rows(coded, picture.x, picture.y), picture.width, picture.height, run);
}

// The 2-D path: the pitch and first-row address come from Lock2DSize, which
// also tells where the buffer begins and ends, so rows a driver claims but the
// buffer does not hold are never read. Returns false when the buffer offers no
// such lock, so the plain path can try.
bool copy_pitched(IMFMediaBuffer* buffer, const OutputFormat& format, SampleCopy& copy) {
    ComPtr<IMF2DBuffer2> pitched;
    if (FAILED(buffer->QueryInterface(IID_PPV_ARGS(&pitched)))) {
        return false;
    }
    BYTE* top_row = nullptr;
    LONG pitch = 0;
    BYTE* start = nullptr;
    DWORD length = 0;
    if (FAILED(pitched->Lock2DSize(MF2DBuffer_LockFlags_Read, &top_row, &pitch, &start, &length))) {
        return false;
    }
    RowSource rows;
    const int64_t offset = top_row - start;
    if (plan_pitched_rows(length, offset, pitch, format.width, format.height, &rows)) {
        // The posts in the same hold of the lock as the copy: the worker
        // never waits for a paint twice for one frame.
        CaptureLockGuard lock;
        store_picture(start, rows, format, copy.run);
        announce_sample(copy.run, copy.first, copy.publication);
        copy.announced = true;
    }
    pitched->Unlock2D();
    return true;
}

void copy_plain(IMFMediaBuffer* buffer, const OutputFormat& format, SampleCopy& copy) {
    BYTE* data = nullptr;
    DWORD length = 0;
    if (FAILED(buffer->Lock(&data, nullptr, &length))) {
        return;
    }
    RowSource rows;
    if (plan_plain_rows(length, format.stride, format.width, format.height, &rows)) {
        CaptureLockGuard lock;
        store_picture(data, rows, format, copy.run);
        announce_sample(copy.run, copy.first, copy.publication);
        copy.announced = true;
    }
    buffer->Unlock();
}

} // namespace

void copy_sample_to_store(IMFSample* sample, const OutputFormat& format, const WorkerRun* run,
                          bool first, const DeliveryPublication* publication) {
    SampleCopy copy{run, first, publication, false};
    ComPtr<IMFMediaBuffer> buffer;
    // A size from a driver that is zero, or that does not fit in 31 bits and
    // so reads as negative, describes no frame.
    if (format.width > 0 && format.height > 0 &&
        SUCCEEDED(sample->ConvertToContiguousBuffer(&buffer)) &&
        !copy_pitched(buffer.Get(), format, copy)) {
        copy_plain(buffer.Get(), format, copy);
    }
    // A sample that could not be copied still counts as delivered.
    if (!copy.announced) {
        CaptureLockGuard lock;
        announce_sample(run, first, publication);
    }
}

bool frame_lock_peek(FramePeek* frame) {
    EnterCriticalSection(&frame_store.capture_lock);
    if (frame_store.pixels != nullptr && frame_store.frame_width > 0 &&
        frame_store.frame_height > 0) {
        frame->pixels = frame_store.pixels;
        frame->width = frame_store.frame_width;
        frame->height = frame_store.frame_height;
        return true;
    }
    LeaveCriticalSection(&frame_store.capture_lock);
    return false;
}

void frame_unlock() {
    LeaveCriticalSection(&frame_store.capture_lock);
}

int32_t frame_clear_pending() {
    return frame_store.frame_pending.exchange(0);
}

void capture_measure_delivery(bool on) {
    if (on) {
        frame_store.measure_generation.fetch_add(1);
    }
    frame_store.measure_delivery.store(on);
}

bool capture_delivery(DeliveryFigures* figures) {
    if (!frame_store.measure_delivery.load()) {
        return false;
    }
    const uint32_t generation = frame_store.measure_generation.load();
    CaptureLockGuard lock;
    // Figures of an earlier generation were measured before the last switch
    // on, and a new run clears them: neither is what the caller asked for.
    if (!frame_store.delivery_published || frame_store.delivery_generation != generation) {
        return false;
    }
    *figures = frame_store.delivery;
    return true;
}
