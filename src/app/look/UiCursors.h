#pragma once

#include <array>
#include <optional>

#include <QCursor>

#include "app/look/PictureSheet.h"

namespace orvane {

enum class CursorChoice { Default, Circle, Cross, Hand, Move, SizeBDiag, SizeVer, SizeFDiag, SizeHor, SizeAll };

// The measurement interaction's cursor hint to a cursor: 1 circle, 2 thin
// cross, 3 grabbing hand, 4 move arrows, 6 ↗↙, 7 ↕, 8 ↖↘, 9 ↔, 10 four ways;
// 0, 5 and anything else leave the cursor to the widget's default.
[[nodiscard]] CursorChoice CursorChoiceForHint(int hint);

// The program's own cursors, made from its pictures with their hot spots.
class UiCursors {
public:
    // Decodes the six cursor pictures; needs a QGuiApplication. A picture that
    // cannot be decoded leaves a close standard shape in its place (false).
    bool Load();

    [[nodiscard]] const QCursor& cursor(sheet::CursorPicture picture) const;

    // The cursor for a hint; nullopt means "the default" (unsetCursor).
    [[nodiscard]] std::optional<QCursor> CursorForHint(int hint) const;

private:
    std::array<QCursor, sheet::kCursors.size()> m_cursors;
};

} // namespace orvane
