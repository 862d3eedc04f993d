#include <mfapi.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <string>

#include "capture/capture.h"
#include "capture/format_select.h"
#include "synthetic_camera/synthetic_camera.h"

using Microsoft::WRL::ComPtr;

namespace {

const GUID nv12 = MFVideoFormat_NV12, yuy2 = MFVideoFormat_YUY2, rgb32 = MFVideoFormat_RGB32;
const GUID mjpg = MFVideoFormat_MJPG, h264 = MFVideoFormat_H264;

struct FormatSelectTest : testing::Test {
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE))); }
    void TearDown() override {
        synthetic_set_cameras({});
        MFShutdown();
    }
};

// The rules themselves are checked in the platform-free tests; these rows
// check what is read from each media type: the subtype, size and rate
// attributes, the device's order on a tie, and that a device with nothing
// within the limits is left as it is.
TEST_F(FormatSelectTest, ReadsEachTypeAndKeepsTheDeviceOrder) {
    // clang-format off
    struct Case { const char* what; std::vector<SyntheticType> types; int expected; };
    const Case cases[] = {
        {"nv12 beats yuy2", {{yuy2, 640, 480, 30, 1}, {nv12, 640, 480, 30, 1}}, 1},
        {"rgb32 beats mjpg", {{mjpg, 640, 480, 30, 1}, {rgb32, 640, 480, 30, 1}}, 1},
        {"mjpg beats others", {{h264, 640, 480, 30, 1}, {mjpg, 640, 480, 30, 1}}, 1},
        {"yuy2 and rgb32 tie: lower index", {{rgb32, 640, 480, 30, 1}, {yuy2, 640, 480, 30, 1}}, 0},
        {"29.97 meets it", {{nv12, 1280, 720, 20, 1}, {mjpg, 640, 480, 30000, 1001}}, 1},
        {"no rate attribute counts as 0", {{nv12, 1280, 720, 0, 0}, {nv12, 640, 480, 5, 1}}, 0},
        {"no size, zero width, no subtype", {{nv12, 0, 0, 30, 1}, {nv12, 0, 480, 30, 1}, {GUID_NULL, 1280, 720, 30, 1}, {mjpg, 320, 240, 5, 1}}, 3},
        {"nothing within the limits: none made current", {{nv12, 3840, 2160, 30, 1}, {nv12, 2560, 1440, 30, 1}}, -1},
    };
    // clang-format on
    for (const Case& c : cases) {
        // A synthetic device with these native types.
        SyntheticCamera camera;
        camera.symbolic_link = L"\\\\?\\synthetic#formats";
        camera.types = c.types;
        ComPtr<IMFMediaSource> source;
        ComPtr<IMFPresentationDescriptor> presentation;
        ComPtr<IMFStreamDescriptor> stream;
        ComPtr<IMFMediaTypeHandler> handler;
        BOOL selected = FALSE;
        ASSERT_TRUE(SUCCEEDED(synthetic_open_source(camera, &source)));
        ASSERT_TRUE(SUCCEEDED(source->CreatePresentationDescriptor(&presentation)));
        ASSERT_TRUE(SUCCEEDED(presentation->GetStreamDescriptorByIndex(0, &selected, &stream)));
        ASSERT_TRUE(SUCCEEDED(stream->GetMediaTypeHandler(&handler)));
        select_native_format(source.Get());
        // The index of the native type made current, or -1 for none.
        int index = -1;
        ComPtr<IMFMediaType> current, type;
        for (DWORD i = 0; index < 0 && SUCCEEDED(handler->GetCurrentMediaType(&current)) &&
                          SUCCEEDED(handler->GetMediaTypeByIndex(i, &type));
             ++i) {
            index = type.Get() == current.Get() ? int(i) : -1;
        }
        EXPECT_EQ(index, c.expected) << c.what;
        source->Shutdown();
    }
}

} // namespace
