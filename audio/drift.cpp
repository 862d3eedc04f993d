#include "audio/drift.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr double fraction_unit = 4294967296.0; // 2^32
// The controller: a PI loop on the fill, critically damped at 0.05 rad/s, so
// that it settles over a minute or so and takes no notice of the packets'
// ripple. A 10 ms error moves the ratio by 0.1 %.
constexpr double smoothing_seconds = 0.5;
constexpr double gain_proportional = 0.1; // per second
constexpr double gain_integral = 0.0025;  // per second squared

uint64_t fixed_step(const AudioDrift& drift) {
    const double ratio = double(drift.in_rate) / double(drift.out_rate) * (1.0 + drift.adjust);
    return static_cast<uint64_t>(ratio * fraction_unit + 0.5);
}

// Makes room for `frames` more at the end. When the buffer cannot hold them
// it drops the oldest, of the incoming too, down to the target, and returns
// the incoming frames to skip. Before the output plays that is no glitch:
// nothing was heard.
int32_t make_room(AudioDrift& drift, int32_t frames) {
    int32_t skip = 0;
    const int32_t held = drift.end - drift.begin;
    if (held + frames > drift.capacity) {
        skip = std::max(0, frames - drift.target);
        drift.begin = drift.end - std::min(held, drift.target - (frames - skip));
        drift.resampler.phase = 0;
        if (drift.playing) {
            ++drift.overflowed;
        }
    }
    if (drift.end + frames - skip > drift.capacity) {
        const int32_t kept = drift.end - drift.begin;
        std::memmove(drift.samples, drift.samples + size_t(drift.begin) * size_t(drift.channels),
                     size_t(kept) * size_t(drift.channels) * sizeof(float));
        drift.begin = 0;
        drift.end = kept;
    }
    return skip;
}

// Input frames half a take of `frames` moves past.
double half_take(const AudioDrift& drift, int32_t frames) {
    return 0.5 * double(frames) * double(drift.resampler.step) / fraction_unit;
}

// The controller holds the fill as it is halfway through a take. The fill
// just before a take counts the last packet; but as the two clocks slide
// past each other, now and then two takes come in a row, and the second
// finds a packet less. Aiming at the middle keeps room for that turn, where
// aiming at the fill before a take would run dry at every one.
void steer(AudioDrift& drift, int32_t frames, double half) {
    const double dt = double(frames) / double(drift.out_rate);
    const double fill = (audio_drift_fill(drift) - half) / double(drift.in_rate);
    drift.smoothed += (fill - drift.smoothed) * std::min(1.0, dt / smoothing_seconds);
    const double error = drift.smoothed - double(drift.target) / double(drift.in_rate);
    const double wanted = gain_proportional * error + gain_integral * (drift.integral + error * dt);
    // The integral stops growing against the limit, so it does not wind up
    // while the ratio cannot follow.
    if (wanted > -drift_adjust_limit && wanted < drift_adjust_limit) {
        drift.integral += error * dt;
    }
    drift.adjust = std::clamp(wanted, -drift_adjust_limit, drift_adjust_limit);
    drift.resampler.step = fixed_step(drift);
}

} // namespace

int32_t resample(Resampler& resampler, int32_t channels, const float* in, int32_t in_frames,
                 float* out, int32_t out_frames, int32_t* passed) {
    // Making a frame needs its position below `limit`: a frame after it to
    // interpolate towards, and its step landing inside `in`.
    const int64_t ahead = std::max<int64_t>(1, int64_t(resampler.step >> 32) + 1);
    const uint64_t limit = in_frames > ahead ? uint64_t(in_frames - ahead) << 32 : 0;
    uint64_t position = resampler.phase;
    // ceil((limit - position) / step) positions lie below the limit.
    const uint64_t possible =
        limit > position ? (limit - position + resampler.step - 1) / resampler.step : 0;
    const int32_t made = int32_t(std::min<uint64_t>(uint64_t(out_frames), possible));
    // Plain pointers, each sample read once: the tests run an hour of this
    // unoptimised under the sanitizers, where every checked access costs.
    for (float* const last = out + int64_t(made) * channels; out < last;
         position += resampler.step) {
        const float t = float(uint32_t(position)) * (1.0f / 4294967296.0f);
        const float* from = in + (position >> 32) * uint64_t(channels);
        const float* to = from + channels;
        for (const float* stop = to; from < stop; ++from, ++to, ++out) {
            const float a = *from;
            *out = a + t * (*to - a);
        }
    }
    resampler.phase = uint32_t(position);
    *passed = int32_t(position >> 32);
    return made;
}

void audio_drift_start(AudioDrift& drift, float* samples, int32_t capacity, int32_t channels,
                       int32_t in_rate, int32_t out_rate, int32_t target_ms) {
    drift = AudioDrift{};
    drift.samples = samples;
    drift.capacity = capacity;
    drift.channels = channels;
    drift.in_rate = in_rate;
    drift.out_rate = out_rate;
    // The target always fits, whatever was asked.
    drift.target = int32_t(std::min<int64_t>(int64_t(in_rate) * target_ms / 1000, capacity));
    drift.resampler.step = fixed_step(drift);
}

void audio_drift_put(AudioDrift& drift, const AudioFormat& format, const uint8_t* bytes,
                     int32_t frames) {
    const int32_t skipped = make_room(drift, frames);
    frames -= skipped;
    float* to = drift.samples + size_t(drift.end) * size_t(drift.channels);
    if (bytes == nullptr) {
        std::fill(to, to + size_t(frames) * size_t(drift.channels), 0.0f);
    } else {
        audio_to_float(format, bytes + size_t(skipped) * size_t(format.block_align), frames, to,
                       drift.channels);
    }
    drift.end += frames;
}

void audio_drift_take(AudioDrift& drift, float* out, int32_t frames) {
    int32_t made = 0;
    const double half = half_take(drift, frames);
    if (!drift.playing && audio_drift_fill(drift) - half >= double(drift.target)) {
        // Starts on the newest frames, exactly at the target: what came
        // before is older than the delay the flow keeps.
        drift.begin += int32_t(audio_drift_fill(drift) - half - double(drift.target));
        drift.playing = true;
        drift.smoothed = double(drift.target) / double(drift.in_rate);
    }
    if (drift.playing) {
        steer(drift, frames, half);
        int32_t passed = 0;
        made = resample(drift.resampler, drift.channels,
                        drift.samples + size_t(drift.begin) * size_t(drift.channels),
                        drift.end - drift.begin, out, frames, &passed);
        drift.begin += passed;
        if (made < frames) {
            ++drift.ran_dry;
            drift.playing = false;
        }
    }
    std::fill(out + size_t(made) * size_t(drift.channels),
              out + size_t(frames) * size_t(drift.channels), 0.0f);
}

double audio_drift_fill(const AudioDrift& drift) {
    return double(drift.end - drift.begin) - double(drift.resampler.phase) / fraction_unit;
}
