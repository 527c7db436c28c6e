#pragma once

// Control ids of the main window. They name the controls (each widget's
// objectName is its id in decimal) and key the look and layout tables.
namespace orvane::ctl {

inline constexpr int kPicture = 1072;          // picture area
inline constexpr int kImageGroup = 1100;       // group box "Load image"
inline constexpr int kLive = 1130;             // LIVE
inline constexpr int kSave = 1087;             // SAVE (right click: quick save)
inline constexpr int kDir = 1088;              // DIR
inline constexpr int kSet = 1132;              // SET
inline constexpr int kType = 1131;             // TYPE
inline constexpr int kThumb = 1133;            // THUMB
inline constexpr int kWhiteBalance = 1122;     // WB (draws a focus area)
inline constexpr int kZoomList = 1099;         // display magnification
inline constexpr int kZoomLabel = 224;         // "Screen scale"
inline constexpr int kToolGroup = 1111;        // group box "Instrumental"
inline constexpr int kLine = 1019;             // LINE
inline constexpr int kAria = 1113;             // ARIA
inline constexpr int kCircle = 1114;           // CIRCLE
inline constexpr int kCircle2 = 1115;          // CIRCLE2
inline constexpr int kSui = 1120;              // SUI
inline constexpr int kAngle = 1121;            // ANGLE
inline constexpr int kDelete = 1119;           // DELETE
inline constexpr int kClear = 1116;            // CLEAR (loads a results file)
inline constexpr int kCsv = 1127;              // CSV
inline constexpr int kColor = 1117;            // COLOR
inline constexpr int kCalib = 1124;            // CALIB
inline constexpr int kCrossLine = 1219;        // Cross Line
inline constexpr int kCalibrationLabel = 1126; // "Calibration value"
inline constexpr int kCalibrationList = 1125;  // choice of the calibration
inline constexpr int kResultList = 1118;       // results list
inline constexpr int kStripGroup = 1129;       // frame of the thumbnail strip
inline constexpr int kStripScroll = 1074;      // thumbnail strip scroll bar
inline constexpr int kBottomCorner = 1123;     // shows/hides the bottom strip
inline constexpr int kRightCorner = 1134;      // shows/hides the right panel
inline constexpr int kMagnetCheck = 1233;      // magnet on/off
inline constexpr int kMagnetButton = 1236;     // magnet button (right click: settings)

} // namespace orvane::ctl
