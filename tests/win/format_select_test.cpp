#include <mfapi.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include "capture/capture.h"
#include "capture/device_layer.h"
#include "capture/synthetic/synthetic_camera.h"
#include "webcam_formats.h"

using Microsoft::WRL::ComPtr;

namespace {

struct FormatSelectTest : testing::Test {
    void SetUp() override { ASSERT_TRUE(SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE))); }
    void TearDown() override {
        synthetic_set_cameras({});
        MFShutdown();
    }

    // Opens a synthetic device with these native types through the device
    // layer, as the worker does.
    static ComPtr<IMFMediaSource> open(const std::vector<SyntheticType>& types) {
        SyntheticCamera camera;
        camera.symbolic_link = L"\\\\?\\synthetic#formats";
        camera.types = types;
        synthetic_set_cameras({camera});
        ComPtr<IMFAttributes> attributes;
        MFCreateAttributes(&attributes, 1);
        attributes->SetString(MF_DEVSOURCE_ATTRIBUTE_SOURCE_TYPE_VIDCAP_SYMBOLIC_LINK,
                              camera.symbolic_link.c_str());
        ComPtr<IMFMediaSource> source;
        EXPECT_TRUE(SUCCEEDED(device_create_source(attributes.Get(), &source)));
        return source;
    }

    static ComPtr<IMFMediaTypeHandler> handler_of(IMFMediaSource* source) {
        ComPtr<IMFPresentationDescriptor> presentation;
        source->CreatePresentationDescriptor(&presentation);
        BOOL selected = FALSE;
        ComPtr<IMFStreamDescriptor> stream;
        presentation->GetStreamDescriptorByIndex(0, &selected, &stream);
        ComPtr<IMFMediaTypeHandler> handler;
        stream->GetMediaTypeHandler(&handler);
        return handler;
    }

    // The index of the native type the choice made current, or -1 for none.
    static int chosen(const std::vector<SyntheticType>& types) {
        ComPtr<IMFMediaSource> source = open(types);
        select_native_format(source.Get());
        ComPtr<IMFMediaTypeHandler> handler = handler_of(source.Get());
        ComPtr<IMFMediaType> current;
        int index = -1;
        if (SUCCEEDED(handler->GetCurrentMediaType(&current))) {
            for (DWORD i = 0; i < types.size(); ++i) {
                ComPtr<IMFMediaType> type;
                handler->GetMediaTypeByIndex(i, &type);
                if (type.Get() == current.Get()) {
                    index = int(i);
                    break;
                }
            }
        }
        source->Shutdown();
        return index;
    }
};

const GUID nv12 = MFVideoFormat_NV12;
const GUID yuy2 = MFVideoFormat_YUY2;
const GUID rgb32 = MFVideoFormat_RGB32;
const GUID mjpg = MFVideoFormat_MJPG;
const GUID h264 = MFVideoFormat_H264;

TEST_F(FormatSelectTest, RulesApplyInTheirOrder) {
    struct Case {
        const char* what;
        std::vector<SyntheticType> types;
        int expected;
    } cases[] = {
        {"rate threshold before area", {{nv12, 1920, 1080, 15, 1}, {nv12, 640, 480, 30, 1}}, 1},
        {"area before subtype", {{nv12, 1280, 720, 30, 1}, {mjpg, 1920, 1080, 30, 1}}, 1},
        {"rate before subtype", {{nv12, 1280, 720, 30, 1}, {yuy2, 1280, 720, 60, 1}}, 1},
        {"nv12 beats yuy2", {{yuy2, 640, 480, 30, 1}, {nv12, 640, 480, 30, 1}}, 1},
        {"rgb32 beats mjpg", {{mjpg, 640, 480, 30, 1}, {rgb32, 640, 480, 30, 1}}, 1},
        {"mjpg beats others", {{h264, 640, 480, 30, 1}, {mjpg, 640, 480, 30, 1}}, 1},
        {"yuy2 and rgb32 tie: lower index", {{rgb32, 640, 480, 30, 1}, {yuy2, 640, 480, 30, 1}}, 0},
        {"equal types: lower index", {{yuy2, 640, 480, 30, 1}, {yuy2, 640, 480, 30, 1}}, 0},
        {"25 fps meets the threshold", {{nv12, 1280, 720, 24, 1}, {mjpg, 640, 480, 25, 1}}, 1},
        {"29.97 meets it", {{nv12, 1280, 720, 20, 1}, {mjpg, 640, 480, 30000, 1001}}, 1},
        {"23.976 does not", {{nv12, 1280, 720, 15, 1}, {mjpg, 640, 480, 24000, 1001}}, 0},
        {"too large is never chosen",
         {{nv12, 3840, 2160, 30, 1}, {nv12, 1920, 1200, 30, 1}, {nv12, 1920, 1080, 30, 1}},
         2},
        {"all below threshold: area then rate",
         {{nv12, 640, 480, 20, 1}, {nv12, 1280, 720, 10, 1}, {nv12, 1280, 720, 15, 1}},
         2},
        {"30/0 counts as 0 fps", {{nv12, 1280, 720, 30, 0}, {nv12, 1280, 720, 1, 1}}, 1},
        {"no rate attribute counts as 0", {{nv12, 1280, 720, 0, 0}, {nv12, 640, 480, 5, 1}}, 0},
        {"no frame size or subtype is ignored",
         {{nv12, 0, 0, 30, 1}, {GUID_NULL, 1280, 720, 30, 1}, {mjpg, 320, 240, 5, 1}},
         2},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(chosen(c.types), c.expected) << c.what;
    }
}

TEST_F(FormatSelectTest, NothingWithinLimitsKeepsTheCurrentFormat) {
    ComPtr<IMFMediaSource> source = open({{nv12, 3840, 2160, 30, 1}, {nv12, 2560, 1440, 30, 1}});
    ComPtr<IMFMediaTypeHandler> handler = handler_of(source.Get());
    ComPtr<IMFMediaType> second;
    handler->GetMediaTypeByIndex(1, &second);
    ASSERT_TRUE(SUCCEEDED(handler->SetCurrentMediaType(second.Get())));
    select_native_format(source.Get());
    ComPtr<IMFMediaType> current;
    ASSERT_TRUE(SUCCEEDED(handler->GetCurrentMediaType(&current)));
    EXPECT_EQ(current.Get(), second.Get());
    source->Shutdown();
}

TEST_F(FormatSelectTest, AShutDownSourceIsLeftAlone) {
    ComPtr<IMFMediaSource> source = open({{nv12, 640, 480, 30, 1}});
    ComPtr<IMFMediaTypeHandler> handler = handler_of(source.Get());
    source->Shutdown();
    select_native_format(source.Get()); // CreatePresentationDescriptor fails: nothing happens
    ComPtr<IMFMediaType> current;
    EXPECT_TRUE(FAILED(handler->GetCurrentMediaType(&current)));
}

GUID subtype_guid(WebcamSubtype subtype) {
    switch (subtype) {
    case WebcamSubtype::NV12:
        return nv12;
    case WebcamSubtype::YUY2:
        return yuy2;
    case WebcamSubtype::RGB32:
        return rgb32;
    case WebcamSubtype::MJPG:
        return mjpg;
    case WebcamSubtype::H264:
        return h264;
    case WebcamSubtype::Other:
        break;
    }
    return MFVideoFormat_I420;
}

TEST_F(FormatSelectTest, PublishedWebcamFormatLists) {
    for (const Webcam& webcam : webcams) {
        std::vector<SyntheticType> types;
        for (int i = 0; i < webcam.count; ++i) {
            const WebcamFormat& f = webcam.formats[i];
            types.push_back(
                {subtype_guid(f.subtype), f.width, f.height, f.fps_numerator, f.fps_denominator});
        }
        EXPECT_EQ(chosen(types), webcam.expected_index) << webcam.name << ": " << webcam.why;
    }
}

TEST_F(FormatSelectTest, SubtypePreferenceTable) {
    EXPECT_EQ(subtype_preference(nv12), 0);
    EXPECT_EQ(subtype_preference(yuy2), 1);
    EXPECT_EQ(subtype_preference(rgb32), 1);
    EXPECT_EQ(subtype_preference(mjpg), 2);
    EXPECT_EQ(subtype_preference(h264), 3);
    EXPECT_EQ(subtype_preference(GUID_NULL), 3);
}

} // namespace
