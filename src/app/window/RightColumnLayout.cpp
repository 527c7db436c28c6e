#include "app/window/RightColumnLayout.h"

#include <algorithm>
#include <array>
#include <vector>

#include "app/window/ControlIds.h"
#include "app/look/DpiScale.h"

namespace orvane {
namespace {

using namespace ctl;

constexpr std::array<int, 2> kGroupBoxes{kImageGroup, kToolGroup};
constexpr std::array<int, 9> kThirdColumn{kDir,   kThumb,  kZoomList,  kZoomLabel,      kCircle,
                                          kAngle, kDelete, kCrossLine, kCalibrationList};
constexpr std::array<int, 6> kSecondColumn{kSave, kType, kAria, kSui, kClear, kCalib};
constexpr std::array<int, 7> kFirstColumn{kLive, kSet, kWhiteBalance, kLine, kCircle2, kColor, kCsv};

constexpr std::array<int, 4> kSingles{kMagnetButton, kMagnetCheck, kCalibrationLabel, kRightCorner};

constexpr std::array<int, 2> kBottomPanel{kStripScroll, kStripGroup};

bool In(std::span<const int> ids, int id)
{
    return std::find(ids.begin(), ids.end(), id) != ids.end();
}

} // namespace

std::optional<int> RightEdgeDistance(int controlId, const RightColumnInput& input, const DpiScale& dpi)
{
    const int w = input.liveButtonWidth;
    if (In(kGroupBoxes, controlId)) {
        return dpi.DpiScaleX(11);
    }
    if (In(kThirdColumn, controlId)) {
        return dpi.DpiScaleX(18);
    }
    if (In(kSecondColumn, controlId)) {
        return w + dpi.DpiScaleX(29);
    }
    if (In(kFirstColumn, controlId)) {
        return 2 * w + dpi.DpiScaleX(40);
    }
    switch (controlId) {
    case kMagnetButton: return dpi.DpiScaleX(46);
    case kMagnetCheck: return dpi.DpiScaleX(28);
    case kCalibrationLabel: return input.calibrationListWidth + dpi.DpiScaleX(18);
    case kRightCorner: return 0;
    default: return std::nullopt;
    }
}

std::optional<int> RightEdgeX(int controlId, const RightColumnInput& input, const DpiScale& dpi)
{
    const std::optional<int> distance = RightEdgeDistance(controlId, input, dpi);
    if (!distance) {
        return std::nullopt;
    }
    return input.clientWidth - *distance;
}

int BottomCornerTop(int clientHeight, int buttonHeight)
{
    return clientHeight - buttonHeight;
}

std::span<const int> RightColumnControls()
{
    static const std::vector<int> all = [] {
        std::vector<int> ids;
        for (const std::span<const int> group : {std::span<const int>(kGroupBoxes), std::span<const int>(kThirdColumn),
                                                 std::span<const int>(kSecondColumn),
                                                 std::span<const int>(kFirstColumn), std::span<const int>(kSingles)}) {
            ids.insert(ids.end(), group.begin(), group.end());
        }
        return ids;
    }();
    return all;
}

std::span<const int> RightPanelControls()
{
    // Everything placed from the right except the corner button itself, and
    // the result list, which the view layout places.
    static const std::vector<int> panel = [] {
        std::vector<int> ids;
        for (const int id : RightColumnControls()) {
            if (id != kRightCorner) {
                ids.push_back(id);
            }
        }
        ids.push_back(kResultList);
        return ids;
    }();
    return panel;
}

std::span<const int> BottomPanelControls()
{
    return kBottomPanel;
}

} // namespace orvane
