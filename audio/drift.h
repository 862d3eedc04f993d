#pragma once
// The sound between a capture input and the output it plays through. The two
// run on their own clocks (48,000 a second on one is 48,005 on the other), so
// the frames pass through a buffer whose fill a slow controller holds near a
// target by nudging the resampling ratio a little: the buffer stays bounded,
// the pitch moves by far less than anyone hears, and nothing is dropped or
// repeated unless a side stalls. Platform-free and allocation-free.
//
// Threading: the capture thread puts, the render thread takes; neither call
// is safe against the other, so the owner runs each under one short lock.

#include <cstdint>

#include "audio/audio_format.h"

// Linear interpolation between the input frames at a fractional position,
// kept in fixed point so that an hour of steps adds up exactly. Linear is
// cheap enough for every sample of the tests' simulated hour; its softening
// of the top octave is the price.
struct Resampler {
    uint64_t step;  // input frames per output frame, 32.32 fixed point
    uint32_t phase; // the position past in[0], in 2^-32 frames
};

// Makes output frames from `in`, at the position `phase` past in[0], until
// `out_frames` are made or the next would need a frame beyond `in_frames`
// (the one after its position, or where its step lands). Returns the frames
// made; sets `passed` to the whole frames the position moved on by.
int32_t resample(Resampler& resampler, int32_t channels, const float* in, int32_t in_frames,
                 float* out, int32_t out_frames, int32_t* passed);

// The largest nudge either way: 0.5 %, some 9 cents of pitch at the worst,
// and more than the clocks of any working pair of devices differ.
inline constexpr double drift_adjust_limit = 0.005;

struct AudioDrift {
    float* samples;   // the owner's storage: capacity * channels floats
    int32_t capacity; // frames; a put beyond it drops to the target (a glitch)
    int32_t channels; // of the output; the put converts to them
    int32_t begin;    // the frame at the position
    int32_t end;      // one past the newest frame
    int32_t in_rate;
    int32_t out_rate;
    int32_t target; // frames the controller holds halfway through a take
    bool playing;   // false while the buffer fills to the target: silence out, no glitch
    Resampler resampler;
    double smoothed;    // the fill in seconds, low-passed over the last half second
    double integral;    // the fill's error over time, in seconds times seconds
    double adjust;      // the ratio's nudge, within +-drift_adjust_limit; > 0 plays faster
    int64_t ran_dry;    // times the output found too few frames and went silent
    int64_t overflowed; // times a put found the buffer full and dropped frames
};

// Sets up an empty, silent flow on the owner's storage. The capacity should
// leave room for several periods beyond the target: it is also the most
// delay a stalled output can build up before frames are dropped.
void audio_drift_start(AudioDrift& drift, float* samples, int32_t capacity, int32_t channels,
                       int32_t in_rate, int32_t out_rate, int32_t target_ms);
// Capture side: appends `frames` frames of `format` (null `bytes`: a packet
// flagged silent), converted to the flow's channels.
void audio_drift_put(AudioDrift& drift, const AudioFormat& format, const uint8_t* bytes,
                     int32_t frames);
// Render side: writes exactly `frames` output frames to `out`, silence where
// there is nothing to play.
void audio_drift_take(AudioDrift& drift, float* out, int32_t frames);
// Input frames ahead of the position, fractions included.
double audio_drift_fill(const AudioDrift& drift);
