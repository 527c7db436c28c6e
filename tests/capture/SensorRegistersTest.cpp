#include "capture/SensorRegisters.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "FakeCameraControl.h"

namespace orvane {
namespace {

using test::FakeCameraControl;

constexpr std::uint16_t kMode = 0x0106; // on page 1, so that the page select matters

TEST(SensorRegisters, PagedReadSelectsThePageAndChecksItBeforeReading)
{
    FakeCameraControl camera;
    camera.registers[kMode] = 0x1234;
    std::uint16_t value = 0;
    ASSERT_TRUE(SensorRegisters(camera).Read(kMode, value));
    EXPECT_EQ(value, 0x1234);
    EXPECT_EQ(camera.calls, (std::vector<FakeCameraControl::Call>{{'W', 0xF0, 1}, {'R', 0xF0, 0}, {'R', kMode, 0}}));

    // A page select lost on the bus: one attempt, and the wrong page is never read.
    camera.calls.clear();
    camera.page = 0;
    camera.lostPageSelects = 1;
    EXPECT_FALSE(SensorRegisters(camera).Read(kMode, value));
    EXPECT_EQ(camera.Count('R'), 1);
}

struct PagedWriteCase {
    std::string name;
    int lostPageSelects;
    int ignoredWrites;
    bool written;
    int valueWrites;
};

class PagedWrite : public ::testing::TestWithParam<PagedWriteCase> {};

TEST_P(PagedWrite, RetriesUpToTenAttemptsCheckingEachByReadingBack)
{
    const PagedWriteCase& c = GetParam();
    FakeCameraControl camera;
    camera.registers[kMode] = 0x0700;
    camera.lostPageSelects = c.lostPageSelects;
    camera.ignoredWrites[kMode] = c.ignoredWrites;
    EXPECT_EQ(SensorRegisters(camera).Write(kMode, 0x0710), c.written);
    EXPECT_EQ(camera.WritesTo(kMode).size(), static_cast<std::size_t>(c.valueWrites));
    EXPECT_EQ(camera.registers[kMode], c.written ? 0x0710 : 0x0700);
    // Nothing went to the register of the same number on the page that was selected before.
    EXPECT_TRUE(camera.WritesTo(0x0006).empty());
}

INSTANTIATE_TEST_SUITE_P(
    SensorRegisters, PagedWrite,
    ::testing::Values(PagedWriteCase{"FirstAttempt", 0, 0, true, 1},
                      PagedWriteCase{"PageMismatchThenWritten", 1, 0, true, 1},
                      PagedWriteCase{"IgnoredNineTimes", 0, 9, true, 10},
                      PagedWriteCase{"IgnoredTenTimesGivesUp", 0, 10, false, 10},
                      PagedWriteCase{"PageNeverSelected", 1000, 0, false, 0}),
    [](const ::testing::TestParamInfo<PagedWriteCase>& p) { return p.param.name; });

struct LoopCase {
    std::string name;
    char op; // 'S' set bits, 'C' clear bits, 'V' set value
    std::uint16_t before;
    std::uint16_t operand;
    std::uint16_t after;
    int valueWrites;
};

class SettingLoop : public ::testing::TestWithParam<LoopCase> {};

TEST_P(SettingLoop, WritesOnlyWhenTheRegisterIsNotAsWanted)
{
    const LoopCase& c = GetParam();
    FakeCameraControl camera;
    camera.registers[kMode] = c.before;
    SensorRegisters registers(camera);
    const bool done = c.op == 'S'   ? registers.SetBits(kMode, c.operand)
                      : c.op == 'C' ? registers.ClearBits(kMode, c.operand)
                                    : registers.SetValue(kMode, c.operand);
    EXPECT_TRUE(done);
    EXPECT_EQ(camera.registers[kMode], c.after);
    EXPECT_EQ(camera.WritesTo(kMode).size(), static_cast<std::size_t>(c.valueWrites));
}

INSTANTIATE_TEST_SUITE_P(SensorRegisters, SettingLoop,
                         ::testing::Values(LoopCase{"SetBits", 'S', 0x0700, 0x0010, 0x0710, 1},
                                           LoopCase{"BitsAlreadySet", 'S', 0x0710, 0x0010, 0x0710, 0},
                                           LoopCase{"ClearBits", 'C', 0x4712, 0x4002, 0x0710, 1},
                                           LoopCase{"BitsAlreadyClear", 'C', 0x0710, 0x4002, 0x0710, 0},
                                           LoopCase{"SetValue", 'V', 3, 12, 12, 1},
                                           LoopCase{"ValueAlreadySet", 'V', 12, 12, 12, 0}),
                         [](const ::testing::TestParamInfo<LoopCase>& p) { return p.param.name; });

TEST(SensorRegisters, SettingLoopGivesUpOnARegisterThatNeverTakesTheValue)
{
    FakeCameraControl camera;
    camera.registers[kMode] = 3;
    camera.ignoredWrites[kMode] = 1'000'000;
    EXPECT_FALSE(SensorRegisters(camera).SetValue(kMode, 12));
    EXPECT_LE(camera.WritesTo(kMode).size(), 100U);

    camera.gone = true;
    EXPECT_FALSE(SensorRegisters(camera).SetBits(kMode, 1));
}

} // namespace
} // namespace orvane
