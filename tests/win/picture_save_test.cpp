// Saving the picture on the real main window and into real folders: the PNG
// read back through the Windows Imaging Component, the names taken when a
// file is there already, and no file left by a failed save.

#include <shlobj.h>
#include <wincodec.h>
#include <wrl/client.h>

#include <cstdlib>
#include <cstring>
#include <thread>
#include <vector>

#include "app/window_calls.h"
#include "app_fixture.h"
#include "view/picture_save_win.h"

namespace {

using Microsoft::WRL::ComPtr;

struct DecodedPng {
    UINT width = 0;
    UINT height = 0;
    std::vector<uint32_t> pixels; // B, G, R, 0xFF; top row first
};

DecodedPng decode_png(const std::wstring& path) {
    DecodedPng png;
    ComPtr<IWICImagingFactory> factory;
    ComPtr<IWICBitmapDecoder> decoder;
    ComPtr<IWICBitmapFrameDecode> frame;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER,
                                IID_PPV_ARGS(&factory))) ||
        FAILED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, &decoder)) ||
        FAILED(decoder->GetFrame(0, &frame)) ||
        FAILED(factory->CreateFormatConverter(&converter)) ||
        FAILED(converter->Initialize(frame.Get(), GUID_WICPixelFormat32bppBGR,
                                     WICBitmapDitherTypeNone, nullptr, 0,
                                     WICBitmapPaletteTypeCustom)) ||
        FAILED(frame->GetSize(&png.width, &png.height))) {
        return {};
    }
    png.pixels.resize(size_t(png.width) * png.height);
    if (FAILED(converter->CopyPixels(nullptr, png.width * 4, UINT(png.pixels.size() * 4),
                                     reinterpret_cast<BYTE*>(png.pixels.data())))) {
        return {};
    }
    return png;
}

std::vector<std::wstring> files_in(const std::wstring& folder) {
    std::vector<std::wstring> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().wstring());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// A picture saved at 2026-12-07 14:45:39 into `folder`, its pixels
// 0xFF102030, 0xFF405060 and on in steps of 0x303030.
HRESULT save_small_picture(const std::wstring& folder, PictureSaveJob* job, int32_t width = 2,
                           int32_t height = 1) {
    *job = {};
    job->pixels.reset(static_cast<uint8_t*>(std::malloc(size_t(width) * size_t(height) * 4)));
    auto* pixels = reinterpret_cast<uint32_t*>(job->pixels.get());
    for (size_t i = 0; i < size_t(width) * size_t(height); ++i) {
        pixels[i] = 0xFF102030 + uint32_t(i) * 0x303030;
    }
    job->width = width;
    job->height = height;
    job->time = {2026, 12, 7, 14, 45, 39};
    wcscpy_s(job->folder, folder.c_str());
    return save_picture_file(job);
}

struct PictureSaveTest : AppWindowTest {
    ComApartment com{COINIT_APARTMENTTHREADED};
    TempFolder folder;
};

// The Tavisko folder of the Pictures folder, where Ctrl+S saves.
std::wstring saved_pictures() {
    wchar_t* pictures = nullptr;
    EXPECT_EQ(SHGetKnownFolderPath(FOLDERID_Pictures, 0, nullptr, &pictures), S_OK);
    const std::wstring tavisko = std::wstring(pictures) + L"\\Tavisko";
    CoTaskMemFree(pictures);
    CreateDirectoryW(tavisko.c_str(), nullptr);
    return tavisko;
}

TEST_F(PictureSaveTest, TheFileIsTheShownPictureTheTipNamesItAndClosingWritesTheSavesTaken) {
    open({frozen_camera(1280, 720)}, "guides=crosshair"); // on the screen only
    ASSERT_TRUE(pump_until([] { return main_window.known_frame_width == 1280; }));
    const std::wstring tavisko = saved_pictures();
    const std::vector<std::wstring> before = files_in(tavisko);
    command(IDC_ROTATE_RIGHT);
    command(IDC_MIRROR);
    command(IDC_SAVE_PICTURE);
    ASSERT_TRUE(pump_until([] { return save_tip_text() != nullptr; }));
    const std::wstring tip = save_tip_text();
    ASSERT_EQ(tip.substr(0, 14), L"Saved Tavisko ") << tip;
    EXPECT_EQ(tip.size(), 37u) << "Saved Tavisko 2026-12-07 14.45.39.png";
    const std::wstring path = tavisko + L"\\" + tip.substr(6);
    const DecodedPng png = decode_png(path);
    DeleteFileW(path.c_str());
    EXPECT_EQ(std::pair(png.width, png.height), std::pair(720u, 1280u));
    ASSERT_EQ(png.pixels.size(), 720u * 1280u);
    // Shown points {x, y}: turned a quarter clockwise and then mirrored, the
    // picture is the frame's transpose, so each shows frame pixel (y, x).
    const std::pair<uint32_t, uint32_t> points[] = {
        {0, 0}, {5, 9}, {300, 600}, {719, 1279}, {719, 0}};
    for (const auto& [x, y] : points) {
        EXPECT_EQ(png.pixels[y * 720 + x] & 0xFFFFFF, synthetic_pattern_pixel(y, x, 0))
            << x << " " << y;
    }
    EXPECT_EQ(
        std::ranges::count(png.pixels, 0xFFF0F0F0) + std::ranges::count(png.pixels, 0xFF181818), 0)
        << "no pixel of the guide's";

    // The tip sits at the bottom of the video area over the picture, and the
    // picture is back when its timer fires.
    const RECT area = video_area_rect();
    auto below_tip = [&] {
        UpdateWindow(main_window.handle);
        return window_pixel((area.left + area.right) / 2, area.bottom - 14);
    };
    EXPECT_EQ(below_tip(), RGB(0, 0, 0));
    SendMessageW(main_window.handle, WM_TIMER, TIMER_SAVE_TIP, 0);
    EXPECT_EQ(save_tip_text(), nullptr);
    EXPECT_NE(below_tip(), RGB(0, 0, 0));

    // Closing the window writes the saves it has taken: one written, two waiting.
    for (int press = 0; press < 3; ++press) {
        command(IDC_SAVE_PICTURE);
    }
    DestroyWindow(main_window.handle);
    main_window.handle = nullptr;
    EXPECT_EQ(main_window.picture_saver.running, nullptr);
    std::vector<std::wstring> made;
    std::ranges::set_difference(files_in(tavisko), before, std::back_inserter(made));
    EXPECT_EQ(made.size(), 3u);
    for (const std::wstring& name : made) {
        EXPECT_EQ(decode_png(tavisko + L"\\" + name).width, 720u) << "whole";
        DeleteFileW((tavisko + L"\\" + name).c_str());
    }
}

// 1080 rows coded as 1088: the window, its sizing and the saved file see the
// 1080 of the aperture, as do the copy and the paint, which take the same
// stored frame.
TEST_F(PictureSaveTest, TheRowsOutsideTheAperturesAreaAreNeitherShownNorSaved) {
    SyntheticCamera camera = frozen_camera(1920, 1088);
    camera.types[0].aperture = {0, 0, 1920, 1080};
    open({camera});
    ASSERT_TRUE(pump_until([] { return main_window.known_frame_width != 0; }));
    EXPECT_EQ(main_window.known_frame_height, 1080);
    command(IDC_SAVE_PICTURE);
    ASSERT_TRUE(pump_until([] { return save_tip_text() != nullptr; }));
    const std::wstring path = saved_pictures() + L"\\" + (save_tip_text() + 6);
    const DecodedPng png = decode_png(path);
    DeleteFileW(path.c_str());
    EXPECT_EQ(std::pair(png.width, png.height), std::pair(1920u, 1080u));
    ASSERT_FALSE(png.pixels.empty());
    EXPECT_EQ(png.pixels.back() & 0xFFFFFF, synthetic_pattern_pixel(1919, 1079, 0));
}

TEST_F(PictureSaveTest, ATakenNameGetsTheNextNumberAndAFailedSaveLeavesNoFileAndSaysWhy) {
    const std::wstring tavisko = folder.path + L"\\Tavisko"; // made by the save
    PictureSaveJob job;
    ASSERT_EQ(save_small_picture(tavisko, &job), S_OK);
    ASSERT_EQ(std::wstring(job.name), L"Tavisko 2026-12-07 14.45.39.png");
    ASSERT_TRUE(write_file_bytes(tavisko + L"\\Tavisko 2026-12-07 14.45.39 (2).png", "mine"));
    ASSERT_EQ(save_small_picture(tavisko, &job), S_OK);
    EXPECT_EQ(std::wstring(job.name), L"Tavisko 2026-12-07 14.45.39 (3).png");
    std::string kept;
    ASSERT_TRUE(read_file_bytes(tavisko + L"\\Tavisko 2026-12-07 14.45.39 (2).png", kept));
    EXPECT_EQ(kept, "mine");
    EXPECT_EQ(files_in(tavisko), (std::vector<std::wstring>{L"Tavisko 2026-12-07 14.45.39 (2).png",
                                                            L"Tavisko 2026-12-07 14.45.39 (3).png",
                                                            L"Tavisko 2026-12-07 14.45.39.png"}));
    const DecodedPng png = decode_png(tavisko + L"\\Tavisko 2026-12-07 14.45.39 (3).png");
    EXPECT_EQ(png.pixels, (std::vector<uint32_t>{0xFF102030, 0xFF405060}));

    // Every name of that second taken: the picture is written, then given up.
    const std::wstring full = folder.path + L"\\full";
    ASSERT_TRUE(CreateDirectoryW(full.c_str(), nullptr));
    for (int32_t counter = 1; counter <= 999; ++counter) {
        ASSERT_TRUE(
            format_picture_name({2026, 12, 7, 14, 45, 39}, counter, job.name, picture_name_units));
        ASSERT_TRUE(write_file_bytes(full + L"\\" + job.name, ""));
    }
    EXPECT_EQ(save_small_picture(full, &job), HRESULT(0x80070050)) << "the file exists";
    EXPECT_EQ(job.name[0], L'\0');
    EXPECT_EQ(files_in(full).size(), 999u);
    // The folder's name is a file's: nothing can be written.
    const std::wstring file = folder.path + L"\\file";
    ASSERT_TRUE(write_file_bytes(file, "x"));
    EXPECT_TRUE(FAILED(save_small_picture(file, &job)));
    EXPECT_EQ(files_in(folder.path), (std::vector<std::wstring>{L"Tavisko", L"file", L"full"}));
}

// Virus scanners and sync tools open each new file at once, sharing only
// reading. A thread doing so, each hold 200 ms, keeps no save from finishing.
TEST_F(PictureSaveTest, AProgramOpeningEachNewFileAtOnceMakesNoSaveFailOrLeaveATemporaryFile) {
    const std::wstring tavisko = folder.path + L"\\Tavisko";
    ASSERT_TRUE(CreateDirectoryW(tavisko.c_str(), nullptr));
    std::atomic<int> refused = 0; // opens refused: the save had that file open
    std::jthread reader([&](std::stop_token stop) {
        std::vector<std::wstring> seen;
        std::vector<std::pair<OwnedHandle, ULONGLONG>> holds;
        while (!stop.stop_requested() || !holds.empty()) {
            std::erase_if(holds, [](const auto& hold) { return GetTickCount64() >= hold.second; });
            for (const std::wstring& name : files_in(tavisko)) {
                if (stop.stop_requested() || std::ranges::count(seen, name) != 0) {
                    continue;
                }
                OwnedHandle file(CreateFileW((tavisko + L"\\" + name).c_str(), GENERIC_READ,
                                             FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
                if (file) {
                    seen.push_back(name);
                    holds.emplace_back(std::move(file), GetTickCount64() + 200);
                } else if (GetLastError() == ERROR_SHARING_VIOLATION) {
                    ++refused;
                }
            }
        }
    });
    PictureSaveJob job;
    for (int save = 0; save < 6; ++save) {
        ASSERT_EQ(save_small_picture(tavisko, &job, 1920, 1080), S_OK) << save;
    }
    reader = {};
    EXPECT_GE(refused, 1) << "the reader reached a file while the save still had it";
    const std::vector<std::wstring> names = files_in(tavisko);
    EXPECT_EQ(names,
              (std::vector<std::wstring>{
                  L"Tavisko 2026-12-07 14.45.39 (2).png", L"Tavisko 2026-12-07 14.45.39 (3).png",
                  L"Tavisko 2026-12-07 14.45.39 (4).png", L"Tavisko 2026-12-07 14.45.39 (5).png",
                  L"Tavisko 2026-12-07 14.45.39 (6).png", L"Tavisko 2026-12-07 14.45.39.png"}));
    for (const std::wstring& name : names) {
        const DecodedPng png = decode_png(tavisko + L"\\" + name);
        EXPECT_EQ(std::pair(png.width, png.height), std::pair(1920u, 1080u)) << "whole";
    }
}

} // namespace
