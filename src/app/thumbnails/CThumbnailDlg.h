#pragma once

#include <functional>

#include <QDialog>

#include "app/core/ThumbnailLayout.h"
#include "app/thumbnails/ThumbnailMenu.h"
#include "platform/StringTable.h"

class QScrollBar;

namespace orvane {

class CThumbNail;
class FrameImage;

// The thumbnail browser (dialog 147, "Thumbnail"): every thumbnail of the
// chain in a grid of sunken cells over the window's background tile, scrolled
// by rows with the scroll bar 1071 at its right edge. A double click on a
// thumbnail, or "Open" in its menu, ends the dialog with 1000 + its position;
// "Remove" and "Trash box" are handed to `dispose` and the grid follows the
// chain. UI thread only.
class CThumbnailDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kOpenBase = 1000;
    // The client size it opens with: six columns of four rows.
    static constexpr int kInitialWidth = 47 + 6 * (BrowserGrid::kCellWidth + 6) + 7;
    static constexpr int kInitialHeight = 10 + 4 * (BrowserGrid::kCellHeight + 10) + 10;

    using Dispose = std::function<void(ThumbnailCommand command, int position)>;

    CThumbnailDlg(const CThumbNail& thumbnails, const FrameImage& backgroundTile, Language language, Dispose dispose,
                  QWidget* parent = nullptr);

    [[nodiscard]] QScrollBar* scrollBar() const { return m_scrollBar; }
    [[nodiscard]] BrowserGrid grid() const;
    // The thumbnail under a client point, or -1.
    [[nodiscard]] int ThumbnailAt(QPoint point) const;
    // What the menu's command does for thumbnail `position`.
    void OnCommand(ThumbnailCommand command, int position);
    // The chain changed: the scroll range follows, then a repaint.
    void RecomputeScrollRange();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    const CThumbNail& m_thumbnails;
    const FrameImage& m_backgroundTile;
    Dispose m_dispose;
    QScrollBar* m_scrollBar = nullptr;
};

} // namespace orvane
