#include "app/look/ToolTipTable.h"

#include <array>

#include "app/window/ControlIds.h"

namespace orvane {
namespace {

constexpr std::array<ToolTipEntry, 21> kToolTips{{
    {200, ctl::kLive, "カメラ映像の表示／非表示を切り替えます"},
    {201, ctl::kSave, "現在の映像を画像として保存します"},
    {202, ctl::kDir, "保存先のフォルダを設定します"},
    {203, ctl::kSet, "カメラの設定をします"},
    {204, ctl::kType, "画像保存の際計測ラインを表示した状態で保存します"},
    {205, ctl::kThumb, "サムネイル画面を表示します"},
    {206, ctl::kWhiteBalance, "ホワイトバランスを自動調節します"},
    {207, ctl::kZoomList, "表示倍率を変更します"},
    {208, ctl::kLine, "２点間の距離を測ります"},
    {209, ctl::kAria, "指定した多角形の面積を測ります"},
    {210, ctl::kCircle, "円の直径を計ります"},
    {211, ctl::kCircle2, "円の直径と２円間の距離を測ります"},
    {212, ctl::kSui, "垂線の距離を測ります"},
    {213, ctl::kAngle, "角度を測ります"},
    {214, ctl::kDelete, "測定項目を削除します"},
    {215, ctl::kClear, "計測結果を読み込みます"},
    {216, ctl::kColor, "計測線などの色を設定します"},
    {217, ctl::kCsv, "計測結果を保存します"},
    {218, ctl::kCalib, "校正値を設定します"},
    {219, ctl::kCalibrationList, "校正値を選択します"},
    {220, ctl::kResultList, "計測結果を表示します"},
}};

constexpr std::array<EnglishToolTip, 25> kEnglishToolTips{{
    {ctl::kLive, "Show the live camera picture or freeze it (F11)"},
    {ctl::kSave, "Save the picture (right click: save at once under a time-stamp name, also F12)"},
    {ctl::kDir, "Choose the folder pictures are saved in"},
    {ctl::kSet, "Camera settings"},
    {ctl::kType, "Save pictures with the measurements drawn in"},
    {ctl::kThumb, "Show the saved pictures as thumbnails"},
    {ctl::kWhiteBalance, "Draw a focus area"},
    {ctl::kZoomList, "Screen scale of the picture"},
    {ctl::kLine, "Measure the length between two points"},
    {ctl::kAria, "Measure the area of a polygon (double click closes it)"},
    {ctl::kCircle, "Measure the diameter of a circle through three points"},
    {ctl::kCircle2, "Measure two circles and the distance of their centres"},
    {ctl::kSui, "Measure perpendicular distances from points to a base line"},
    {ctl::kAngle, "Measure an angle"},
    {ctl::kDelete, "Delete the selected measurements (Delete key)"},
    {ctl::kClear, "Load a results file"},
    {ctl::kColor, "Colours of the measurements, grid and scale bar"},
    {ctl::kCsv, "Save the results as CSV or as a results file"},
    {ctl::kCalib, "Set the calibration values"},
    {ctl::kCrossLine, "Cross lines over the picture"},
    {ctl::kCalibrationList, "Choose the calibration"},
    {ctl::kResultList, "Measurement results"},
    {ctl::kMagnetButton, "Snap measuring points to edges (right click: settings)"},
    {ctl::kRightCorner, "Hide or show the right-hand panel"},
    {ctl::kBottomCorner, "Hide or show the thumbnail strip"},
}};

} // namespace

std::span<const ToolTipEntry> ToolTipTable()
{
    return kToolTips;
}

std::span<const EnglishToolTip> EnglishToolTipTable()
{
    return kEnglishToolTips;
}

} // namespace orvane
