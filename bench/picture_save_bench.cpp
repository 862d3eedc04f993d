// Saving a 3840 x 2160 picture: the take on the user-interface thread (the
// turned, mirrored copy made under the frame lock) and the worker's encode
// and write of the PNG file through the Windows Imaging Component, into a
// temporary folder. Two pictures: the synthetic camera's pattern, which
// compresses well, and noise, which does not (a real camera's picture lies
// in between). Reports figures; asserts nothing.
//   tavisko_picture_save_bench [--repetitions N]

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <cwchar>
#include <random>
#include <vector>

#include "base/owned_win.h"
#include "synthetic_camera/synthetic_camera.h"
#include "view/picture_copy.h"
#include "view/picture_save_win.h"

namespace {

constexpr int32_t width = 3840;
constexpr int32_t height = 2160;

double milliseconds_since(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
        .count();
}

struct Figures {
    double best = 1e300;
    double total = 0;
    void add(double ms) {
        best = std::min(best, ms);
        total += ms;
    }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    int repetitions = 5;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::wcscmp(argv[i], L"--repetitions") == 0) {
            repetitions = std::max(1, _wtoi(argv[i + 1]));
        }
    }
    const ComApartment com(COINIT_MULTITHREADED);
    std::vector<uint32_t> pattern(size_t(width) * height);
    std::vector<uint32_t> noise(pattern.size());
    std::mt19937 random(7);
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            pattern[size_t(y) * width + x] = synthetic_pattern_pixel(uint32_t(x), uint32_t(y), 0);
            noise[size_t(y) * width + x] = random();
        }
    }
    std::vector<uint8_t> taken(pattern.size() * 4);
    wchar_t folder[MAX_PATH];
    GetTempPathW(MAX_PATH, folder);
    std::wcsncat(folder, L"tavisko-save-bench", MAX_PATH - std::wcslen(folder) - 1);

    std::printf("picture save, %d x %d, %d repetitions (best / mean ms)\n", width, height,
                repetitions);
    const std::pair<const char*, PictureTurn> turns[] = {{"upright", {0, false}},
                                                         {"quarter turn, mirrored", {1, true}}};
    for (const auto& [name, turn] : turns) {
        Figures take;
        for (int r = 0; r < repetitions; ++r) {
            const auto start = std::chrono::steady_clock::now();
            copy_picture_rows(taken.data(), reinterpret_cast<const uint8_t*>(pattern.data()), width,
                              height, turn, RowOrder::TopDown);
            take.add(milliseconds_since(start));
        }
        std::printf("  take (user-interface thread), %-24s %7.1f / %7.1f\n", name, take.best,
                    take.total / repetitions);
    }
    const std::pair<const char*, const std::vector<uint32_t>*> pictures[] = {{"pattern", &pattern},
                                                                             {"noise", &noise}};
    for (const auto& [name, pixels] : pictures) {
        Figures save;
        uint64_t bytes = 0;
        for (int r = 0; r < repetitions; ++r) {
            PictureSaveJob job{};
            const size_t bytes_taken = pixels->size() * 4;
            job.pixels.reset(static_cast<uint8_t*>(std::malloc(bytes_taken)));
            std::memcpy(job.pixels.get(), pixels->data(), bytes_taken);
            job.width = width;
            job.height = height;
            job.time = {2026, 12, 7, 14, 45, 39};
            std::wcscpy(job.folder, folder);
            const auto start = std::chrono::steady_clock::now();
            const HRESULT result = save_picture_file(&job);
            save.add(milliseconds_since(start));
            if (FAILED(result)) {
                std::printf("  save failed: 0x%08lX\n", static_cast<unsigned long>(result));
                return 1;
            }
            wchar_t path[MAX_PATH + picture_name_units];
            std::swprintf(path, MAX_PATH + picture_name_units, L"%ls\\%ls", folder, job.name);
            WIN32_FILE_ATTRIBUTE_DATA data{};
            GetFileAttributesExW(path, GetFileExInfoStandard, &data);
            bytes = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            DeleteFileW(path);
        }
        std::printf("  encode and write (worker), %-26s %7.1f / %7.1f   %llu bytes\n", name,
                    save.best, save.total / repetitions, static_cast<unsigned long long>(bytes));
    }
    RemoveDirectoryW(folder);
    return 0;
}
