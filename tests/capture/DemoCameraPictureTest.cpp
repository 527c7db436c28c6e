#include "capture/DemoCameraPicture.h"

#include <array>
#include <functional>
#include <string>

#include <gtest/gtest.h>

#include "camctl/SimulatedCamera.h"

namespace orvane {
namespace {

using Row = std::array<std::uint8_t, 12>; // four BGR pixels

SimulatedPicture Neutral()
{
    SimulatedPicture picture;
    picture.redGain = picture.greenGain1 = picture.greenGain2 = picture.blueGain = SimulatedCamera::kUnityGain;
    picture.exposure = SimulatedCamera::kExposureDefault;
    picture.contrast = 32;
    picture.saturation = 64;
    picture.sharpness = 3;
    picture.gamma = 100;
    picture.gain = 16;
    return picture;
}

struct PictureCase {
    const char* label;
    std::function<void(SimulatedPicture&)> change;
    Row in;
    Row out;
};

class DemoCameraPictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(DemoCameraPictureTest, SettingsShapeThePicture)
{
    SimulatedPicture settings = Neutral();
    GetParam().change(settings);
    Row row = GetParam().in;
    ApplyDemoCamera(row.data(), 4, 1, settings);
    EXPECT_EQ(row, GetParam().out);
}

const Row kGrey{100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100, 100};

Row Pixels(std::uint8_t b, std::uint8_t g, std::uint8_t r)
{
    return {b, g, r, b, g, r, b, g, r, b, g, r};
}

INSTANTIATE_TEST_SUITE_P(
    Settings, DemoCameraPictureTest,
    ::testing::Values(
        PictureCase{"RedGainDoubled", [](SimulatedPicture& s) { s.redGain = 0x40; }, kGrey, Pixels(100, 100, 200)},
        PictureCase{"RedDigitalGainBits", [](SimulatedPicture& s) { s.redGain = 0x80 | 0x20; }, kGrey,
                    Pixels(100, 100, 113)},
        PictureCase{"GreenIsTheMeanOfBoth",
                    [](SimulatedPicture& s) {
                        s.greenGain1 = 0x40;
                        s.greenGain2 = 0x20;
                    },
                    kGrey, Pixels(100, 150, 100)},
        PictureCase{"BlueGainHalved", [](SimulatedPicture& s) { s.blueGain = 0x10; }, kGrey, Pixels(50, 100, 100)},
        PictureCase{"ExposureHalved", [](SimulatedPicture& s) { s.exposure = 0x200; }, kGrey, Pixels(50, 50, 50)},
        PictureCase{"ControlGainDoubled", [](SimulatedPicture& s) { s.gain = 32; }, kGrey, Pixels(200, 200, 200)},
        PictureCase{"Brightness", [](SimulatedPicture& s) { s.brightness = 10; }, kGrey, Pixels(120, 120, 120)},
        PictureCase{"Contrast", [](SimulatedPicture& s) { s.contrast = 64; }, kGrey, Pixels(72, 72, 72)},
        PictureCase{"Gamma", [](SimulatedPicture& s) { s.gamma = 200; }, kGrey, Pixels(160, 160, 160)},
        PictureCase{"NoSaturationIsGrey", [](SimulatedPicture& s) { s.saturation = 0; }, Pixels(50, 100, 200),
                    Pixels(124, 124, 124)},
        PictureCase{"SharpnessSteepensAnEdge", [](SimulatedPicture& s) { s.sharpness = 7; },
                    Row{50, 50, 50, 50, 50, 50, 200, 200, 200, 200, 200, 200},
                    Row{50, 50, 50, 0, 0, 0, 255, 255, 255, 200, 200, 200}},
        PictureCase{"PowerOnIsWarm", [](SimulatedPicture& s) { s = SimulatedCamera().Picture(); }, kGrey,
                    Pixels(94, 100, 109)}),
    [](const auto& test) { return std::string(test.param.label); });

} // namespace
} // namespace orvane
