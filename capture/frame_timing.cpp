#include "capture/frame_timing.h"

#include <algorithm>

namespace {

// A step forward longer than this is a clock that jumped, not a gap: no
// camera leaves an hour between two frames. Keeping every step within it
// also keeps the window's sums far from overflowing.
constexpr uint64_t clock_jump = 3600 * uint64_t(timing_second);

int64_t stamp_back(const FrameTiming& timing, int32_t back) {
    return timing.stamps[(timing.newest - back + frame_timing_capacity) % frame_timing_capacity];
}

// Later minus earlier, exact for any two ordered stamps.
uint64_t after(int64_t later, int64_t earlier) {
    return uint64_t(later) - uint64_t(earlier);
}

// How many of the newest stamps make the last second: those within
// (newest - 1 s, newest], but at least `minimum` while the window has them,
// so that a camera slower than a frame a second is still measured.
int32_t last_second_stamps(const FrameTiming& timing, int32_t minimum) {
    const int64_t newest = stamp_back(timing, 0);
    int32_t stamps = 1;
    while (stamps < timing.count && (stamps < minimum || after(newest, stamp_back(timing, stamps)) <
                                                             uint64_t(timing_second))) {
        ++stamps;
    }
    return stamps;
}

// Frames missing in a step of `gap` after the newest stamp, judged by the
// median interval of the last second: a camera that slows down in dim light
// lengthens every interval alike and moves the median with it, while a lost
// frame leaves one interval about twice the others.
int64_t missing_in_gap(const FrameTiming& timing, int64_t gap) {
    const int32_t stamps = last_second_stamps(timing, 3);
    if (stamps < 3) {
        return 0; // fewer than two intervals: no median yet
    }
    int64_t intervals[frame_timing_capacity];
    const int32_t count = stamps - 1;
    for (int32_t i = 0; i < count; ++i) {
        intervals[i] = stamp_back(timing, i) - stamp_back(timing, i + 1);
    }
    std::nth_element(intervals, intervals + count / 2, intervals + count);
    const int64_t median = intervals[count / 2];
    // gap / median rounded, halves down, less the frame that arrived: so only
    // a gap of more than 1.5 medians counts.
    return std::max<int64_t>(0, (2 * gap - median - 1) / (2 * median));
}

void push(FrameTiming& timing, int64_t stamp) {
    timing.newest = (timing.newest + 1) % frame_timing_capacity;
    timing.stamps[timing.newest] = stamp;
    timing.count = std::min(timing.count + 1, frame_timing_capacity);
}

// A window begins with this stamp. A clock that went back takes the mark
// with it, or figures would not be due until it passed the old one again.
void start_window(FrameTiming& timing, int64_t stamp) {
    push(timing, stamp);
    timing.count = 1;
    timing.window_start = stamp;
    if (!timing.marked || stamp < timing.due_mark) {
        timing.due_mark = stamp;
        timing.marked = true;
    }
}

} // namespace

void frame_timing_reset(FrameTiming& timing) {
    timing = FrameTiming{};
}

void frame_timing_new_format(FrameTiming& timing) {
    timing.count = 0;
    timing.pending_ticks = 0;
}

void frame_timing_tick(FrameTiming& timing) {
    ++timing.pending_ticks;
}

// Drops are counted only between two stamps of one window: the first sample
// of a run or of a new type often comes flagged as a discontinuity, and
// nothing was lost before it. Stream ticks stand for one missing frame each
// and the gap they leave is in the stamps as well, so a sample counts the
// larger of the two, never both.
// https://learn.microsoft.com/windows/win32/medfound/mestreamtick
void frame_timing_add(FrameTiming& timing, int64_t stamp, bool discontinuity) {
    const int64_t ticks = timing.pending_ticks;
    timing.pending_ticks = 0;
    if (timing.count == 0) {
        start_window(timing, stamp);
        return;
    }
    const int64_t last = stamp_back(timing, 0);
    if (stamp <= last || after(stamp, last) > clock_jump) {
        start_window(timing, stamp);
        return;
    }
    const int64_t counted = ticks + (discontinuity ? 1 : 0);
    timing.dropped += std::max(missing_in_gap(timing, stamp - last), counted);
    push(timing, stamp);
}

int32_t frame_timing_rate_centi(const FrameTiming& timing) {
    if (timing.count < 2 ||
        after(stamp_back(timing, 0), timing.window_start) < uint64_t(timing_second)) {
        return -1;
    }
    const int32_t stamps = last_second_stamps(timing, 2);
    // Strictly rising stamps: the span is at least one unit an interval, so
    // the figure stays below 10^9.
    const int64_t span = stamp_back(timing, 0) - stamp_back(timing, stamps - 1);
    const int64_t scaled = int64_t(stamps - 1) * 100 * timing_second;
    return int32_t((2 * scaled + span) / (2 * span));
}

int64_t frame_timing_dropped(const FrameTiming& timing) {
    return timing.dropped;
}

bool frame_timing_due(FrameTiming& timing) {
    if (!timing.marked) {
        return false;
    }
    const int64_t newest = stamp_back(timing, 0);
    if (after(newest, timing.due_mark) < uint64_t(timing_second)) {
        return false;
    }
    timing.due_mark = newest;
    return true;
}
