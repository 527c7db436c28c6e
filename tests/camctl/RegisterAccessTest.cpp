#include <cerrno>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "CamctlTestSupport.h"

namespace orvane {
namespace {

using Kind = SimulatedCamera::RequestKind;
using test::SensorSelection;
using test::UnitRequest;

std::vector<SimulatedCamera::Request> Concat(std::vector<SimulatedCamera::Request> first,
                                             const std::vector<SimulatedCamera::Request>& then)
{
    first.insert(first.end(), then.begin(), then.end());
    return first;
}

// The request sequences of register reads at both widths, byte for byte.
struct ReadCase {
    const char* label;
    int addressWidth;
    int dataWidth;
    std::uint16_t address;
    std::uint16_t stored; // paged address the sensor answers from
    std::uint16_t value;
    std::vector<SimulatedCamera::Request> command;
};

class RegisterReadTest : public ::testing::TestWithParam<ReadCase> {};

TEST_P(RegisterReadTest, SelectsTheSensorNamesTheRegisterAndReadsItsData)
{
    const ReadCase& c = GetParam();
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    opened.camera->SetSensorAddressWidth(c.addressWidth);
    opened.camera->SetRegister(c.stored, 0xA15C);
    std::uint16_t value = 0;
    ASSERT_TRUE(opened.library.ReadRegister(c.address, c.addressWidth, value, c.dataWidth, 1));
    EXPECT_EQ(value, c.value);
    EXPECT_EQ(opened.camera->TakeRequests(), Concat(SensorSelection(), c.command));
}

INSTANTIATE_TEST_SUITE_P(
    Widths, RegisterReadTest,
    ::testing::Values(ReadCase{"Address1Data2",
                               1,
                               2,
                               0x2D,
                               0x002D,
                               0xA15C,
                               {UnitRequest(3, UvcQuery::SetCur, {1, 1, 5, 0x2D}),
                                UnitRequest(3, UvcQuery::SetCur, {2, 2}),
                                UnitRequest(3, UvcQuery::GetCur, {0x5C, 0xA1})}},
                      ReadCase{"Address1Data1",
                               1,
                               1,
                               0x2D,
                               0x002D,
                               0x5C,
                               {UnitRequest(3, UvcQuery::SetCur, {1, 1, 5, 0x2D}),
                                UnitRequest(3, UvcQuery::SetCur, {2, 1}),
                                UnitRequest(3, UvcQuery::GetCur, {0x5C})}},
                      // Width 1 keeps only the low 8 bits of the address.
                      ReadCase{"Address1KeepsTheLowByte",
                               1,
                               2,
                               0x0106,
                               0x0006,
                               0xA15C,
                               {UnitRequest(3, UvcQuery::SetCur, {1, 1, 5, 0x06}),
                                UnitRequest(3, UvcQuery::SetCur, {2, 2}),
                                UnitRequest(3, UvcQuery::GetCur, {0x5C, 0xA1})}},
                      ReadCase{"Address2Data2",
                               2,
                               2,
                               0x0213,
                               0x0213,
                               0xA15C,
                               {UnitRequest(3, UvcQuery::SetCur, {1, 2, 5, 0x02, 0x13}),
                                UnitRequest(3, UvcQuery::SetCur, {2, 2}),
                                UnitRequest(3, UvcQuery::GetCur, {0x5C, 0xA1})}},
                      ReadCase{"Address2Data1",
                               2,
                               1,
                               0x0213,
                               0x0213,
                               0x5C,
                               {UnitRequest(3, UvcQuery::SetCur, {1, 2, 5, 0x02, 0x13}),
                                UnitRequest(3, UvcQuery::SetCur, {2, 1}),
                                UnitRequest(3, UvcQuery::GetCur, {0x5C})}}),
    [](const auto& test) { return std::string(test.param.label); });

struct WriteCase {
    const char* label;
    int addressWidth;
    int dataWidth;
    std::uint16_t address;
    std::uint16_t value;
    std::uint16_t stored;
    std::uint16_t storedValue;
    SimulatedCamera::Request command;
};

class RegisterWriteTest : public ::testing::TestWithParam<WriteCase> {};

TEST_P(RegisterWriteTest, SelectsTheSensorThenOneCommandWithAddressAndValueHighByteFirst)
{
    const WriteCase& c = GetParam();
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    opened.camera->SetSensorAddressWidth(c.addressWidth);
    ASSERT_TRUE(opened.library.WriteRegister(c.address, c.addressWidth, c.value, c.dataWidth, 1));
    EXPECT_EQ(opened.camera->Register(c.stored), c.storedValue);
    EXPECT_EQ(opened.camera->TakeRequests(), Concat(SensorSelection(), {c.command}));
}

INSTANTIATE_TEST_SUITE_P(
    Widths, RegisterWriteTest,
    ::testing::Values(
        WriteCase{"Address1Data2", 1, 2, 0x09, 0x0321, 0x0009, 0x0321,
                  UnitRequest(3, UvcQuery::SetCur, {1, 3, 3, 0x09, 0x03, 0x21})},
        WriteCase{"Address1Data1", 1, 1, 0x09, 0x0321, 0x0009, 0x21,
                  UnitRequest(3, UvcQuery::SetCur, {1, 2, 3, 0x09, 0x21})},
        WriteCase{"Address2Data2", 2, 2, 0x0237, 0xBEEF, 0x0237, 0xBEEF,
                  UnitRequest(3, UvcQuery::SetCur, {1, 4, 3, 0x02, 0x37, 0xBE, 0xEF})},
        WriteCase{"Address2Data1", 2, 1, 0x0237, 0xBEEF, 0x0237, 0xEF,
                  UnitRequest(3, UvcQuery::SetCur, {1, 3, 3, 0x02, 0x37, 0xEF})}),
    [](const auto& test) { return std::string(test.param.label); });

// Attempts: the sensor selection up to 3 times each with early stops, the
// register command once, the whole sequence as often as asked.
struct AttemptCase {
    const char* label;
    SimulatedCamera::Failure failure;
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
    opened.camera->Inject(c.failure);
    std::uint16_t value = 0xFFFF;
    const bool done = c.read ? opened.library.ReadRegister(0x09, 1, value, 2, c.attempts)
                             : opened.library.WriteRegister(0x09, 1, 0x0456, 2, c.attempts);
    EXPECT_EQ(done, c.succeeds);
    EXPECT_EQ(opened.camera->TakeRequests().size(), static_cast<std::size_t>(c.requests));
    if (c.read) {
        EXPECT_EQ(value, c.succeeds ? 0x0123 : 0xFFFF);
    } else {
        EXPECT_EQ(opened.camera->Register(0x0009), c.succeeds ? 0x0456 : 0x0123);
    }
}

SimulatedCamera::Failure Fail(std::uint8_t selector, UvcQuery query, int count, int error, int skip = 0)
{
    return {Kind::Unit, selector, query, count, error, skip};
}

INSTANTIATE_TEST_SUITE_P(
    Failures, RegisterAttemptTest,
    ::testing::Values(
        AttemptCase{"BusReadStallsTwiceThenAnswers", Fail(1, UvcQuery::GetCur, 2, EPIPE), 1, true, true, 7},
        AttemptCase{"BusReadStallsThreeTimes", Fail(1, UvcQuery::GetCur, 3, EPIPE), 1, true, false, 3},
        AttemptCase{"BusReadNotFunctioningStopsAtOnce", Fail(1, UvcQuery::GetCur, 3, EIO), 1, true, false, 1},
        AttemptCase{"BusReadTimeOutStopsAtOnce", Fail(1, UvcQuery::GetCur, 3, ETIMEDOUT), 1, true, false, 1},
        AttemptCase{"SelectionStallsTwiceThenTakes", Fail(3, UvcQuery::SetCur, 2, EPIPE), 1, false, true, 5},
        AttemptCase{"CommandStallsOnceOneAttempt", Fail(3, UvcQuery::SetCur, 1, EPIPE, 1), 1, true, false, 3},
        AttemptCase{"CommandStallsOnceTwoAttempts", Fail(3, UvcQuery::SetCur, 1, EPIPE, 1), 2, true, true, 8},
        AttemptCase{"WriteStallsOnceOneAttempt", Fail(3, UvcQuery::SetCur, 1, EPIPE, 1), 1, false, false, 3},
        AttemptCase{"DataReadGoneNoSecondSequence", Fail(3, UvcQuery::GetCur, 1, ENODEV), 3, true, false, 5}),
    [](const auto& test) { return std::string(test.param.label); });

struct RefusedCase {
    const char* label;
    int addressWidth;
    int dataWidth;
    bool withUnit;
};

class RegisterRefusedTest : public ::testing::TestWithParam<RefusedCase> {};

// Widths outside 1..2, and a camera without the extension unit (whose
// controller's own command path this library does not speak), fail without
// a request.
TEST_P(RegisterRefusedTest, FailsWithoutARequest)
{
    const RefusedCase& c = GetParam();
    test::OpenedCamera opened;
    opened.camera->SetExtensionUnit(c.withUnit);
    ASSERT_TRUE(opened.Open());
    EXPECT_EQ(opened.library.kind(), c.withUnit ? c5U87xCtl::kKindExtensionUnit : c5U87xCtl::kKindPlain);
    std::uint16_t value = 7;
    EXPECT_FALSE(opened.library.ReadRegister(0x09, c.addressWidth, value, c.dataWidth, 1));
    EXPECT_FALSE(opened.library.WriteRegister(0x09, c.addressWidth, 1, c.dataWidth, 1));
    EXPECT_EQ(value, 7);
    EXPECT_TRUE(opened.camera->TakeRequests().empty());
}

INSTANTIATE_TEST_SUITE_P(Cases, RegisterRefusedTest,
                         ::testing::Values(RefusedCase{"AddressWidth0", 0, 2, true},
                                           RefusedCase{"AddressWidth3", 3, 2, true},
                                           RefusedCase{"DataWidth0", 1, 0, true},
                                           RefusedCase{"DataWidth3", 1, 3, true},
                                           RefusedCase{"NoExtensionUnit", 1, 2, false}),
                         [](const auto& test) { return std::string(test.param.label); });

// A device that has gone is not asked again until it is opened anew.
TEST(RegisterAccess, GoneDeviceIsNotAskedAgain)
{
    test::OpenedCamera opened;
    ASSERT_TRUE(opened.Open());
    opened.camera->Inject(Fail(1, UvcQuery::GetCur, 1, ENODEV));
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
