#include <cerrno>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <linux/v4l2-controls.h>

#include "CamctlTestSupport.h"

namespace orvane {
namespace {

using Kind = SimulatedCamera::RequestKind;
using Request = SimulatedCamera::Request;
using test::ControlRequest;
using test::UnitRequest;

// The write rules of the standard and extension-unit controls: what is sent,
// what the answer is and what the record keeps.
struct WriteCase {
    const char* label;
    int id;
    bool autoOn;
    std::int32_t value;
    std::function<void(SimulatedCamera&)> prepare;
    bool succeeds;
    std::vector<Request> requests;
};

class ControlWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ControlWriteTest, FollowsTheWriteRules)
{
    const WriteCase& c = GetParam();
    test::OpenedCamera opened;
    if (c.prepare) {
        c.prepare(*opened.camera);
    }
    ASSERT_TRUE(opened.Open());
    const PropertyRecord* record = opened.library.record(c.id);
    const PropertyRecord before = record != nullptr ? *record : PropertyRecord{};
    EXPECT_EQ(opened.library.WriteControl(c.id, c.autoOn, c.value), c.succeeds);
    EXPECT_EQ(opened.camera->TakeRequests(), c.requests);
    if (record == nullptr) {
        return;
    }
    const PropertyRecord& after = *record;
    if (!c.succeeds) {
        EXPECT_EQ(after, before);
        return;
    }
    EXPECT_EQ(after.autoOn, c.autoOn ? 1 : 0);
    EXPECT_EQ(after.current, c.autoOn ? before.current : c.value);
}

Request Set(std::uint32_t id, std::int32_t value, int result = 0)
{
    return ControlRequest(Kind::SetControl, id, value, result);
}

// The contrast control failing `count` times with `error`, and the requests that make.
std::function<void(SimulatedCamera&)> ContrastFails(int count, int error)
{
    return [=](SimulatedCamera& camera) {
        camera.Inject({Kind::SetControl, V4L2_CID_CONTRAST, std::nullopt, count, error, 0});
    };
}

std::vector<Request> ContrastSets(std::initializer_list<int> results)
{
    std::vector<Request> requests;
    for (const int result : results) {
        requests.push_back(Set(V4L2_CID_CONTRAST, 40, result));
    }
    return requests;
}

INSTANTIATE_TEST_SUITE_P(
    Rules, ControlWriteTest,
    ::testing::Values(
        WriteCase{"InRange", 200, false, 30, nullptr, true, {Set(V4L2_CID_BRIGHTNESS, 30)}},
        WriteCase{"AtMinimum", 200, false, -64, nullptr, true, {Set(V4L2_CID_BRIGHTNESS, -64)}},
        WriteCase{"AboveMaximum", 200, false, 65, nullptr, false, {}},
        WriteCase{"BelowMinimum", 206, false, 71, nullptr, false, {}},
        WriteCase{"NothingChanged", 204, false, 64, nullptr, true, {}},
        WriteCase{"NotSettable", 205, false, 5,
                  [](SimulatedCamera& camera) { camera.SetReadOnly(V4L2_CID_SHARPNESS, true); }, false, {}},
        WriteCase{"NotSupported", 0, false, 1, nullptr, false, {}},
        WriteCase{"UnknownId", 300, false, 1, nullptr, false, {}},
        WriteCase{"AutoWithoutAutoCapable", 200, true, 0, nullptr, false, {}},
        WriteCase{"AutoOnSendsOnlyTheFlag", 203, true, 25, nullptr, true, {Set(V4L2_CID_HUE_AUTO, 1)}},
        WriteCase{"ValueInManualTurnsAutoOffFirst", 207, false, 5000,
                  [](SimulatedCamera& camera) { camera.SetControl(V4L2_CID_AUTO_WHITE_BALANCE, 1); }, true,
                  {Set(V4L2_CID_AUTO_WHITE_BALANCE, 0), Set(V4L2_CID_WHITE_BALANCE_TEMPERATURE, 5000)}},
        WriteCase{"StallsTwiceThirdTakes", 201, false, 40, ContrastFails(2, EPIPE), true,
                  ContrastSets({EPIPE, EPIPE, 0})},
        WriteCase{"StallsThreeTimes", 201, false, 40, ContrastFails(3, EPIPE), false,
                  ContrastSets({EPIPE, EPIPE, EPIPE})},
        WriteCase{"NotFunctioningStopsAtOnce", 201, false, 40, ContrastFails(3, EIO), false, ContrastSets({EIO})},
        WriteCase{"TimeOutStopsAtOnce", 201, false, 40, ContrastFails(3, ETIMEDOUT), false, ContrastSets({ETIMEDOUT})},
        WriteCase{"GoneStopsAtOnce", 201, false, 40, ContrastFails(3, ENODEV), false, ContrastSets({ENODEV})},
        // Extension-unit controls share a selector: the others' fields are kept.
        WriteCase{"UnitBlueGain", 402, false, 0x30, nullptr, true,
                  {UnitRequest(4, UvcQuery::GetCur, {0x23, 0, 0x20, 0, 0x1E, 0}),
                   UnitRequest(4, UvcQuery::SetCur, {0x23, 0, 0x20, 0, 0x30, 0})}},
        WriteCase{"UnitGainAboveMaximum", 400, false, 0x80, nullptr, false, {}},
        WriteCase{"UnitAutoExposure", 404, true, 0, nullptr, true,
                  {UnitRequest(8, UvcQuery::GetCur, {0}), UnitRequest(8, UvcQuery::SetCur, {1})}}),
    [](const auto& test) { return std::string(test.param.label); });

// Reads fetch the current value; the change bits tell what the device
// changed on its own and clear when the control is read or written.
TEST(ControlWrite, ChangeBitsSetByPollingClearedByReadAndWrite)
{
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    EXPECT_EQ(opened.library.changes(), 0u);
    opened.camera->SetControl(V4L2_CID_BRIGHTNESS, 12);
    opened.camera->SetControl(V4L2_CID_GAMMA, 150);
    ASSERT_TRUE(opened.library.PollChanges());
    const std::uint32_t brightness = 1U << c5U87xCtl::ChangeBit(200);
    const std::uint32_t gamma = 1U << c5U87xCtl::ChangeBit(206);
    EXPECT_EQ(opened.library.changes(), brightness | gamma);
    ControlReading reading;
    ASSERT_TRUE(opened.library.ReadControl(200, reading));
    EXPECT_EQ(reading.current, 12);
    EXPECT_EQ(opened.library.changes(), gamma);
    ASSERT_TRUE(opened.library.WriteControl(206, false, 150));
    EXPECT_EQ(opened.library.changes(), 0u);
}

TEST(ControlWrite, FailedReadKeepsTheRecord)
{
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    opened.camera->SetControl(V4L2_CID_BRIGHTNESS, 12);
    static_cast<void>(opened.camera->TakeRequests());
    opened.camera->Inject({Kind::GetControl, V4L2_CID_BRIGHTNESS, std::nullopt, 3, EPIPE, 0});
    const PropertyRecord before = *opened.library.record(200);
    ControlReading reading;
    EXPECT_FALSE(opened.library.ReadControl(200, reading));
    EXPECT_EQ(*opened.library.record(200), before);
    EXPECT_EQ(opened.camera->TakeRequests().size(), 3u);
}

} // namespace
} // namespace orvane
