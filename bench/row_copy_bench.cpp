// Throughput of the frame copy at 1920 x 1080 RGB32 against one memcpy of the
// same bytes, for each source layout: once on a single frame, whose source
// and destination stay in a large last-level cache, and once over a set of
// frames larger than any such cache, so that every byte comes from memory.
// Self-timing, so that the same code builds natively and with MinGW (whose C
// runtime's memcpy the program ships with). Reports figures; asserts nothing.
//   row_copy_bench [--frames N] [--repetitions N]

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "capture/row_copy.h"

namespace {

constexpr int32_t width = 1920;
constexpr int32_t height = 1080;
constexpr uint64_t row = uint64_t(width) * 4;
constexpr uint64_t frame_bytes = row * height;

struct Layout {
    const char* name;
    int32_t stride; // 0: one memcpy of the packed frame
};
constexpr Layout layouts[] = {
    {"memcpy", 0},
    {"top-down rows", int32_t(row)},
    {"bottom-up rows", -int32_t(row)},
    {"padded pitch (+256 bytes a row)", int32_t(row + 256)},
};
constexpr int layout_count = int(sizeof layouts / sizeof layouts[0]);

volatile uint8_t sink; // keeps the copies observable

uint64_t pitch_of(const Layout& layout) {
    return layout.stride == 0 ? row : uint64_t(layout.stride < 0 ? -layout.stride : layout.stride);
}

// Copies `frames` frames of this layout in turn, `passes` times.
void copy_frames(const Layout& layout, const RowSource& rows, const std::vector<uint8_t>& source,
                 std::vector<uint8_t>& destination, int frames, int passes) {
    const uint64_t source_frame = pitch_of(layout) * height;
    for (int p = 0; p < passes; ++p) {
        for (int f = 0; f < frames; ++f) {
            const uint8_t* from = source.data() + uint64_t(f) * source_frame;
            uint8_t* to = destination.data() + uint64_t(f) * frame_bytes;
            if (layout.stride == 0) {
                std::memcpy(to, from, frame_bytes);
            } else {
                copy_rows(to, from, rows, row, height);
            }
            sink = to[uint64_t(p) % frame_bytes];
        }
    }
}

// Median of `repetitions` rates for each layout. Within a repetition the
// layouts take turns in short slices (some 30 frames each) for a second, so
// that other work on the machine slows them all alike.
void run(const char* title, int frames, int repetitions) {
    std::vector<std::vector<uint8_t>> sources(layout_count);
    std::vector<RowSource> rows(layout_count, RowSource{0, 0});
    for (int i = 0; i < layout_count; ++i) {
        const uint64_t source_frame = pitch_of(layouts[i]) * height;
        sources[size_t(i)].assign(source_frame * uint64_t(frames), 0x5A);
        if (layouts[i].stride != 0 &&
            !plan_plain_rows(source_frame, layouts[i].stride, width, height, &rows[size_t(i)])) {
            std::fprintf(stderr, "plan refused for %s\n", layouts[i].name);
            std::exit(1);
        }
    }
    std::vector<uint8_t> destination(frame_bytes * uint64_t(frames), 0);
    const int passes = std::max(1, 30 / frames);
    using clock = std::chrono::steady_clock;
    std::vector<std::vector<double>> rates(layout_count);
    for (int r = 0; r < repetitions; ++r) {
        std::vector<double> seconds(layout_count, 0.0);
        uint64_t slices = 0;
        const auto begin = clock::now();
        do {
            for (int i = 0; i < layout_count; ++i) {
                const auto t0 = clock::now();
                copy_frames(layouts[i], rows[size_t(i)], sources[size_t(i)], destination, frames,
                            passes);
                seconds[size_t(i)] += std::chrono::duration<double>(clock::now() - t0).count();
            }
            ++slices;
        } while (std::chrono::duration<double>(clock::now() - begin).count() < 1.0 * layout_count);
        const double bytes = double(frame_bytes) * frames * passes * double(slices);
        for (int i = 0; i < layout_count; ++i) {
            rates[size_t(i)].push_back(bytes / seconds[size_t(i)]);
        }
    }
    std::printf("%s\n%-34s %8s %10s\n", title, "copy", "GB/s", "of memcpy");
    double reference = 0;
    for (int i = 0; i < layout_count; ++i) {
        std::vector<double>& v = rates[size_t(i)];
        std::sort(v.begin(), v.end());
        const double median = v[v.size() / 2];
        if (i == 0) {
            reference = median;
        }
        std::printf("%-34s %8.2f %10.3f\n", layouts[i].name, median / 1e9, median / reference);
    }
}

} // namespace

int main(int argc, char** argv) {
    // 40 frames of each side, 663 MB in all, pass through more than any
    // last-level cache we run on (the largest seen here reports 508 MiB).
    int frames = 40;
    int repetitions = 5;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--frames") == 0) {
            frames = std::max(1, std::atoi(argv[i + 1]));
        } else if (std::strcmp(argv[i], "--repetitions") == 0) {
            repetitions = std::max(1, std::atoi(argv[i + 1]));
        }
    }
    std::printf("frame copy at %d x %d RGB32 (%llu bytes), median of %d\n\n", int(width),
                int(height), static_cast<unsigned long long>(frame_bytes), repetitions);
    run("in cache: one frame, source and destination 16 MB", 1, repetitions);
    char title[120];
    std::snprintf(title, sizeof title, "\nout of cache: %d frames in turn, %llu MB in all", frames,
                  static_cast<unsigned long long>(2 * frame_bytes * uint64_t(frames) / 1000000));
    run(title, frames, repetitions);
    return 0;
}
