#pragma once

#include <QAbstractButton>
#include <QImage>

namespace orvane {

// A picture button of the colour dialog: one 50 x 53 cell of the window's
// button sheet, with no lamp, and a label beside it.
//
// UI thread only.
class SheetFaceButton : public QAbstractButton {
    Q_OBJECT

public:
    // `face` is the cell already cut from the sheet (may be null: the label alone).
    SheetFaceButton(int controlId, const QImage& face, const QString& label, QWidget* parent);

    [[nodiscard]] QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QImage m_face;
};

} // namespace orvane
