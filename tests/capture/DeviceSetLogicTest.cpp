#include "capture/DeviceSetLogic.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "capture/CCapture.h"
#include "capture/DemoPicture.h"
#include "capture/IVideoDevice.h"
#include "platform/ProfileFile.h"
#include "settings/CameraSection.h"

namespace orvane {
namespace {

// A device list of test patterns under the names the model rules know,
// after whatever cameras the machine has.
class DeviceSetLogicTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_capture.SetDemoCamera(true);
        for (const char* name : {"USB Camera", "VTC-07U4", "DORVEX-210QX4"}) {
            m_capture.AddSourceDevice(name, "videotestsrc is-live=true");
        }
    }

    [[nodiscard]] int IndexOf(const std::string& name) const
    {
        const std::vector<CaptureDevice> devices = m_capture.EnumDevices();
        for (std::size_t i = 0; i < devices.size(); ++i) {
            if (devices[i].name == name) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    DeviceSetLogic MakeLogic()
    {
        return DeviceSetLogic(m_capture, m_profile, m_profileName, m_smartTee, m_maker, m_device,
                              [this](const std::string&, const std::vector<std::string>& names, const std::string&) {
                                  ++m_asked;
                                  return names.back();
                              });
    }

    CCapture m_capture;
    ProfileFile m_profile;
    std::string m_profileName;
    int m_smartTee = 0;
    int m_maker = 0;
    int m_device = -1;
    int m_asked = 0;
};

struct BoxCase {
    const char* name;
    int smartTeeFlag;
    int makerFlag;
    DeviceSetLogic::CheckBox smartTee;
    DeviceSetLogic::CheckBox maker;
    int smartTeeAfter;
    int makerAfter;
};

class DeviceSetBoxesTest : public DeviceSetLogicTest, public ::testing::WithParamInterface<BoxCase> {};

TEST_P(DeviceSetBoxesTest, SelectionFollowsTheModelRules)
{
    const BoxCase& c = GetParam();
    m_smartTee = c.smartTeeFlag;
    m_maker = c.makerFlag;
    DeviceSetLogic logic = MakeLogic();
    logic.Open();
    logic.Select(IndexOf(c.name));
    EXPECT_EQ(logic.smartTeeBox(), c.smartTee);
    EXPECT_EQ(logic.makerBox(), c.maker);
    EXPECT_EQ(m_smartTee, c.smartTeeAfter);
    EXPECT_EQ(m_maker, c.makerAfter);
}

INSTANTIATE_TEST_SUITE_P(Models, DeviceSetBoxesTest,
                         ::testing::Values(BoxCase{"VTC-07U4", 0, 0, {true, false}, {false, true}, 1, 0},
                                           BoxCase{"DORVEX-210QX4", 0, 0, {true, false}, {true, false}, 1, 1},
                                           BoxCase{"USB Camera", 1, 0, {true, true}, {false, true}, 1, 0},
                                           BoxCase{"USB Camera", 0, 1, {false, true}, {true, true}, 0, 1}));

TEST_F(DeviceSetLogicTest, OpeningSelectsTheStoredIndexOrNothing)
{
    m_device = IndexOf("VTC-07U4");
    DeviceSetLogic logic = MakeLogic();
    logic.Open();
    EXPECT_EQ(logic.names(), [this] {
        std::vector<std::string> names;
        m_capture.EnumDeviceNames(names);
        return names;
    }());
    EXPECT_EQ(logic.selection(), m_device);
    EXPECT_EQ(logic.smartTeeBox(), (DeviceSetLogic::CheckBox{true, false}));

    m_device = -1;
    DeviceSetLogic none = MakeLogic();
    none.Open();
    EXPECT_EQ(none.selection(), -1);
}

TEST_F(DeviceSetLogicTest, OkWithoutSelectionMeansChooseByPriority)
{
    m_device = -1;
    DeviceSetLogic logic = MakeLogic();
    logic.Open();
    logic.Ok(true, false);
    EXPECT_EQ(m_device, -1);
    EXPECT_EQ(m_capture.deviceIndex, -1);
    EXPECT_EQ(m_smartTee, 1);
}

TEST_F(DeviceSetLogicTest, CancelRestoresTheIndexOfTheOpening)
{
    m_device = IndexOf("USB Camera");
    DeviceSetLogic logic = MakeLogic();
    logic.Open();
    logic.Select(IndexOf("VTC-07U4"));
    EXPECT_EQ(m_capture.deviceIndex, IndexOf("VTC-07U4"));
    logic.Cancel();
    EXPECT_EQ(m_device, IndexOf("USB Camera"));
    EXPECT_EQ(m_capture.deviceIndex, IndexOf("USB Camera"));

    DeviceSetLogic again = MakeLogic();
    again.Open();
    again.Select(IndexOf("VTC-07U4"));
    again.Ok(true, false);
    EXPECT_EQ(m_device, IndexOf("VTC-07U4"));
}

TEST_F(DeviceSetLogicTest, SelectionReadsItsSectionAndAlwaysAsksWithSeveralProfiles)
{
    m_profile.LoadFromText("[USB Camera]\nCount=2\nName1=Wide\nName2=Close\n"
                           "[Close]\nWidth=320\nHeight=240\nFrame=300\n");
    m_profileName = "Close";
    DeviceSetLogic logic = MakeLogic();
    logic.Open();
    logic.Select(IndexOf("USB Camera"));
    EXPECT_EQ(m_asked, 1) << "the device dialog asks even with a remembered profile";
    EXPECT_EQ(m_profileName, "Close");
    EXPECT_EQ(m_capture.width, 320);
    EXPECT_EQ(m_capture.height, 240);
    EXPECT_EQ(m_capture.frameTime, 333333);
    EXPECT_FALSE(m_capture.isOpen());
}

TEST_F(DeviceSetLogicTest, SectionWithoutSizeTakesTheDevicesFormat)
{
    DeviceSetLogic logic = MakeLogic();
    logic.Open();
    logic.Select(IndexOf("Orvane demo camera"));
    EXPECT_EQ(m_capture.width, kDemoWidth);
    EXPECT_EQ(m_capture.height, kDemoHeight);
}

TEST_F(DeviceSetLogicTest, CameraSettingReadsTheChoiceBackAndSavesIt)
{
    const int demo = IndexOf("Orvane demo camera");
    m_device = demo;
    DeviceSetLogic logic = MakeLogic();
    logic.Open();
    logic.Select(demo);
    FormatChoice shown;
    std::vector<VideoPixelFormat> offered;
    ASSERT_TRUE(logic.CameraSetting([&](IVideoDevice& device, const FormatChoice& current) {
        shown = current;
        offered = device.EnumFormats();
        return std::optional<FormatChoice>(
            FormatChoice{offered[0].fourcc, offered[0].sizes[1].width, offered[0].sizes[1].height, {15, 1}});
    }));
    EXPECT_EQ(shown, (FormatChoice{MakeFourcc('B', 'G', 'R', '3'), kDemoWidth, kDemoHeight, {15, 1}}));
    ASSERT_EQ(offered.size(), 1u);
    ASSERT_EQ(offered[0].sizes.size(), 3u);
    EXPECT_EQ(m_capture.width, kDemoWidth / 2);
    EXPECT_EQ(m_capture.height, kDemoHeight / 2);
    EXPECT_EQ(m_capture.subType, kMediaSubtypeRgb24);
    const CameraSection saved = LoadCameraSection(m_profile, "Orvane demo camera");
    EXPECT_EQ(saved.Width, kDemoWidth / 2);
    EXPECT_EQ(saved.Height, kDemoHeight / 2);
    EXPECT_EQ(saved.frameTime, 666666);
    EXPECT_FALSE(m_profile.HasKey("Orvane demo camera", "Priority")) << "the device dialog never writes Priority";

    // A cancelled page changes nothing.
    ASSERT_TRUE(logic.CameraSetting([](IVideoDevice&, const FormatChoice&) { return std::optional<FormatChoice>(); }));
    EXPECT_EQ(m_capture.width, kDemoWidth / 2);
}

TEST_F(DeviceSetLogicTest, DeclaredSourcesHaveNoPages)
{
    DeviceSetLogic logic = MakeLogic();
    logic.Open();
    logic.Select(IndexOf("USB Camera"));
    bool shown = false;
    EXPECT_FALSE(logic.CameraSetting([&](IVideoDevice&, const FormatChoice&) {
        shown = true;
        return std::optional<FormatChoice>();
    }));
    EXPECT_FALSE(logic.PortSetting([&](IVideoDevice&) { shown = true; }));
    EXPECT_FALSE(shown);
}

} // namespace
} // namespace orvane
