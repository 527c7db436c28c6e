#include "settings/CameraImageSettings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ProfileText.h"

namespace orvane {
namespace {

const CameraImageSettings kControlDefaults{64, 32, 48, 500, 10, 20, 30, 40};

TEST(CameraImageSection, MissingKeysKeepTheControlDefaults)
{
    CameraImageSettings values = kControlDefaults;
    LoadCameraImageSection(ProfileFile{}, values);
    EXPECT_EQ(values, kControlDefaults);

    LoadCameraImageSection(test::ProfileFromText("[Camera]\nWB_RED=90\nvp_gamma=-3\nWB_AUTO=1\n"), values);
    CameraImageSettings expected = kControlDefaults;
    expected.WB_RED = 90;
    expected.VP_GAMMA = -3;
    EXPECT_EQ(values, expected);
}

TEST(CameraImageSection, SaveWritesAutoOffThenTheEightValues)
{
    ProfileFile profile = test::ProfileFromText("[Camera]\nWB_AUTO=1\n");
    const CameraImageSettings values{1, 2, 3, 4, 5, 6, 7, 8};
    SaveCameraImageSection(profile, values);
    EXPECT_EQ(test::SectionKeys(profile, kCameraImageSection),
              (std::vector<std::string>{"WB_AUTO", "WB_RED", "WB_GREEN", "WB_BLUE", "EXPOSURE", "VP_BRIGHTNESS",
                                        "VP_SATURATION", "VP_SHARPNESS", "VP_GAMMA"}));
    EXPECT_EQ(profile.GetInt(kCameraImageSection, "WB_AUTO", 1), 0);

    CameraImageSettings loaded;
    LoadCameraImageSection(profile, loaded);
    EXPECT_EQ(loaded, values);
}

} // namespace
} // namespace orvane
