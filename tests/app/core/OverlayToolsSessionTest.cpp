#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/core/MeasureSession.h"

namespace orvane {
namespace {

// A 640 x 480 picture at x1 in a frame at the client's origin (client
// coordinates are image coordinates): a dark bar over columns 100 .. 299 on
// a light field, so that edges stand at columns 99 | 100 and 299 | 300.
class OverlayToolsSessionTest : public ::testing::Test {
protected:
    OverlayToolsSessionTest()
    {
        AddDefaultCalibrations(calibrations);
        view.SetImageSize(640, 480);
        view.SetFrameRect(RECT{0, 0, 640, 480});
        session.SelectCalibration(0);
        picture.Create(640, 480, 24);
        picture.Fill(nullptr, RGB(220, 220, 220));
        const RECT bar{100, 0, 300, 480};
        picture.Fill(&bar, RGB(40, 40, 40));
        magnet.Rebuild(picture, kMagnetEdge);
    }

    [[nodiscard]] std::vector<PointD> LastPoints()
    {
        CMeasureChain& chain = session.interaction().chain();
        chain.MoveLast();
        const MEASURE* record = chain.Current();
        if (record == nullptr) {
            return {};
        }
        const std::span<const PointD> points = record->points.Slots();
        return {points.begin(), points.begin() + record->pointCount};
    }

    OrvaneSettings settings;
    CCalibChain calibrations;
    ImageView view;
    FrameImage work1;
    FrameImage work2;
    MagnetAid magnet{work1, work2};
    FocusIndicator focus;
    MeasureSession session{settings, calibrations, view, MeasureTools{&magnet, &focus}};
    FrameImage picture;
};

struct LengthCase {
    std::string name;
    bool magnetOn;
    IntPoint first;
    IntPoint second;
    PointD expectedFirst;
    PointD expectedSecond;
};

class SnappedLengthTest : public OverlayToolsSessionTest, public ::testing::WithParamInterface<LengthCase> {};

TEST_P(SnappedLengthTest, LengthEndsLandOnTheEdgesWithTheMagnetOn)
{
    const LengthCase& c = GetParam();
    magnet.SetOn(c.magnetOn);
    MeasureInteraction& interaction = session.interaction();
    interaction.SetTool(kModeLength);
    interaction.OnMouseMove(c.first.x, c.first.y, false);
    const PointD clicked{double(c.first.x), double(c.first.y)};
    EXPECT_EQ(interaction.cursorHint() == kCursorSnapped, c.magnetOn && c.expectedFirst != clicked);
    interaction.OnLButtonUp(c.first.x, c.first.y, false);
    interaction.OnLButtonUp(c.second.x, c.second.y, false);
    EXPECT_EQ(LastPoints(), (std::vector<PointD>{c.expectedFirst, c.expectedSecond}));
}

INSTANTIATE_TEST_SUITE_P(Clicks, SnappedLengthTest,
                         ::testing::Values(
                             // The nearer side of each edge within ten pixels.
                             LengthCase{"BothEndsSnap", true, {96, 50}, {305, 52}, {99, 50}, {300, 52}},
                             LengthCase{"InsideTheBar", true, {104, 70}, {292, 70}, {100, 70}, {299, 70}},
                             LengthCase{"NoEdgeNearby", true, {50, 50}, {400, 60}, {50, 50}, {400, 60}},
                             LengthCase{"MagnetOff", false, {96, 50}, {305, 52}, {96, 50}, {305, 52}}),
                         [](const auto& tested) { return tested.param.name; });

TEST_F(OverlayToolsSessionTest, DraggedPointSnapsToo)
{
    magnet.SetOn(true);
    MeasureInteraction& interaction = session.interaction();
    interaction.SetTool(kModeLength);
    interaction.OnLButtonUp(96, 50, false);
    interaction.OnLButtonUp(305, 52, false);
    interaction.SetTool(kModeNone);
    interaction.OnRButtonDown(300, 52);
    interaction.OnMouseMove(296, 60, false);
    interaction.OnRButtonUp();
    EXPECT_EQ(LastPoints(), (std::vector<PointD>{{99, 50}, {299, 60}}));
}

TEST_F(OverlayToolsSessionTest, ChoosingAToolGivesUpTheFocusArea)
{
    ASSERT_TRUE(focus.StartArea());
    session.interaction().SetTool(kModeCircle);
    EXPECT_EQ(focus.drawingState(), FocusArea::kFree);
}

} // namespace
} // namespace orvane
