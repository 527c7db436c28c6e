#pragma once

#include <QPoint>

class QWidget;

namespace orvane {

// Menu 146, the thumbnails' context menu, and its command ids.
enum class ThumbnailCommand {
    None = 0,
    Remove = 32779,   // "Remove": the file is deleted at once
    Open = 32780,     // "Open"
    TrashBox = 32781, // "Trash box": the file goes to the trash
};

// Shows the menu at `globalPosition` and answers the command chosen.
[[nodiscard]] ThumbnailCommand ShowThumbnailMenu(QWidget* parent, QPoint globalPosition);

} // namespace orvane
