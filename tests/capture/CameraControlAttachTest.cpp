#include <vector>

#include <gtest/gtest.h>

#include "CamctlTestSupport.h"
#include "capture/CCapture.h"

namespace orvane {
namespace {

using test::SensorSelection;
using test::UnitRequest;

// The demo camera is the maker's (vendor 0x12C1, product 0x5020): OpenDevice
// attaches the wrapper, reads the controls out, selects page 0 and reads the
// sensor's register 0x00, in that order.
TEST(CameraControlAttach, OpenDeviceAttachesTheWrapperToTheMakersCamera)
{
    CCapture capture;
    capture.SetDemoCamera(true);
    capture.deviceIndex = 0;
    const std::vector<CaptureDevice> devices = capture.EnumDevices();
    ASSERT_FALSE(devices.empty());
    EXPECT_EQ(devices[0].vendorId, CCapture::kMakerVendorId);
    EXPECT_EQ(devices[0].productId, CCapture::kMakerProductId);
    SimulatedCamera& camera = capture.demoCamera();
    // Another page selected before: the start-up selects page 0 again.
    for (const std::vector<std::uint8_t>& command :
         {std::vector<std::uint8_t>{0, SimulatedCamera::kBusAddress, SimulatedCamera::kBusMode},
          std::vector<std::uint8_t>{1, 3, 3, 0xF0, 0x00, 0x02}}) {
        std::vector<std::uint8_t> data = command;
        data.resize(11);
        ASSERT_EQ(camera.QueryExtensionUnit(3, UvcQuery::SetCur, data), 0);
    }
    ASSERT_EQ(camera.page(), 2);
    camera.SetRecording(true);

    ASSERT_EQ(capture.OpenDevice(), 0);
    ASSERT_NE(capture.cameraControl(), nullptr);
    EXPECT_EQ(camera.page(), 0);
    const std::vector<SimulatedCamera::Request> requests = camera.TakeRequests();
    ASSERT_GT(requests.size(), 10u);
    // The read-out begins with the register selectors' information.
    EXPECT_EQ(requests[0].target, 1u);
    EXPECT_EQ(requests[0].query, UvcQuery::GetInfo);
    const std::vector<SimulatedCamera::Request> selection = SensorSelection();
    std::vector<SimulatedCamera::Request> startUp = selection;
    startUp.push_back(UnitRequest(3, UvcQuery::SetCur, {1, 3, 3, 0xF0, 0x00, 0x00}));
    startUp.insert(startUp.end(), selection.begin(), selection.end());
    startUp.push_back(UnitRequest(3, UvcQuery::SetCur, {1, 1, 5, 0x00}));
    startUp.push_back(UnitRequest(3, UvcQuery::SetCur, {2, 2}));
    startUp.push_back(UnitRequest(3, UvcQuery::GetCur, {0x3A, 0x14}));
    const std::vector<SimulatedCamera::Request> tail(requests.end() - static_cast<std::ptrdiff_t>(startUp.size()),
                                                     requests.end());
    EXPECT_EQ(tail, startUp);

    // The wrapper reads at the widths the start-up set: 1 and 2.
    std::uint16_t value = 0;
    ASSERT_TRUE(capture.cameraControl()->ReadRegister(0x2D, value));
    EXPECT_EQ(value, SimulatedCamera::kRedGainDefault);
}

// Any other device leaves the capture without camera control.
TEST(CameraControlAttach, OtherDevicesGetNoCameraControl)
{
    CCapture capture;
    capture.SetDemoCamera(true);
    capture.AddSourceDevice("pattern", "videotestsrc is-live=true");
    capture.deviceIndex = 0;
    ASSERT_EQ(capture.OpenDevice(), 0);
    ASSERT_NE(capture.cameraControl(), nullptr);
    capture.deviceIndex = static_cast<int>(capture.EnumDevices().size()) - 1;
    ASSERT_EQ(capture.device().name, "Orvane demo camera");
    ASSERT_EQ(capture.OpenDevice(), 0);
    EXPECT_EQ(capture.device().name, "pattern");
    EXPECT_EQ(capture.cameraControl(), nullptr);
    capture.deviceIndex = 9;
    EXPECT_EQ(capture.OpenDevice(), -1);
    EXPECT_EQ(capture.cameraControl(), nullptr);
}

} // namespace
} // namespace orvane
