#include "audio/audio_format.h"

#include <cstring>

namespace {

// Within -1.0 .. 1.0; NaN fails every comparison and ends up 0.
float clamped(float value) {
    return value > 1.0f ? 1.0f : (value < -1.0f ? -1.0f : (value == value ? value : 0.0f));
}

// Assembled byte by byte: the samples are little-endian on every machine
// this builds for, and a 3-byte sample is never aligned.
float sample_value(int32_t kind, const uint8_t* p) {
    switch (kind) {
    case SampleInt16:
        return static_cast<float>(static_cast<int16_t>(p[0] | (p[1] << 8))) / 32768.0f;
    case SampleInt24: {
        const uint32_t bits = uint32_t(p[0]) << 8 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 24;
        return static_cast<float>(static_cast<int32_t>(bits) >> 8) / 8388608.0f;
    }
    case SampleInt24In32: {
        // The low byte is padding the device need not have zeroed.
        const uint32_t bits = uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        return static_cast<float>(static_cast<int32_t>(bits) >> 8) / 8388608.0f;
    }
    case SampleInt32: {
        const uint32_t bits =
            uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        // In double: a float holds the 24 top bits, so +-2^31 rounding is exact.
        return static_cast<float>(static_cast<double>(static_cast<int32_t>(bits)) / 2147483648.0);
    }
    default: {
        const uint32_t bits =
            uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
        float value = 0.0f;
        std::memcpy(&value, &bits, sizeof value);
        return clamped(value);
    }
    }
}

} // namespace

int32_t sample_bytes(int32_t kind) {
    switch (kind) {
    case SampleInt16:
        return 2;
    case SampleInt24:
        return 3;
    case SampleInt24In32:
    case SampleInt32:
    case SampleFloat32:
        return 4;
    default:
        return 0;
    }
}

bool audio_format_usable(const AudioFormat& format) {
    const int32_t bytes = sample_bytes(format.kind);
    return bytes > 0 && format.rate > 0 && format.channels >= 1 &&
           format.channels <= audio_max_channels && format.block_align >= bytes * format.channels;
}

void audio_to_float(const AudioFormat& in, const uint8_t* bytes, int32_t frames, float* out,
                    int32_t out_channels) {
    const int32_t step = sample_bytes(in.kind);
    const int32_t channels = in.channels;
    if (in.kind == SampleFloat32 && channels == out_channels && in.block_align == 4 * channels) {
        // Shared-mode capture's usual case, and the only one run for every
        // sample of an hour in the tests: one copy, then the clamp.
        std::memcpy(out, bytes, size_t(frames) * size_t(channels) * sizeof(float));
        for (float *at = out, *end = out + size_t(frames) * size_t(channels); at < end; ++at) {
            const float value = *at;
            if (!(value >= -1.0f && value <= 1.0f)) {
                *at = clamped(value);
            }
        }
        return;
    }
    for (int32_t f = 0; f < frames; ++f, bytes += in.block_align, out += out_channels) {
        if (channels == 1 || out_channels == 1) {
            const float first = sample_value(in.kind, bytes);
            const float mono =
                channels == 1 ? first : (first + sample_value(in.kind, bytes + step)) * 0.5f;
            for (int32_t c = 0; c < out_channels; ++c) {
                out[c] = c < 2 ? mono : 0.0f;
            }
            continue;
        }
        for (int32_t c = 0; c < out_channels; ++c) {
            out[c] = c < channels ? sample_value(in.kind, bytes + c * step) : 0.0f;
        }
    }
}
