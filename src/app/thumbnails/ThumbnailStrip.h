#pragma once

#include <QString>
#include <QWidget>

#include "app/core/ThumbnailLayout.h"

class QScrollBar;

namespace orvane {

class CThumbNail;

// The thumbnail strip of the main window, laid over the strip's group box
// (control 1129) and sized with it, so that its coordinates are the box's.
// It draws the thumbnails from the scroll bar's position (control 1074) with
// their names and numbers, and a line of status (scan progress, a picture
// that could not be opened) in the band above them. Clicks go out as
// signals with the thumbnail's position. UI thread only.
class ThumbnailStrip : public QWidget {
    Q_OBJECT

public:
    ThumbnailStrip(const CThumbNail& thumbnails, QScrollBar& scrollBar, QWidget& box, int dpiX, int dpiY);

    // The chain or the box changed: the scroll bar's range and visibility
    // follow, then a repaint. `shown` is the bottom panel's state.
    void Refresh(bool shown);
    // The text of the status band; empty hides it.
    void SetStatus(const QString& text);
    [[nodiscard]] const QString& status() const { return m_status; }
    [[nodiscard]] const StripMetrics& metrics() const { return m_metrics; }
    // The thumbnail under a point of the strip, or -1.
    [[nodiscard]] int ThumbnailAt(QPoint point) const;

signals:
    void openRequested(int position);
    // Right click on a thumbnail at `globalPosition`.
    void menuRequested(int position, QPoint globalPosition);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    const CThumbNail& m_thumbnails;
    QScrollBar& m_scrollBar;
    StripMetrics m_metrics;
    QString m_status;
    bool m_shown = true;
};

} // namespace orvane
