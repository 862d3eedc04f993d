#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>

#include "audio/drift.h"

namespace {

// A 1 kHz tone captured in 10 ms packets at `in_rate` on the input's clock
// and played in 480-frame periods by a 48,000 Hz output whose clock really
// runs at `out_clock`. The render side starts 3 ms after the capture. While
// it plays, the fill is read before every take and every step between
// consecutive samples is measured.
TEST(AudioDrift, HoldsTheFillAndTheToneAcrossClocks) {
    // clang-format off
    struct Case { const char* what; int32_t in_rate, out_clock; int64_t seconds, in_gap_ms, out_gap_ms; double low_ms, high_ms; int64_t ran_dry, overflowed; };
    const Case cases[] = {
        {"an hour, 48,000 against 48,005", 48000, 48005, 3600, 0, 0, 10, 40, 0, 0},
        {"ten minutes, 44,100 against 47,995", 44100, 47995, 600, 0, 0, 10, 40, 0, 0},
        {"a start fills to the target", 48000, 48000, 2, 0, 0, 25, 25, 0, 0},
        {"the input stalls 100 ms", 48000, 48005, 20, 100, 0, 10, 40, 1, 0},
        {"the output stalls 300 ms", 48000, 48005, 20, 0, 300, 10, 200, 0, 1},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int32_t packet = c.in_rate / 100;
        std::vector<float> tone, out(480), storage(static_cast<size_t>(c.in_rate / 5));
        for (int32_t i = 0; i < packet; ++i) {
            tone.push_back(float(std::sin(6.283185307179586 * 1000.0 * i / c.in_rate)));
        }
        AudioDrift drift;
        audio_drift_start(drift, storage.data(), c.in_rate / 5, 1, c.in_rate, 48000, 20);
        double low = 1e9, high = -1e9;
        float step = 0, before = 0;
        int32_t silent = 0, was_playing = 0;
        const int64_t end = c.seconds * 1000000000, gap_from = 1000000000;
        for (int64_t in = 0, put = 0, take = 0, out_at = 3000000; in < end || out_at < end;) {
            if (in <= out_at) {
                if (in < gap_from || in >= gap_from + c.in_gap_ms * 1000000) {
                    audio_drift_put(drift, {c.in_rate, 1, SampleFloat32, 4},
                                    reinterpret_cast<const uint8_t*>(tone.data()), packet);
                }
                in = ++put * int64_t(packet) * 1000000000 / c.in_rate;
                continue;
            }
            take++;
            const bool stalled = out_at >= gap_from && out_at < gap_from + c.out_gap_ms * 1000000;
            out_at = 3000000 + take * 480 * int64_t(1000000000) / c.out_clock;
            if (stalled) {
                continue;
            }
            const bool playing = drift.playing;
            const double fill = audio_drift_fill(drift) * 1000.0 / c.in_rate;
            audio_drift_take(drift, out.data(), 480);
            silent += !playing && !drift.playing && drift.ran_dry == 0 ? 480 : 0;
            if (playing && drift.playing) {
                low = std::min(low, fill);
                high = std::max(high, fill);
                // Plain pointers and comparisons: this runs 172,800,000 times
                // unoptimised under the sanitizers.
                before = was_playing ? before : out[0];
                for (const float *sample = out.data(), *stop = sample + 480; sample < stop;
                     ++sample) {
                    const float now = *sample;
                    const float jump = now > before ? now - before : before - now;
                    step = jump > step ? jump : step;
                    before = now;
                }
            }
            was_playing = playing && drift.playing;
        }
        EXPECT_GE(low, c.low_ms);
        EXPECT_LE(high, c.high_ms);
        EXPECT_EQ(silent, 960); // two periods: the third finds the target and half a take
        EXPECT_EQ(drift.ran_dry, c.ran_dry);
        EXPECT_EQ(drift.overflowed, c.overflowed);
        // 2 sin(pi 1000 / 48000), the tone's largest step at the output's rate, and
        // a little; a glitch is a jump, so the tone only counts without one.
        EXPECT_LE(step, c.ran_dry + c.overflowed != 0 ? 2.0 : 0.1308063 + 0.001);
    }
}

// At one frame a millisecond and a ratio of exactly one, what is taken is
// what was put: each channel its own samples, a packet flagged silent zeros.
TEST(AudioDrift, KeepsTheChannelsApartAndPlaysASilentPacketAsZeros) {
    std::vector<float> storage(2 * 64, 9.0f), out(2 * 8);
    const float a[8] = {0.1f, -0.1f, 0.2f, -0.2f, 0.3f, -0.3f, 0.4f, -0.4f};
    const float b[8] = {0.5f, -0.5f, 0.6f, -0.6f, 0.7f, -0.7f, 0.8f, -0.8f};
    AudioDrift drift;
    audio_drift_start(drift, storage.data(), 64, 2, 1000, 1000, 8);
    const AudioFormat stereo = {1000, 2, SampleFloat32, 8};
    audio_drift_put(drift, stereo, reinterpret_cast<const uint8_t*>(a), 4);
    audio_drift_put(drift, stereo, nullptr, 4);
    audio_drift_put(drift, stereo, reinterpret_cast<const uint8_t*>(b), 4);
    audio_drift_take(drift, out.data(), 8);
    const std::vector<float> expected = {0.1f, -0.1f, 0.2f, -0.2f, 0.3f, -0.3f, 0.4f, -0.4f,
                                         0,    0,     0,    0,     0,    0,     0,    0};
    EXPECT_EQ(out, expected);
}

// The resampler makes a frame only while the frame after its position and
// where its step lands both lie in the input; on a ramp each frame made is
// its own position.
TEST(Resample, MakesFramesUpToTheInputsEnd) {
    // clang-format off
    struct Case { uint64_t step; uint32_t phase; int32_t in_frames, out_frames, made, passed; uint32_t phase_after; std::vector<float> out; };
    const uint64_t one = uint64_t(1) << 32;
    const Case cases[] = {
        {one, 0, 4, 8, 2, 2, 0, {0.0f, 1.0f}},
        {one, 1u << 31, 4, 8, 2, 2, 1u << 31, {0.5f, 1.5f}},
        {one + one / 2, 0, 6, 8, 3, 4, 1u << 31, {0.0f, 1.5f, 3.0f}},
        {one / 2, 0, 3, 8, 4, 2, 0, {0.0f, 0.5f, 1.0f, 1.5f}},
        {one, 0, 10, 3, 3, 3, 0, {0.0f, 1.0f, 2.0f}},
        {one, 0, 2, 8, 0, 0, 0, {}},
    };
    // clang-format on
    const float ramp[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.in_frames);
        Resampler resampler{c.step, c.phase};
        std::vector<float> out(size_t(c.out_frames), -1.0f);
        int32_t passed = -1;
        EXPECT_EQ(resample(resampler, 1, ramp, c.in_frames, out.data(), c.out_frames, &passed),
                  c.made);
        EXPECT_EQ(passed, c.passed);
        EXPECT_EQ(resampler.phase, c.phase_after);
        out.resize(size_t(c.made));
        EXPECT_EQ(out, c.out);
    }
}

} // namespace
