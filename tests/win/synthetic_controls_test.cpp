// The synthetic camera's control interfaces answer as a driver's do: the
// settings window's tests stand on them.

#include <mfapi.h>
#include <mferror.h>
#include <strmif.h>
#include <wrl/client.h>

#include <gtest/gtest.h>

#include <array>

#include "capture/capture_codes.h"
#include "synthetic_camera/synthetic_camera.h"

using Microsoft::WRL::ComPtr;

namespace {

TEST(SyntheticControls, TheSourceAnswersAsADriverAndFailsOnceShutDown) {
    ASSERT_TRUE(SUCCEEDED(MFStartup(MF_VERSION, MFSTARTUP_LITE)));
    SyntheticCamera camera;
    camera.symbolic_link = L"\\\\?\\synthetic#controls";
    camera.types = {{MFVideoFormat_RGB32, 64, 48, 30, 1}};
    camera.controls = synthetic_controls_from_list(L"gain:0..10/2=4,whitebalance:0..9/1=5auto");
    ComPtr<IMFMediaSource> source;
    ASSERT_TRUE(SUCCEEDED(synthetic_open_source(camera, &source)));
    ComPtr<IAMCameraControl> lens;
    EXPECT_EQ(source->QueryInterface(IID_PPV_ARGS(&lens)), E_NOINTERFACE) << "no lens control";
    ComPtr<IAMVideoProcAmp> amp;
    ASSERT_EQ(source->QueryInterface(IID_PPV_ARGS(&amp)), S_OK);

    LONG r[5] = {};
    EXPECT_EQ(amp->GetRange(7, &r[0], &r[1], &r[2], &r[3], &r[4]), S_OK);
    EXPECT_EQ((std::array{r[0], r[1], r[2], r[3], r[4]}), (std::array<LONG, 5>{0, 9, 1, 5, 3}));
    EXPECT_EQ(amp->GetRange(0, &r[0], &r[1], &r[2], &r[3], &r[4]),
              HRESULT_FROM_WIN32(ERROR_NOT_FOUND))
        << "brightness is not offered";
    // Refused: beyond the range, a mode the control lacks, no mode at all.
    const std::array<LONG, 4> calls[] = {
        {9, 11, 2, E_INVALIDARG}, {9, 6, 1, E_INVALIDARG}, {9, 6, 3, E_INVALIDARG},
        {9, 6, 2, S_OK},          {7, 0, 1, S_OK},
    };
    for (const auto& [property, value, flags, result] : calls) {
        EXPECT_EQ(amp->Set(property, value, flags), HRESULT(result)) << property << " " << value;
    }
    LONG value = 0, flags = 0;
    EXPECT_EQ(amp->Get(7, &value, &flags), S_OK);
    EXPECT_EQ(std::pair(value, flags), std::pair(5L, 1L)) << "automatic keeps the value";
    ASSERT_EQ(synthetic_control_sets().size(), 2u);

    synthetic_unplug(camera.symbolic_link);
    EXPECT_EQ(amp->Get(9, &value, &flags), HRESULT(hresult_device_invalidated));
    source->Shutdown();
    EXPECT_EQ(amp->Set(9, 4, 2), MF_E_SHUTDOWN);
    amp.Reset();
    source.Reset();
    synthetic_set_cameras({});
    EXPECT_EQ(synthetic_live_counts().sources, 0);
    MFShutdown();
}

} // namespace
