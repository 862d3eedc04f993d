#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "capture/frame_timing.h"

namespace {

bool in(const std::vector<int32_t>& list, int64_t n) {
    return std::find(list.begin(), list.end(), n) != list.end();
}

// The frames of the segments in turn, numbered from 0 over all of them: each
// stamped exactly at its segment's rate (jittered when asked), unless the
// case skips it, reports a stream tick in its place or flags it as a
// discontinuity. Checked after the last frame: the rate and drops; after
// each: the frames from which a rate is known, and those at which figures
// are due.
TEST(FrameTiming, RateDropsAndWhenFiguresAreDue) {
    // clang-format off
    struct Segment { int64_t numerator, denominator; int32_t frames; };
    struct Timeline {
        std::vector<Segment> segments;
        std::vector<int32_t> skipped = {}, ticked = {}, flagged = {};
        bool new_format = false;    // before every segment but the first
        int32_t lose_every = 0;     // every n-th frame skipped as well
        int64_t jitter = 0;         // added to odd frames, taken from even ones
        bool restart_clock = false; // every segment's stamps start from 0
    };
    struct Case { const char* what; Timeline line; int32_t rate; int64_t dropped; std::vector<int32_t> known_from = {}, due = {}; };
    const Case cases[] = {
        {"30/1", {{{30, 1, 91}}}, 3000, 0, {30}, {30, 60, 90}},
        {"60000/1001", {{{60000, 1001, 121}}}, 5994, 0, {60}, {60, 120}},
        {"+-2 ms jitter is no drop, nor a gap before there is a median", {{{30, 1, 61}}, {1}, {}, {}, false, 0, 20000}, 3012, 0},
        {"every third frame lost", {{{30, 1, 61}}, {}, {}, {}, false, 3}, 1966, 19},
        {"one frame missing, then three", {{{30, 1, 61}}, {20, 41, 42, 43}}, 2690, 4},
        {"ticks: before a median, and with a gap that counts once", {{{30, 1, 61}}, {}, {1, 40}}, 2897, 2},
        {"discontinuities: the first sample's is no drop", {{{30, 1, 61}}, {}, {}, {0, 40}}, 3000, 1},
        {"slower than a frame a second, one lost", {{{1, 2, 5}}, {3}}, 25, 1, {1}, {1, 2, 4}},
        {"a stamp repeated", {{{30, 1, 31}, {100000000, 1, 2}, {30, 1, 31}}}, 3000, 0, {30, 63}, {30, 63}},
        {"a clock that leaps an hour", {{{30, 1, 31}, {1, 4000, 1}, {30, 1, 31}}}, 3000, 0, {30, 62}, {30, 32, 62}},
        {"dimmer light, slower camera", {{{30, 1, 30}, {25, 1, 25}, {20, 1, 20}, {15, 1, 16}}}, 1500, 0},
        {"a new format forgets the old rate", {{{30, 1, 45}, {15, 1, 30}}, {}, {}, {}, true}, 1500, 0, {30, 60}, {30, 53, 68}},
        {"a restarted clock, a tick pending", {{{30, 1, 45}, {30, 1, 31}}, {}, {44}, {}, false, 0, 0, true}, 3000, 0, {30, 75}, {30, 75}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FrameTiming timing{};
        frame_timing_reset(timing);
        std::vector<int32_t> known_from, due;
        int64_t base = 0, n = 0;
        for (const Segment& s : c.line.segments) {
            if (n > 0 && c.line.new_format) {
                frame_timing_new_format(timing);
            }
            for (int64_t i = 0; i < s.frames; ++i, ++n) {
                const int64_t stamp = base + i * timing_second * s.denominator / s.numerator;
                if (in(c.line.ticked, n)) {
                    frame_timing_tick(timing);
                } else if (!in(c.line.skipped, n) &&
                           (c.line.lose_every == 0 || (n + 1) % c.line.lose_every)) {
                    const int32_t before = frame_timing_rate_centi(timing);
                    frame_timing_add(timing, stamp + (n % 2 ? c.line.jitter : -c.line.jitter),
                                     in(c.line.flagged, n));
                    if (before < 0 && frame_timing_rate_centi(timing) >= 0) {
                        known_from.push_back(int32_t(n));
                    }
                    if (frame_timing_due(timing)) {
                        due.push_back(int32_t(n));
                    }
                }
            }
            base = c.line.restart_clock
                       ? 0
                       : base + s.frames * timing_second * s.denominator / s.numerator;
        }
        EXPECT_EQ(frame_timing_rate_centi(timing), c.rate);
        EXPECT_EQ(frame_timing_dropped(timing), c.dropped);
        if (!c.due.empty()) {
            EXPECT_EQ(known_from, c.known_from);
            EXPECT_EQ(due, c.due);
        }
        frame_timing_reset(timing);
        EXPECT_EQ(frame_timing_dropped(timing) + frame_timing_rate_centi(timing), -1);
        EXPECT_FALSE(frame_timing_due(timing));
    }
}

} // namespace
