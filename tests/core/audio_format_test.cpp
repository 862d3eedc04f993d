#include <gtest/gtest.h>

#include <vector>

#include "audio/audio_format.h"

namespace {

// Converts into a buffer one float longer, whose last must stay untouched.
std::vector<float> converted(const AudioFormat& in, const std::vector<uint8_t>& bytes,
                             int32_t out_channels) {
    const int32_t frames = int32_t(bytes.size()) / in.block_align;
    std::vector<float> out(size_t(frames * out_channels) + 1, 9.0f);
    audio_to_float(in, bytes.data(), frames, out.data(), out_channels);
    EXPECT_EQ(out.back(), 9.0f);
    out.pop_back();
    return out;
}

// Each row's samples as mono frames: the float row copies and clamps.
TEST(AudioFormat, EachSampleKindsExtremes) {
    // clang-format off
    struct Case { int32_t kind; std::vector<uint8_t> bytes; std::vector<float> values; };
    const Case cases[] = {
        {SampleInt16, {0x00, 0x80, 0xFF, 0x7F, 0x01, 0x00, 0xFF, 0xFF}, {-1.0f, 32767.0f / 32768, 1.0f / 32768, -1.0f / 32768}},
        {SampleInt24, {0x00, 0x00, 0x80, 0xFF, 0xFF, 0x7F, 0xFF, 0xFF, 0xFF}, {-1.0f, 8388607.0f / 8388608, -1.0f / 8388608}},
        // The low byte is padding and does not count.
        {SampleInt24In32, {0xFF, 0x00, 0x00, 0x80, 0x7F, 0xFF, 0xFF, 0x7F, 0x00, 0x01, 0x00, 0x00}, {-1.0f, 8388607.0f / 8388608, 1.0f / 8388608}},
        // 2^31 - 1 needs more bits than a float has: it rounds to 1.0.
        {SampleInt32, {0x00, 0x00, 0x00, 0x80, 0xFF, 0xFF, 0xFF, 0x7F, 0x00, 0x01, 0x00, 0x00}, {-1.0f, 1.0f, 1.0f / 8388608}},
        // -0.75, 1.5, -2.0, NaN, infinity
        {SampleFloat32, {0, 0, 0x40, 0xBF, 0, 0, 0xC0, 0x3F, 0, 0, 0, 0xC0, 0, 0, 0xC0, 0x7F, 0, 0, 0x80, 0x7F}, {-0.75f, 1.0f, -1.0f, 0.0f, 1.0f}},
    };
    // clang-format on
    for (const Case& c : cases) {
        EXPECT_EQ(converted({48000, 1, c.kind, sample_bytes(c.kind)}, c.bytes, 1), c.values)
            << c.kind;
    }
}

TEST(AudioFormat, ChannelMapsAndOddSizes) {
    // int16 0x4000 is 0.5, 0x2000 0.25, 0x1000 0.125, 0xC000 -0.5.
    // clang-format off
    struct Case { const char* what; AudioFormat in; int32_t out_channels; std::vector<uint8_t> bytes; std::vector<float> out; };
    const Case cases[] = {
        {"mono to stereo", {48000, 1, SampleInt16, 2}, 2, {0, 0x40, 0, 0xC0}, {0.5f, 0.5f, -0.5f, -0.5f}},
        {"mono to 5.1: the front pair", {48000, 1, SampleInt16, 2}, 6, {0, 0x40}, {0.5f, 0.5f, 0, 0, 0, 0}},
        {"stereo to mono", {48000, 2, SampleInt16, 4}, 1, {0, 0x40, 0, 0x20}, {0.375f}},
        {"5.1 to mono: the front pair", {48000, 6, SampleInt16, 12}, 1, {0, 0x40, 0, 0xC0, 0, 0x40, 0, 0x40, 0, 0x40, 0, 0x40}, {0.0f}},
        {"5.1 to stereo", {48000, 6, SampleInt16, 12}, 2, {0, 0x40, 0, 0x20, 0, 0x10, 0, 0x10, 0, 0x10, 0, 0x10}, {0.5f, 0.25f}},
        {"stereo to 4", {48000, 2, SampleInt16, 4}, 4, {0, 0x40, 0, 0x20}, {0.5f, 0.25f, 0, 0}},
        {"padded blocks", {48000, 2, SampleInt16, 6}, 2, {0, 0x40, 0, 0x20, 0xAA, 0xAA, 0, 0x10, 0, 0xC0, 0xAA, 0xAA}, {0.5f, 0.25f, 0.125f, -0.5f}},
        {"padded floats, sample by sample: 0.5, 1.5, NaN", {48000, 1, SampleFloat32, 8}, 1, {0, 0, 0, 0x3F, 0, 0, 0xC0, 0x7F, 0, 0, 0xC0, 0x3F, 1, 2, 3, 4, 0, 0, 0xC0, 0x7F, 0, 0, 0, 0}, {0.5f, 1.0f, 0.0f}},
        {"three-byte stereo, three frames", {44100, 2, SampleInt24, 6}, 2, {0, 0, 0x40, 0, 0, 0xC0, 0, 0, 0x20, 0, 0, 0x10, 0xFF, 0xFF, 0x7F, 0, 0, 0x80}, {0.5f, -0.5f, 0.25f, 0.125f, 8388607.0f / 8388608, -1.0f}},
    };
    const AudioFormat unusable[] = {{48000, 2, SampleInt24, 5}, {48000, 0, SampleInt16, 4}, {48000, 19, SampleInt16, 38}, {0, 2, SampleInt16, 4}, {48000, 2, 5, 8}, {48000, 1, -1, 4}};
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_TRUE(audio_format_usable(c.in));
        EXPECT_EQ(converted(c.in, c.bytes, c.out_channels), c.out);
    }
    for (const AudioFormat& f : unusable) {
        EXPECT_FALSE(audio_format_usable(f)) << f.rate << " " << f.channels << " " << f.kind;
    }
}

} // namespace
