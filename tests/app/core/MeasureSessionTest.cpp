#include "app/core/MeasureSession.h"

#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "AppTestSupport.h"
#include "PlaceMeasurement.h"
#include "RecordingSurface.h"

namespace orvane {
namespace {

using test::AppTempFolder;
using test::PolygonCall;
using test::PolylineCall;
using test::RecordingSurface;

// A 640 x 480 picture shown at x1 in a frame at the client's origin, so that
// client coordinates are image coordinates; the 20 default calibrations.
class MeasureSessionTest : public ::testing::Test {
protected:
    MeasureSessionTest()
    {
        AddDefaultCalibrations(calibrations);
        view.SetImageSize(640, 480);
        view.SetFrameRect(RECT{0, 0, 640, 480});
        session.SetHost(MeasureHost{
            .measureText = {}, .askYesNo = {}, .repaintPicture = [this] { ++repaints; }, .repaintWindow = {}});
        session.SelectCalibration(0);
    }

    void Measure(std::int32_t mode, std::initializer_list<IntPoint> points)
    {
        test::PlaceMeasurement(session.interaction(), mode, points);
    }

    AppTempFolder temp;
    OrvaneSettings settings;
    CCalibChain calibrations;
    ImageView view;
    MeasureSession session{settings, calibrations, view};
    int repaints = 0;
};

TEST_F(MeasureSessionTest, ResultsFileLoadsEveryKindRenumberedAndListed)
{
    Measure(kModeLength, {{10, 10}, {110, 10}});
    Measure(kModeArea, {{200, 200}, {300, 200}, {300, 300}});
    Measure(kModeCircle, {{100, 300}, {140, 340}, {100, 380}});
    Measure(kModeTwoCircles, {{400, 100}, {420, 120}, {400, 140}, {500, 100}, {520, 120}, {500, 140}});
    Measure(kModePerpendicular, {{10, 450}, {600, 450}, {300, 400}});
    Measure(kModeAngle, {{500, 300}, {550, 350}, {600, 300}});
    const std::filesystem::path file = temp.path() / "every-kind.mes";
    ASSERT_EQ(SaveMeasureFile(session.interaction().chain(), file), 1);

    MeasureSession loaded(settings, calibrations, view);
    loaded.SelectCalibration(0);
    const MeasureFileLoad load = loaded.LoadResults(file);
    EXPECT_TRUE(load.ok());
    EXPECT_EQ(load.loaded, 6);
    std::vector<std::string> shown;
    for (const ResultListRow& row : loaded.interaction().list().rows()) {
        shown.push_back(row.no + " " + row.type + " " + row.result + " " + row.unit);
    }
    const std::vector<std::string> rows = {"0 Length 5.000 mm",
                                           "1 Angle 0.0 degree",
                                           "2 Polygon area " + session.interaction().list().rows()[2].result + " mm2",
                                           "3 Circle diameter 4.000 mm",
                                           "4 Circle diameter 2.000 mm",
                                           "5 Circle diameter 2.000 mm",
                                           "6 Circle distance 5.000 mm",
                                           "7 Angle 0.0 degree",
                                           "8 Length 2.500 mm",
                                           "9 Angle 90.0 degree"};
    EXPECT_EQ(shown, rows);
    int no = 0;
    for (const MEASURE* record = loaded.interaction().chain().First(); record != nullptr; record = record->next) {
        EXPECT_EQ(record->no, no++);
    }

    // A file that is not a results file leaves the measurements, listed anew.
    const std::filesystem::path wrong = temp.path() / "wrong.mes";
    std::ofstream(wrong) << "_MES0999";
    EXPECT_EQ(loaded.LoadResults(wrong).status, MeasureFileStatus::NotResultsFile);
    EXPECT_EQ(loaded.interaction().list().RowCount(), 10);
}

TEST_F(MeasureSessionTest, ScalingChangesOnlyWhenACalibrationIsChosen)
{
    Measure(kModeLength, {{10, 10}, {210, 10}});
    EXPECT_EQ(session.interaction().list().rows()[0].result, "10.000");

    // The dialog edits the record live; measurements keep the chosen copy.
    CALIBRATION* record = session.BeginCalibration(0);
    ASSERT_NE(record, nullptr);
    record->mpp = {0.01, 0.01};
    record->unit = kUnitCm;
    Measure(kModeLength, {{10, 100}, {210, 100}});
    EXPECT_EQ(session.interaction().list().rows()[2].result, "10.000");

    session.EndCalibration();
    session.SelectCalibration(0);
    EXPECT_EQ(session.selection().unit, kUnitCm);
    EXPECT_EQ(session.interaction().list().rows()[0].result, "2.00");
    EXPECT_EQ(session.interaction().list().rows()[0].unit, "cm");
    EXPECT_EQ(session.interaction().list().rows()[2].result, "2.00");
}

TEST_F(MeasureSessionTest, DrawingStepsDrawOnlyWhatIsThere)
{
    const ViewTransform transform{};
    RecordingSurface surface;

    // The calibration rectangle and frame only while the dialog is open.
    session.DrawCalibrationMarks(surface, transform);
    EXPECT_TRUE(surface.calls().empty());
    const int before = repaints;
    session.BeginCalibration(0);
    EXPECT_GT(repaints, before);
    session.DrawCalibrationMarks(surface, transform);
    EXPECT_EQ(surface.Calls<PolygonCall>().size(), 1u);
    session.EndCalibration();
    surface.Clear();
    session.DrawCalibrationMarks(surface, transform);
    EXPECT_TRUE(surface.calls().empty());

    // The working length: nothing before its first point and a pointer seen.
    MeasureInteraction& interaction = session.interaction();
    interaction.OnToolButton(kModeLength);
    interaction.OnMouseMove(50, 60, false);
    session.DrawWorking(surface, transform, {640, 480});
    EXPECT_TRUE(surface.calls().empty());
    interaction.OnLButtonUp(50, 60, false);
    interaction.OnMouseMove(150, 60, false);
    session.DrawWorking(surface, transform, {640, 480});
    ASSERT_EQ(surface.Calls<PolylineCall>().size(), 1u);
    EXPECT_EQ(surface.Calls<PolylineCall>()[0].points, (std::vector<IntPoint>{{50, 60}, {150, 60}}));

    // Outside the picture the band stays at the last pointer position.
    surface.Clear();
    interaction.OnMouseMove(700, 60, false);
    session.DrawWorking(surface, transform, {640, 480});
    ASSERT_EQ(surface.Calls<PolylineCall>().size(), 1u);
    EXPECT_EQ(surface.Calls<PolylineCall>()[0].points.back(), (IntPoint{150, 60}));
}

} // namespace
} // namespace orvane
