#include "capture/CaptureCaps.h"

#include <gtest/gtest.h>

#include "capture/CCapture.h"

namespace orvane {
namespace {

// GStreamer must be initialised for its format tables.
class CaptureCapsTest : public ::testing::Test {
protected:
    CCapture m_capture;
};

struct RateCase {
    std::int64_t frameTime;
    FrameRate rate;
};

class FrameRateTest : public CaptureCapsTest, public ::testing::WithParamInterface<RateCase> {};

TEST_P(FrameRateTest, FrameTimeBecomesSimpleFraction)
{
    EXPECT_EQ(FrameRateOf(GetParam().frameTime), GetParam().rate);
}

INSTANTIATE_TEST_SUITE_P(Rates, FrameRateTest,
                         ::testing::Values(RateCase{333333, {30, 1}}, RateCase{666666, {15, 1}},
                                           RateCase{400000, {25, 1}}, RateCase{1000000, {10, 1}},
                                           RateCase{333667, {30000, 1001}}, RateCase{0, {0, 1}}, RateCase{-5, {0, 1}},
                                           RateCase{80000000, {1, 8}}, RateCase{4000000, {5, 2}}));

TEST_F(CaptureCapsTest, FrameTimeOfRateInverts)
{
    EXPECT_EQ(FrameTimeOf({30, 1}), 333333);
    EXPECT_EQ(FrameTimeOf({15, 1}), 666666);
    EXPECT_EQ(FrameTimeOf({0, 1}), 0);
}

struct CapsCase {
    Guid subType;
    const char* caps;
    const char* decode;
};

class CapsTextTest : public CaptureCapsTest, public ::testing::WithParamInterface<CapsCase> {};

TEST_P(CapsTextTest, SubTypeChoosesFormatAndDecoder)
{
    EXPECT_EQ(CaptureCapsText(640, 480, 333333, GetParam().subType), GetParam().caps);
    EXPECT_EQ(DecodeStage(GetParam().subType), GetParam().decode);
}

INSTANTIATE_TEST_SUITE_P(
    SubTypes, CapsTextTest,
    ::testing::Values(
        CapsCase{FourccGuid(MakeFourcc('Y', 'U', 'Y', '2')),
                 "video/x-raw,format=YUY2,width=640,height=480,framerate=30/1", ""},
        CapsCase{FourccGuid(MakeFourcc('N', 'V', '1', '2')),
                 "video/x-raw,format=NV12,width=640,height=480,framerate=30/1", ""},
        CapsCase{FourccGuid(MakeFourcc('M', 'J', 'P', 'G')), "image/jpeg,width=640,height=480,framerate=30/1",
                 "jpegdec"},
        CapsCase{kMediaSubtypeRgb24, "video/x-raw,format=BGR,width=640,height=480,framerate=30/1", ""},
        CapsCase{kKeepSubtype,
                 "video/x-raw,width=640,height=480,framerate=30/1;image/jpeg,width=640,height=480,framerate=30/1",
                 "decodebin"},
        // A FOURCC GStreamer does not know constrains nothing.
        CapsCase{FourccGuid(MakeFourcc('Z', 'Z', 'Z', 'Z')),
                 "video/x-raw,width=640,height=480,framerate=30/1;image/jpeg,width=640,height=480,framerate=30/1",
                 "decodebin"}));

TEST_F(CaptureCapsTest, UnknownSizeAndRateLeaveFieldsOpen)
{
    EXPECT_EQ(CaptureCapsText(-1, 480, 0, kMediaSubtypeRgb24), "video/x-raw,format=BGR");
    EXPECT_EQ(CaptureCapsText(800, 600, -1, kMediaSubtypeRgb24), "video/x-raw,format=BGR,width=800,height=600");
}

TEST_F(CaptureCapsTest, NegotiatedCapsGiveSubType)
{
    EXPECT_EQ(SubTypeOfCaps("video/x-raw", "BGR"), kMediaSubtypeRgb24);
    EXPECT_EQ(SubTypeOfCaps("image/jpeg", ""), FourccGuid(MakeFourcc('M', 'J', 'P', 'G')));
    EXPECT_EQ(SubTypeOfCaps("video/x-raw", "YUY2"), FourccGuid(MakeFourcc('Y', 'U', 'Y', '2')));
    EXPECT_EQ(SubTypeOfCaps("video/x-bayer", "bggr"), kKeepSubtype);
}

} // namespace
} // namespace orvane
