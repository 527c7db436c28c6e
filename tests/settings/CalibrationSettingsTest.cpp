#include "settings/CalibrationSettings.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ProfileText.h"
#include "measure/CCalibChain.h"
#include "platform/StringTable.h"

namespace orvane {
namespace {

using test::ProfileFromText;

std::vector<const CALIBRATION*> Records(const CCalibChain& chain)
{
    std::vector<const CALIBRATION*> records;
    for (const CALIBRATION* record = chain.First(); record != nullptr; record = record->next) {
        records.push_back(record);
    }
    return records;
}

CCalibChain DefaultChain()
{
    CCalibChain chain;
    AddDefaultCalibrations(chain);
    return chain;
}

TEST(CalibrationSection, AnEmptyProfileGivesTheTwentyDefaults)
{
    CCalibChain chain = DefaultChain();
    LoadCalibrationSection(ProfileFile{}, chain);
    const auto records = Records(chain);
    ASSERT_EQ(records.size(), 20u);
    for (std::size_t n = 0; n < records.size(); ++n) {
        const CALIBRATION& c = *records[n];
        EXPECT_EQ(c.name, "Data" + std::to_string(n + 1));
        EXPECT_EQ(c.length, (PointD{10.0, 10.0}));
        EXPECT_EQ(c.unit, 1);
        EXPECT_EQ(c.left, 0.0);
        EXPECT_EQ(c.top, 0.0);
        EXPECT_EQ(c.right, 200.0);
        EXPECT_EQ(c.bottom, 200.0);
        EXPECT_DOUBLE_EQ(c.mpp.x, 0.05);
        EXPECT_DOUBLE_EQ(c.mpp.y, 0.05);
    }
}

TEST(CalibrationSection, DefaultNamesFollowTheLanguage)
{
    const Language before = CurrentLanguage();
    SetCurrentLanguage(Language::Japanese);
    CCalibChain chain = DefaultChain();
    LoadCalibrationSection(ProfileFile{}, chain);
    SetCurrentLanguage(before);
    EXPECT_EQ(Records(chain).back()->name, "校正値20");
}

TEST(CalibrationSection, MissingKeysGiveTheirDefaultsNotTheRecordsValues)
{
    CCalibChain chain = DefaultChain();
    CALIBRATION* third = chain.RectAt(2);
    ASSERT_NE(third, nullptr);
    third->name = "Old";
    third->length = {1.0, 2.0};
    third->right = 50.0;
    LoadCalibrationSection(ProfileFromText("[CALIBRATION]\nright_2=400\n"), chain);
    EXPECT_EQ(third->name, "Data3");
    EXPECT_EQ(third->length, (PointD{10.0, 10.0}));
    EXPECT_EQ(third->right, 400.0);
    EXPECT_DOUBLE_EQ(third->mpp.x, 10.0 / 400.0);
}

TEST(CalibrationSection, RoundTripWithScalesDerivedAgain)
{
    CCalibChain chain = DefaultChain();
    CALIBRATION* lens = chain.RectAt(3);
    ASSERT_NE(lens, nullptr);
    lens->name = "Lens B";
    lens->length = {2.5, 1.25};
    lens->unit = 2;
    lens->left = 10.0;
    lens->top = 20.0;
    lens->right = 110.0;
    lens->bottom = 70.0;
    lens->mpp = {99.0, 99.0}; // stale until the next start
    CALIBRATION* flat = chain.RectAt(19);
    ASSERT_NE(flat, nullptr);
    flat->right = flat->left; // zero width: the stored mpp.x is all there is
    flat->mpp = {0.125, 0.5};

    ProfileFile profile;
    SaveCalibrationSection(profile, chain);
    EXPECT_EQ(profile.GetString(kCalibrationSection, "name_3", "", 255), "Lens B");
    EXPECT_EQ(profile.GetString(kCalibrationSection, "length.x_3", "", 30), "2.500000");

    CCalibChain loaded = DefaultChain();
    LoadCalibrationSection(ProfileFromText(profile.ToText()), loaded);
    const CALIBRATION& readLens = *Records(loaded)[3];
    EXPECT_EQ(readLens.name, "Lens B");
    EXPECT_EQ(readLens.length, (PointD{2.5, 1.25}));
    EXPECT_EQ(readLens.unit, 2);
    EXPECT_EQ(readLens.left, 10.0);
    EXPECT_EQ(readLens.bottom, 70.0);
    EXPECT_DOUBLE_EQ(readLens.mpp.x, 2.5 / 100.0);
    EXPECT_DOUBLE_EQ(readLens.mpp.y, 1.25 / 50.0);
    const CALIBRATION& readFlat = *Records(loaded)[19];
    EXPECT_DOUBLE_EQ(readFlat.mpp.x, 0.125);
    EXPECT_DOUBLE_EQ(readFlat.mpp.y, 10.0 / 200.0);
}

TEST(CalibrationSection, SaveWritesTenKeysPerCalibrationInOrder)
{
    ProfileFile profile;
    SaveCalibrationSection(profile, DefaultChain());
    const auto keys = test::SectionKeys(profile, kCalibrationSection);
    ASSERT_EQ(keys.size(), 200u);
    const std::vector<std::string> first(keys.begin(), keys.begin() + 10);
    EXPECT_EQ(first, (std::vector<std::string>{"name_0", "length.x_0", "length.y_0", "unit_0", "mpp.x_0", "mpp.y_0",
                                               "left_0", "top_0", "right_0", "bottom_0"}));
    EXPECT_EQ(keys.back(), "bottom_19");
}

TEST(CalibrationSection, AChainOfTheWrongSizeIsResetFirst)
{
    CCalibChain chain;
    chain.AddCalibration("Only", 1.0, 1.0, 0);
    LoadCalibrationSection(ProfileFromText("[CALIBRATION]\nname_0=First\n"), chain);
    const auto records = Records(chain);
    ASSERT_EQ(records.size(), 20u);
    EXPECT_EQ(records[0]->name, "First");
    EXPECT_EQ(records[1]->name, "Data2");
}

TEST(ScaleDec, DefaultsToOneAndRoundTrips)
{
    ProfileFile profile;
    EXPECT_EQ(ReadScaleDec(profile), 1);
    WriteScaleDec(profile, -1);
    EXPECT_EQ(ReadScaleDec(profile), -1);
    WriteScaleDec(profile, 3);
    EXPECT_EQ(ReadScaleDec(ProfileFromText(profile.ToText())), 3);
}

TEST(CalibrationSection, OtherKeysOfTheSectionSurvive)
{
    ProfileFile profile = ProfileFromText("[CALIBRATION]\nScaleDec=2\nextra=1\n");
    CCalibChain chain = DefaultChain();
    LoadCalibrationSection(profile, chain);
    SaveCalibrationSection(profile, chain);
    EXPECT_EQ(ReadScaleDec(profile), 2);
    EXPECT_EQ(profile.GetInt(kCalibrationSection, "extra", 0), 1);
}

} // namespace
} // namespace orvane
