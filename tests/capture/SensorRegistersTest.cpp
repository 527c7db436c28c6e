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

// A paged write ('W') retries up to ten times, checking each by reading back;
// the setting loops (set bits 'S', clear bits 'C', set value 'V') write only
// when the register is not as wanted, up to ten rounds of such writes.
struct WriteCase {
    std::string name;
    char op;
    std::uint16_t before;
    std::uint16_t operand;
    int lostPageSelects;
    int ignoredWrites;
    bool done;
    std::uint16_t after;
    std::size_t valueWrites;
};

class SensorWrite : public ::testing::TestWithParam<WriteCase> {};

TEST_P(SensorWrite, WritesUntilTheRegisterIsAsWanted)
{
    const WriteCase& c = GetParam();
    FakeCameraControl camera;
    camera.registers[kMode] = c.before;
    camera.lostPageSelects = c.lostPageSelects;
    camera.ignoredWrites[kMode] = c.ignoredWrites;
    SensorRegisters registers(camera);
    const bool done = c.op == 'W'   ? registers.Write(kMode, c.operand)
                      : c.op == 'S' ? registers.SetBits(kMode, c.operand)
                      : c.op == 'C' ? registers.ClearBits(kMode, c.operand)
                                    : registers.SetValue(kMode, c.operand);
    EXPECT_EQ(done, c.done);
    EXPECT_EQ(camera.registers[kMode], c.after);
    EXPECT_EQ(camera.Writes('W', kMode).size(), c.valueWrites);
    // Nothing went to the register of the same number on the page that was selected before.
    EXPECT_TRUE(camera.Writes('W', 0x0006).empty());
}

INSTANTIATE_TEST_SUITE_P(
    SensorRegisters, SensorWrite,
    ::testing::Values(WriteCase{"FirstAttempt", 'W', 0x0700, 0x0710, 0, 0, true, 0x0710, 1},
                      WriteCase{"PageMismatchThenWritten", 'W', 0x0700, 0x0710, 1, 0, true, 0x0710, 1},
                      WriteCase{"IgnoredNineTimes", 'W', 0x0700, 0x0710, 0, 9, true, 0x0710, 10},
                      WriteCase{"IgnoredTenTimesGivesUp", 'W', 0x0700, 0x0710, 0, 10, false, 0x0700, 10},
                      WriteCase{"PageNeverSelected", 'W', 0x0700, 0x0710, 1000, 0, false, 0x0700, 0},
                      WriteCase{"SetBits", 'S', 0x0700, 0x0010, 0, 0, true, 0x0710, 1},
                      WriteCase{"BitsAlreadySet", 'S', 0x0710, 0x0010, 0, 0, true, 0x0710, 0},
                      WriteCase{"ClearBits", 'C', 0x4712, 0x4002, 0, 0, true, 0x0710, 1},
                      WriteCase{"SetValue", 'V', 3, 12, 0, 0, true, 12, 1},
                      WriteCase{"ValueNeverTaken", 'V', 3, 12, 0, 1'000'000, false, 3, 100}),
    [](const ::testing::TestParamInfo<WriteCase>& p) { return p.param.name; });

TEST(SensorRegisters, AGoneCameraFailsTheSettingLoops)
{
    FakeCameraControl camera;
    camera.gone = true;
    EXPECT_FALSE(SensorRegisters(camera).SetBits(kMode, 1));
}

} // namespace
} // namespace orvane
