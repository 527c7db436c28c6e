#pragma once

#include <QFont>
#include <QWidget>

#include "image/BitmapTypes.h"

namespace orvane {

// A colour field of the overlay dialogs: filled with its colour, or (as the
// colour dialog's font sample) showing a text in a font and colour on a
// transparent background. A left-button release inside it emits clicked().
//
// UI thread only.
class ColourSwatch : public QWidget {
    Q_OBJECT

public:
    ColourSwatch(int controlId, QWidget* parent);

    void SetColour(COLORREF colour);
    [[nodiscard]] COLORREF colour() const { return m_colour; }
    // Turns the swatch into a text sample drawn in `font` and the colour.
    void SetSample(const QString& text, const QFont& font);

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    COLORREF m_colour = 0;
    QString m_sample;
    QFont m_font;
};

// 0x00BBGGRR <-> QColor.
[[nodiscard]] QColor ToQColor(COLORREF colour);
[[nodiscard]] COLORREF FromQColor(const QColor& colour);

} // namespace orvane
