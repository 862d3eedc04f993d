#pragma once
// The pictures the synthetic reader puts in its samples: the moving test
// pattern, optionally stamped with the time, in plain or 2-D buffers.

#include <mfobjects.h>

#include <cstdint>
#include <vector>

#include "synthetic_camera/synthetic_camera.h"

// The test pattern moves one pixel a frame to the left and repeats every 256
// columns, so each frame is a window into one pre-drawn picture 256 columns
// wider than the frame: a row copy each, cheap enough for 1080p at 60 fps.
struct PatternCache {
    uint32_t width = 0;
    uint32_t height = 0;
    std::vector<uint32_t> pixels; // height rows of width + 256

    const uint32_t* row(uint32_t y, uint32_t frame) {
        return pixels.data() + size_t(y) * (width + 256) + (frame & 0xFF);
    }
    void prepare(uint32_t w, uint32_t h) {
        if (w == width && h == height) {
            return;
        }
        width = w;
        height = h;
        pixels.resize(size_t(w + 256) * h);
        for (uint32_t y = 0; y < h; ++y) {
            for (uint32_t x = 0; x < w + 256; ++x) {
                pixels[size_t(y) * (w + 256) + x] = synthetic_pattern_pixel(x, y, 0);
            }
        }
    }
};

// A frame of width x height; with an aperture, the pattern fills only that
// area of it.
HRESULT make_plain_buffer(PatternCache& cache, const SyntheticCamera& camera,
                          const SyntheticAperture& aperture, bool short_buffer, uint32_t width,
                          uint32_t height, uint32_t frame, IMFMediaBuffer** out);
HRESULT make_pitched_buffer(PatternCache& cache, const SyntheticCamera& camera,
                            const SyntheticAperture& aperture, uint32_t width, uint32_t height,
                            uint32_t frame, IMFMediaBuffer** out);

// The time stamp of frame `n` at a rate of numerator/denominator, in 100 ns
// units: n x 10^7 x denominator / numerator rounded down, worked out from n
// each time so it never drifts. A type without a rate gets 333333 a frame.
int64_t synthetic_frame_stamp(uint64_t n, uint32_t numerator, uint32_t denominator);
