#pragma once
// What a camera really delivers, read from its samples' time stamps: the
// frame rate over the last second and the frames that went missing. One
// owner (the capture worker) feeds and reads it; nothing here allocates.

#include <cstdint>

inline constexpr int64_t timing_second = 10000000;    // time stamps are in 100 ns units
inline constexpr int32_t frame_timing_capacity = 256; // stamps kept (the last second at 240 fps)

// The stamps of the current window run from the reset, the last new format
// or the last restarted clock; only the newest `count` of the ring belong to
// it. Frames are counted missing only between two stamps of one window.
struct FrameTiming {
    int64_t stamps[frame_timing_capacity]; // ring; the newest at `newest`
    int32_t newest;
    int32_t count;        // stamps of the window in the ring, at most the capacity
    int64_t window_start; // the window's first stamp, kept when the ring wraps
    int64_t dropped;
    int64_t pending_ticks; // stream ticks since the previous sample
    int64_t due_mark;      // the stamp at which frame_timing_due last said true
    bool marked;           // due_mark is set
};

// Forgets everything, the drop count too.
void frame_timing_reset(FrameTiming& timing);
// A new media type: forgets the rate window, keeps the drops.
void frame_timing_new_format(FrameTiming& timing);
// The reader reported a stream tick: a gap in the stream.
void frame_timing_tick(FrameTiming& timing);
void frame_timing_add(FrameTiming& timing, int64_t stamp, bool discontinuity);
// Frames a second over the last second of stamps, in hundredths (5994 for
// 59.94); -1 until the stamps since the last reset/new format span a whole
// second.
int32_t frame_timing_rate_centi(const FrameTiming& timing);
int64_t frame_timing_dropped(const FrameTiming& timing);
// True once the stamps have advanced a whole second since it last returned
// true (or since the reset); the caller publishes new figures then, so the
// text changes once a second, not per frame.
bool frame_timing_due(FrameTiming& timing);
