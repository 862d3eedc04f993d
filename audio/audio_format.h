#pragma once
// A sound stream's format as a Windows audio endpoint describes it, and the
// conversion of its interleaved frames to the float frames the output mixes.
// Platform-free; the Windows side reads the fields out of a WAVEFORMATEX(TENSIBLE).
// Stateless: any thread may call it on its own buffers.

#include <cstdint>

// Samples are little-endian signed integers or IEEE floats. Integers map to
// -1.0 .. 1.0 by dividing by 2^(bits-1): the most negative value is exactly
// -1.0, the most positive one step short of 1.0 (a float rounds 32-bit
// samples' last step away: their most positive is 1.0).
enum SampleKind : int32_t {
    SampleInt16 = 0,
    SampleInt24 = 1,     // three bytes a sample
    SampleInt24In32 = 2, // four bytes, 24 valid bits left-justified: the low byte is padding
    SampleInt32 = 3,
    SampleFloat32 = 4,
};

// The most channels a frame may carry (WAVEFORMATEXTENSIBLE names 18 speaker
// positions; more are refused rather than guessed at).
inline constexpr int32_t audio_max_channels = 18;

struct AudioFormat {
    int32_t rate;        // frames a second
    int32_t channels;    // 1 .. audio_max_channels, interleaved in a frame
    int32_t kind;        // a SampleKind
    int32_t block_align; // bytes a frame: at least channels * sample bytes, padding after them
};

// Bytes of one sample of `kind`; 0 for a kind that is none of the above.
int32_t sample_bytes(int32_t kind);
// The rate, channels and kind are known and a frame's samples fit its block.
bool audio_format_usable(const AudioFormat& format);

// Converts `frames` frames of `in` at `bytes` into `frames * out_channels`
// floats at `out`. The channels map by position, which on Windows is the
// order of the speaker mask (front left, front right, centre, ...):
//  - the same count: each channel to itself;
//  - mono input: the one channel to both front channels, any further
//    output channels silent (a mono source sounds from the middle);
//  - mono output: the mean of the input's first two channels, the rest
//    dropped (a stereo pair becomes one voice);
//  - otherwise: the first min(in, out) channels to themselves, extra input
//    channels dropped, extra output channels silent.
// Floats pass through clamped to -1.0 .. 1.0; a NaN becomes 0. `in` must be
// usable and `out_channels` within 1 .. audio_max_channels.
void audio_to_float(const AudioFormat& in, const uint8_t* bytes, int32_t frames, float* out,
                    int32_t out_channels);
