// Throughput of the frame copy at 1920 x 1080 RGB32 against one memcpy of
// the same bytes. Reports figures; asserts nothing.

#include <benchmark/benchmark.h>

#include <cstring>
#include <vector>

#include "capture/row_copy.h"

namespace {

constexpr int32_t width = 1920;
constexpr int32_t height = 1080;
constexpr uint64_t row = uint64_t(width) * 4;
constexpr uint64_t frame_bytes = row * height;

void bench_memcpy(benchmark::State& state) {
    std::vector<uint8_t> source(frame_bytes, 0x5A);
    std::vector<uint8_t> destination(frame_bytes);
    for (auto _ : state) {
        std::memcpy(destination.data(), source.data(), frame_bytes);
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(frame_bytes));
}

void bench_rows(benchmark::State& state, int32_t stride) {
    const uint64_t pitch = uint64_t(stride < 0 ? -int64_t{stride} : stride);
    std::vector<uint8_t> source(pitch * height, 0x5A);
    std::vector<uint8_t> destination(frame_bytes);
    RowSource rows;
    if (!plan_plain_rows(source.size(), stride, width, height, &rows)) {
        state.SkipWithError("plan refused");
        return;
    }
    for (auto _ : state) {
        copy_rows(destination.data(), source.data(), rows, row, height);
        benchmark::DoNotOptimize(destination.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(int64_t(state.iterations()) * int64_t(frame_bytes));
}

void bench_top_down(benchmark::State& state) {
    bench_rows(state, int32_t(row));
}
void bench_bottom_up(benchmark::State& state) {
    bench_rows(state, -int32_t(row));
}
void bench_padded(benchmark::State& state) {
    bench_rows(state, int32_t(row + 256));
}

} // namespace

BENCHMARK(bench_memcpy)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(bench_top_down)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(bench_bottom_up)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK(bench_padded)->Unit(benchmark::kMicrosecond)->MinTime(1.0);
BENCHMARK_MAIN();
