#include "camctl/C5U87xCtl.h"

#include <cerrno>
#include <string>
#include <tuple>

#include <gtest/gtest.h>
#include <linux/v4l2-controls.h>

#include "CamctlTestSupport.h"

namespace orvane {
namespace {

using test::UnitRequest;

struct Wrapped {
    test::TempDir folder;
    std::shared_ptr<SimulatedCamera> camera = std::make_shared<SimulatedCamera>();
    C5U87xCtl wrapper{folder.path()};
};

// The wrapper's widths decide the register requests (1 and 1 when built),
// and it makes one attempt: a stalled register command is not repeated.
TEST(C5U87xCtl, RegisterRequestsFollowTheWrappersWidthsInOneAttempt)
{
    Wrapped w;
    ASSERT_TRUE(w.wrapper.Attach(w.camera));
    w.camera->SetRecording(true);
    std::uint16_t value = 0;
    ASSERT_TRUE(w.wrapper.ReadRegister(0x0106, value));
    EXPECT_EQ(value, 42); // the low byte of the address: register 0x06 of page 0
    EXPECT_EQ(w.camera->TakeRequests()[3], UnitRequest(3, UvcQuery::SetCur, {2, 1}));
    w.wrapper.SetDataWidth(2);
    ASSERT_TRUE(w.wrapper.WriteRegister(0x09, 0x0321));
    EXPECT_EQ(w.camera->TakeRequests().back(), UnitRequest(3, UvcQuery::SetCur, {1, 3, 3, 0x09, 0x03, 0x21}));
    w.camera->Inject({SimulatedCamera::RequestKind::Unit, 3, UvcQuery::GetCur, 1, EPIPE, 0});
    EXPECT_FALSE(w.wrapper.ReadRegister(0x00, value));
    EXPECT_TRUE(w.wrapper.ReadRegister(0x00, value));
    EXPECT_EQ(value, SimulatedCamera::kChipVersion);
}

struct InfoCase {
    const char* label;
    int id;
    bool readable;
    CameraPropertyInfo info;
};

class PropertyInfoTest : public ::testing::TestWithParam<InfoCase> {};

TEST_P(PropertyInfoTest, AnswersTheControlsRangeAndFlags)
{
    Wrapped w;
    ASSERT_TRUE(w.wrapper.Attach(w.camera));
    CameraPropertyInfo info;
    EXPECT_EQ(w.wrapper.GetPropertyInfo(GetParam().id, info), GetParam().readable);
    if (GetParam().readable) {
        EXPECT_EQ(info, GetParam().info);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ids, PropertyInfoTest,
    ::testing::Values(InfoCase{"Blue", 402, true, {0, 0x7F, 1, SimulatedCamera::kBlueGainDefault, false, false}},
                      InfoCase{"AutoWhiteBalance", 403, true, {0, 1, 1, 0, false, false}},
                      InfoCase{"Exposure", 404, true, {1, 0x7FF, 1, 0x400, true, false}},
                      InfoCase{"WhiteBalanceAutoFlag", 208, true, {2800, 6500, 10, 4600, true, false}},
                      InfoCase{"PanMissing", 0, false, {}}),
    [](const auto& test) { return std::string(test.param.label); });

// The ids of automatic flags read and write the flag of the control before them.
TEST(C5U87xCtl, AutoIdsReadAndWriteTheFlag)
{
    Wrapped w;
    ASSERT_TRUE(w.wrapper.Attach(w.camera));
    ASSERT_TRUE(w.wrapper.WriteControl(202, 12));
    for (const auto& [flagId, valueId, value] : {std::tuple{203, 202, 12}, 
                                                   {405, 404, SimulatedCamera::kExposureDefault}}) {
        std::int32_t read = -1;
        ASSERT_TRUE(w.wrapper.GetProperty(flagId, read));
        EXPECT_EQ(read, 0);
        ASSERT_TRUE(w.wrapper.WriteControl(flagId, 1));
        ASSERT_TRUE(w.wrapper.GetProperty(flagId, read));
        EXPECT_EQ(read, 1);
        ASSERT_TRUE(w.wrapper.GetProperty(valueId, read));
        EXPECT_EQ(read, value);
    }
}

// A second attach keeps the open device; after closing nothing answers.
TEST(C5U87xCtl, AttachKeepsAnOpenDeviceAndCloseEndsIt)
{
    Wrapped w;
    ASSERT_TRUE(w.wrapper.Attach(w.camera));
    auto other = std::make_shared<SimulatedCamera>("another");
    other->SetRecording(true);
    EXPECT_TRUE(w.wrapper.Attach(other));
    EXPECT_TRUE(other->TakeRequests().empty());
    ASSERT_TRUE(w.wrapper.WriteControl(204, 100));
    EXPECT_EQ(w.camera->Picture().saturation, 100);
    w.wrapper.Close();
    EXPECT_FALSE(w.wrapper.attached());
    std::int32_t value = 0;
    EXPECT_FALSE(w.wrapper.GetProperty(204, value));
    std::uint16_t word = 0;
    EXPECT_FALSE(w.wrapper.ReadRegister(0, word));
    EXPECT_TRUE(w.wrapper.Attach(other));
    EXPECT_TRUE(w.wrapper.GetProperty(204, value));
    EXPECT_EQ(value, 64);
}

} // namespace
} // namespace orvane
