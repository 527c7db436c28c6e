#include <cerrno>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "CamctlTestSupport.h"

namespace orvane {
namespace {

using Requests = std::vector<SimulatedCamera::Request>;
using test::SensorSelection;
using test::UnitRequest;

Requests AfterSelection(const Requests& command)
{
    Requests all = SensorSelection();
    all.insert(all.end(), command.begin(), command.end());
    return all;
}

// A write then a read of one register at each pair of widths, byte for byte.
// Width 1 sends only the low byte of the address; data width 1 only the low
// byte of the value.
struct WidthCase {
    const char* label;
    int addressWidth;
    int dataWidth;
    std::uint16_t address;
    std::uint16_t stored; // the paged address the sensor keeps it at
    std::uint16_t read;   // the value read back after writing 0xA15C
    SimulatedCamera::Request write;
    Requests readCommand;
};

class RegisterWidthTest : public ::testing::TestWithParam<WidthCase> {};

TEST_P(RegisterWidthTest, WritesAndReadsByteForByte)
{
    const WidthCase& c = GetParam();
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    opened.camera->SetSensorAddressWidth(c.addressWidth);
    ASSERT_TRUE(opened.library.WriteRegister(c.address, c.addressWidth, 0xA15C, c.dataWidth, 1));
    EXPECT_EQ(opened.camera->TakeRequests(), AfterSelection({c.write}));
    EXPECT_EQ(opened.camera->Register(c.stored), c.read);
    opened.camera->SetRegister(c.stored, 0xA15C);
    std::uint16_t value = 0;
    ASSERT_TRUE(opened.library.ReadRegister(c.address, c.addressWidth, value, c.dataWidth, 1));
    EXPECT_EQ(value, c.read);
    EXPECT_EQ(opened.camera->TakeRequests(), AfterSelection(c.readCommand));
}

INSTANTIATE_TEST_SUITE_P(
    Widths, RegisterWidthTest,
    ::testing::Values(
        WidthCase{"Address1Data2", 1, 2, 0x0106, 0x0006, 0xA15C,
                  UnitRequest(3, UvcQuery::SetCur, {1, 3, 3, 0x06, 0xA1, 0x5C}),
                  {UnitRequest(3, UvcQuery::SetCur, {1, 1, 5, 0x06}), UnitRequest(3, UvcQuery::SetCur, {2, 2}),
                   UnitRequest(3, UvcQuery::GetCur, {0x5C, 0xA1})}},
        WidthCase{"Address1Data1", 1, 1, 0x2D, 0x002D, 0x5C, UnitRequest(3, UvcQuery::SetCur, {1, 2, 3, 0x2D, 0x5C}),
                  {UnitRequest(3, UvcQuery::SetCur, {1, 1, 5, 0x2D}), UnitRequest(3, UvcQuery::SetCur, {2, 1}),
                   UnitRequest(3, UvcQuery::GetCur, {0x5C})}},
        WidthCase{"Address2Data2", 2, 2, 0x0213, 0x0213, 0xA15C,
                  UnitRequest(3, UvcQuery::SetCur, {1, 4, 3, 0x02, 0x13, 0xA1, 0x5C}),
                  {UnitRequest(3, UvcQuery::SetCur, {1, 2, 5, 0x02, 0x13}), UnitRequest(3, UvcQuery::SetCur, {2, 2}),
                   UnitRequest(3, UvcQuery::GetCur, {0x5C, 0xA1})}},
        WidthCase{"Address2Data1", 2, 1, 0x0213, 0x0213, 0x5C,
                  UnitRequest(3, UvcQuery::SetCur, {1, 3, 3, 0x02, 0x13, 0x5C}),
                  {UnitRequest(3, UvcQuery::SetCur, {1, 2, 5, 0x02, 0x13}), UnitRequest(3, UvcQuery::SetCur, {2, 1}),
                   UnitRequest(3, UvcQuery::GetCur, {0x5C})}}),
    [](const auto& test) { return std::string(test.param.label); });

// Attempts: the sensor selection up to 3 times each with early stops, the
// register command once, the whole sequence as often as asked.
struct AttemptCase {
    const char* label;
    std::uint8_t selector;
    UvcQuery query;
    int count;
    int error;
    int skip;
    int attempts;
    bool read; // else write
    bool succeeds;
    int requests;
};

class RegisterAttemptTest : public ::testing::TestWithParam<AttemptCase> {};

TEST_P(RegisterAttemptTest, RetriesAsFarAsAllowed)
{
    const AttemptCase& c = GetParam();
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    opened.camera->SetRegister(0x0009, 0x0123);
    opened.camera->Inject({SimulatedCamera::RequestKind::Unit, c.selector, c.query, c.count, c.error, c.skip});
    std::uint16_t value = 0xFFFF;
    const bool done = c.read ? opened.library.ReadRegister(0x09, 1, value, 2, c.attempts)
                             : opened.library.WriteRegister(0x09, 1, 0x0456, 2, c.attempts);
    EXPECT_EQ(done, c.succeeds);
    EXPECT_EQ(opened.camera->TakeRequests().size(), static_cast<std::size_t>(c.requests));
    EXPECT_EQ(c.read ? value : opened.camera->Register(0x0009),
              c.succeeds ? (c.read ? 0x0123 : 0x0456) : (c.read ? 0xFFFF : 0x0123));
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RegisterAttemptTest,
    ::testing::Values(AttemptCase{"BusReadStallsTwice", 1, UvcQuery::GetCur, 2, EPIPE, 0, 1, true, true, 7},
                      AttemptCase{"BusReadStallsThreeTimes", 1, UvcQuery::GetCur, 3, EPIPE, 0, 1, true, false, 3},
                      AttemptCase{"BusReadNotFunctioning", 1, UvcQuery::GetCur, 3, EIO, 0, 1, true, false, 1},
                      AttemptCase{"SelectionStallsTwice", 3, UvcQuery::SetCur, 2, EPIPE, 0, 1, false, true, 5},
                      AttemptCase{"CommandStallsOneAttempt", 3, UvcQuery::SetCur, 1, EPIPE, 1, 1, true, false, 3},
                      AttemptCase{"CommandStallsTwoAttempts", 3, UvcQuery::SetCur, 1, EPIPE, 1, 2, true, true, 8},
                      AttemptCase{"WriteStallsOneAttempt", 3, UvcQuery::SetCur, 1, EPIPE, 1, 1, false, false, 3},
                      AttemptCase{"DataReadGone", 3, UvcQuery::GetCur, 1, ENODEV, 0, 3, true, false, 5}),
    [](const auto& test) { return std::string(test.param.label); });

// Widths outside 1..2, and a camera without the extension unit (whose
// controller's own command path this library does not speak), fail without
// a request.
TEST(RegisterAccess, RefusedWithoutARequest)
{
    for (const auto& [addressWidth, dataWidth, withUnit] :
         std::vector<std::tuple<int, int, bool>>{{0, 2, true}, {1, 3, true}, {1, 2, false}}) {
        test::OpenedCamera opened;
        opened.camera->SetExtensionUnit(withUnit);
        ASSERT_TRUE(opened.Open());
        std::uint16_t value = 7;
        EXPECT_FALSE(opened.library.ReadRegister(0x09, addressWidth, value, dataWidth, 1));
        EXPECT_FALSE(opened.library.WriteRegister(0x09, addressWidth, 1, dataWidth, 1));
        EXPECT_EQ(value, 7);
        EXPECT_TRUE(opened.camera->TakeRequests().empty()) << addressWidth << dataWidth << withUnit;
    }
}

// A device that has gone is not asked again until it is opened anew.
TEST(RegisterAccess, GoneDeviceIsNotAskedAgain)
{
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    opened.camera->Inject({SimulatedCamera::RequestKind::Unit, 1, UvcQuery::GetCur, 1, ENODEV, 0});
    std::uint16_t value = 0;
    EXPECT_FALSE(opened.library.ReadRegister(0, 1, value, 2, 3));
    EXPECT_EQ(opened.camera->TakeRequests().size(), 1u);
    EXPECT_FALSE(opened.library.ReadRegister(0, 1, value, 2, 3));
    EXPECT_TRUE(opened.camera->TakeRequests().empty());
    ASSERT_TRUE(opened.library.Open(opened.camera));
    EXPECT_TRUE(opened.library.ReadRegister(0, 1, value, 2, 1));
    EXPECT_EQ(value, SimulatedCamera::kChipVersion);
}

} // namespace
} // namespace orvane
