#include "app/look/ButtonFaces.h"

#include <array>

#include "app/window/ControlIds.h"
#include "app/look/PictureSheet.h"

namespace orvane {
namespace {

struct FaceEntry {
    int controlId;
    FaceCells cells;
};

const std::array<FaceEntry, 19> kFaces{{
    {ctl::kLine, {{0, 0}, std::nullopt}},          {ctl::kAria, {{50, 0}, std::nullopt}},
    {ctl::kCircle, {{100, 0}, std::nullopt}},      {ctl::kCircle2, {{150, 0}, std::nullopt}},
    {ctl::kLive, {{0, 53}, SheetCell{50, 53}}},    {ctl::kColor, {{100, 53}, std::nullopt}},
    {ctl::kCalib, {{150, 53}, std::nullopt}},      {ctl::kDelete, {{0, 106}, std::nullopt}},
    {ctl::kCsv, {{100, 106}, std::nullopt}},       {ctl::kClear, {{50, 264}, std::nullopt}},
    {ctl::kSave, {{150, 106}, std::nullopt}},      {ctl::kDir, {{0, 159}, std::nullopt}},
    {ctl::kSet, {{50, 159}, std::nullopt}},        {ctl::kType, {{100, 159}, SheetCell{150, 159}}},
    {ctl::kThumb, {{0, 211}, std::nullopt}},       {ctl::kSui, {{50, 211}, std::nullopt}},
    {ctl::kAngle, {{100, 211}, std::nullopt}},     {ctl::kWhiteBalance, {{50, 318}, std::nullopt}},
    {ctl::kCrossLine, {{100, 264}, std::nullopt}},
}};

constexpr std::array<int, 6> kModeButtons{ctl::kLine, ctl::kAria, ctl::kCircle, ctl::kCircle2, ctl::kSui, ctl::kAngle};

} // namespace

std::optional<FaceCells> FaceCellsFor(int controlId)
{
    for (const FaceEntry& entry : kFaces) {
        if (entry.controlId == controlId) {
            return entry.cells;
        }
    }
    return std::nullopt;
}

SheetCell DisabledCell(SheetCell cell)
{
    return {cell.x + sheet::kDisabledOffset, cell.y};
}

std::optional<int> ArrowCellX(int controlId, bool panelShown)
{
    switch (controlId) {
    case ctl::kRightCorner: return panelShown ? sheet::kArrowHideRight : sheet::kArrowShowRight;
    case ctl::kBottomCorner: return panelShown ? sheet::kArrowHideBottom : sheet::kArrowShowBottom;
    default: return std::nullopt;
    }
}

std::optional<int> ModeLampControl(int activeMode)
{
    if (activeMode < 1 || activeMode > static_cast<int>(kModeButtons.size())) {
        return std::nullopt;
    }
    return kModeButtons[static_cast<std::size_t>(activeMode - 1)];
}

bool GreenLampLit(int controlId, int activeMode, int focusAreaState)
{
    if (controlId == ctl::kWhiteBalance && (focusAreaState == 1 || focusAreaState == 2)) {
        return true;
    }
    return ModeLampControl(activeMode) == controlId;
}

} // namespace orvane
