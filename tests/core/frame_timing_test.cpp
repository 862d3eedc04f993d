#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "capture/frame_timing.h"

namespace {

struct Segment {
    int64_t numerator, denominator; // the frame rate
    int32_t frames;
};
// The frames of the segments in turn, numbered from 0 over all of them: each
// stamped exactly at its rate, unless the case skips it, reports a stream
// tick in its place or flags it as a discontinuity.
struct Timeline {
    std::vector<Segment> segments;
    std::vector<int32_t> skipped = {}, ticked = {}, flagged = {};
    bool new_format = false;    // before every segment but the first
    int64_t jitter = 0;         // added to odd frames, taken from even ones
    bool restart_clock = false; // every segment's stamps start from 0
};

// Feeds the timeline; `seen(n, timing)` after every frame delivered.
template <typename Seen> void feed(FrameTiming& timing, const Timeline& line, Seen seen) {
    const auto in = [](const std::vector<int32_t>& list, int32_t n) {
        return std::find(list.begin(), list.end(), n) != list.end();
    };
    int64_t base = 0;
    int32_t n = 0;
    for (const Segment& s : line.segments) {
        if (n > 0 && line.new_format) {
            frame_timing_new_format(timing);
        }
        for (int64_t i = 0; i < s.frames; ++i, ++n) {
            if (in(line.ticked, n)) {
                frame_timing_tick(timing);
            } else if (!in(line.skipped, n)) {
                const int64_t stamp = base + i * timing_second * s.denominator / s.numerator;
                frame_timing_add(timing, stamp + (n % 2 ? line.jitter : -line.jitter),
                                 in(line.flagged, n));
                seen(n, timing);
            }
        }
        base =
            line.restart_clock ? 0 : base + s.frames * timing_second * s.denominator / s.numerator;
    }
}

TEST(FrameTiming, RateOverTheLastSecondAndDropsFromGaps) {
    // clang-format off
    struct Case { const char* what; Timeline line; int32_t rate; int64_t dropped; };
    const Case cases[] = {
        {"30/1", {{{30, 1, 61}}}, 3000, 0},
        {"60000/1001", {{{60000, 1001, 121}}}, 5994, 0},
        {"+-2 ms jitter is no drop", {{{30, 1, 61}}, {}, {}, {}, false, 20000}, 3012, 0},
        {"one frame missing", {{{30, 1, 61}}, {40}}, 2897, 1},
        {"three missing", {{{30, 1, 61}}, {41, 42, 43}}, 2690, 3},
        {"a stream tick and its gap count once", {{{30, 1, 61}}, {}, {40}}, 2897, 1},
        {"a discontinuity", {{{30, 1, 61}}, {}, {}, {40}}, 3000, 1},
        {"the first sample's discontinuity", {{{30, 1, 61}}, {}, {}, {0}}, 3000, 0},
        {"a gap before there is a median", {{{30, 1, 61}}, {1}}, 3000, 0},
        {"dimmer light, slower camera", {{{30, 1, 30}, {25, 1, 25}, {20, 1, 20}, {15, 1, 16}}}, 1500, 0},
        {"a new format's slower rate", {{{30, 1, 60}, {15, 1, 16}}, {}, {}, {}, true}, 1500, 0},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FrameTiming timing;
        frame_timing_reset(timing);
        feed(timing, c.line, [](int32_t, const FrameTiming&) {});
        EXPECT_EQ(frame_timing_rate_centi(timing), c.rate);
        EXPECT_EQ(frame_timing_dropped(timing), c.dropped);
    }
}

// Frame by frame: when the rate is known and when new figures are due.
TEST(FrameTiming, NoRateForTheFirstSecondAndFiguresDueOnceASecond) {
    // clang-format off
    struct Case { const char* what; Timeline line; std::vector<int32_t> known_from, due; };
    const Case cases[] = {
        {"30/1", {{{30, 1, 91}}}, {30}, {30, 60, 90}},
        {"a new format forgets the old rate", {{{30, 1, 45}, {15, 1, 30}}, {}, {}, {}, true}, {30, 60}, {30, 53, 68}},
        {"a restarted clock, a tick pending", {{{30, 1, 45}, {30, 1, 31}}, {}, {44}, {}, false, 0, true}, {30, 75}, {30, 75}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FrameTiming timing;
        frame_timing_reset(timing);
        std::vector<int32_t> known_from, due;
        int32_t previous = -1;
        feed(timing, c.line, [&](int32_t n, const FrameTiming& t) {
            const int32_t rate = frame_timing_rate_centi(t);
            if (rate >= 0 && previous < 0) {
                known_from.push_back(n);
            }
            previous = rate;
            if (frame_timing_due(timing)) {
                due.push_back(n);
            }
        });
        EXPECT_EQ(known_from, c.known_from);
        EXPECT_EQ(due, c.due);
        EXPECT_EQ(frame_timing_dropped(timing), 0) << "a restart counts nothing";
    }
}

} // namespace
