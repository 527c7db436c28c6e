#include "app/look/ButtonFaces.h"

#include <algorithm>
#include <array>

#include <gtest/gtest.h>

#include "app/window/ControlIds.h"
#include "app/look/PictureSheet.h"

namespace orvane {
namespace {

using namespace ctl;

constexpr std::array<int, 19> kFaceButtons{kLive,  kSave, kDir,    kSet,     kType,     kThumb, kWhiteBalance,
                                           kLine,  kAria, kCircle, kCircle2, kSui,      kAngle, kDelete,
                                           kClear, kCsv,  kColor,  kCalib,   kCrossLine};

bool OnGrid(SheetCell cell)
{
    return cell.x % sheet::kCellWidth == 0 && cell.x >= 0 && cell.x < sheet::kDisabledOffset &&
           std::find(sheet::kRowTops.begin(), sheet::kRowTops.end(), cell.y) != sheet::kRowTops.end();
}

TEST(ButtonFacesTest, EveryPictureButtonHasANormalFaceOnTheGrid)
{
    for (const int id : kFaceButtons) {
        SCOPED_TRACE(id);
        const std::optional<FaceCells> faces = FaceCellsFor(id);
        ASSERT_TRUE(faces.has_value());
        EXPECT_TRUE(OnGrid(faces->normal));
        if (faces->alternative) {
            EXPECT_TRUE(OnGrid(*faces->alternative));
        }
    }
}

TEST(ButtonFacesTest, OnlyLiveAndTypeChangeFace)
{
    const FaceCells live = *FaceCellsFor(kLive);
    EXPECT_EQ(live.normal, (SheetCell{0, 53}));
    EXPECT_EQ(live.alternative, (SheetCell{50, 53}));
    const FaceCells type = *FaceCellsFor(kType);
    EXPECT_EQ(type.normal, (SheetCell{100, 159}));
    EXPECT_EQ(type.alternative, (SheetCell{150, 159}));
    for (const int id : kFaceButtons) {
        if (id != kLive && id != kType) {
            EXPECT_FALSE(FaceCellsFor(id)->alternative.has_value()) << id;
        }
    }
}

TEST(ButtonFacesTest, CornerMagnetAndOtherControlsHaveNoFace)
{
    for (const int id : {kBottomCorner, kRightCorner, kMagnetButton, kMagnetCheck, kResultList, kPicture, 0}) {
        EXPECT_FALSE(FaceCellsFor(id).has_value()) << id;
    }
}

TEST(ButtonFacesTest, DisabledFaceIsTwoHundredToTheRight)
{
    EXPECT_EQ(DisabledCell({150, 318}), (SheetCell{350, 318}));
    EXPECT_EQ(DisabledCell({0, 0}), (SheetCell{200, 0}));
}

TEST(ButtonFacesTest, CornerArrowsFollowTheirPanels)
{
    EXPECT_EQ(ArrowCellX(kRightCorner, true), 0);
    EXPECT_EQ(ArrowCellX(kRightCorner, false), 13);
    EXPECT_EQ(ArrowCellX(kBottomCorner, true), 26);
    EXPECT_EQ(ArrowCellX(kBottomCorner, false), 39);
    EXPECT_FALSE(ArrowCellX(kLive, true).has_value());
}

TEST(ButtonFacesTest, GreenLampMarksTheActiveModeButton)
{
    const std::array<int, 6> modeButtons{kLine, kAria, kCircle, kCircle2, kSui, kAngle};
    for (int mode = 1; mode <= 6; ++mode) {
        const int lit = modeButtons[static_cast<std::size_t>(mode - 1)];
        EXPECT_EQ(ModeLampControl(mode), lit);
        for (const int id : modeButtons) {
            EXPECT_EQ(GreenLampLit(id, mode, 0), id == lit) << "mode " << mode << " button " << id;
        }
    }
    EXPECT_FALSE(ModeLampControl(0).has_value());
    EXPECT_FALSE(ModeLampControl(7).has_value());
    EXPECT_FALSE(GreenLampLit(kLine, 0, 0));
}

TEST(ButtonFacesTest, GreenLampMarksTheFocusAreaButtonWhileAnAreaIsDrawn)
{
    EXPECT_FALSE(GreenLampLit(kWhiteBalance, 0, 0));
    EXPECT_TRUE(GreenLampLit(kWhiteBalance, 0, 1));
    EXPECT_TRUE(GreenLampLit(kWhiteBalance, 1, 2));
    EXPECT_FALSE(GreenLampLit(kWhiteBalance, 0, 3));
    EXPECT_FALSE(GreenLampLit(kLine, 0, 1));
}

} // namespace
} // namespace orvane
