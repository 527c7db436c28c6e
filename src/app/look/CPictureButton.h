#pragma once

#include <QAbstractButton>

#include "app/look/ButtonFaces.h"
#include "app/look/DpiScale.h"

namespace orvane {

class UiPictures;

// A button of the main window drawn from the window's own pictures.
//
// Face buttons (every picture button of the window but the three below) show
// their 50 × 53 cell of ButtonSheet, stretched by the dpi scale; a disabled
// button shows the cell 200 px to the right. A red lamp lights in the face's
// lamp rectangle while the left mouse button is held down inside the button,
// a green one while the window marks the button (the active measurement mode,
// button 1122 during a focus area).
//
// The corner buttons 1123 and 1134 show a 13 × 13 arrow of ArrowStrip,
// stretched likewise; the magnet button 1236 shows MagnetIcon unscaled.
//
// The button's objectName is its control id in decimal ("1130"). The pictures
// must outlive the button.
class CPictureButton : public QAbstractButton {
    Q_OBJECT

public:
    enum class Kind { Face, Corner, Magnet };

    CPictureButton(int controlId, const UiPictures& pictures, QWidget* parent = nullptr);

    [[nodiscard]] int controlId() const { return m_controlId; }
    [[nodiscard]] Kind kind() const { return m_kind; }

    // Sets the scale and resizes the button to its scaled picture.
    void setDpiScale(const DpiScale& dpi);
    [[nodiscard]] const DpiScale& dpiScale() const { return m_dpi; }

    // The second state: LIVE while frozen, TYPE while images are saved with
    // the measurements; for a corner button, its panel hidden. Buttons with a
    // single face ignore it.
    void setAlternative(bool alternative);
    [[nodiscard]] bool alternative() const { return m_alternative; }

    // The green lamp.
    void setModeLamp(bool lit);
    [[nodiscard]] bool modeLamp() const { return m_modeLamp; }

    // The face cell drawn now, disabled look included; nullopt for the corner
    // and magnet buttons.
    [[nodiscard]] std::optional<SheetCell> currentCell() const;

    [[nodiscard]] QSize sizeHint() const override;

signals:
    // The right mouse button was pressed and released inside the button
    // (quick save on SAVE, the magnet settings on the magnet button).
    void rightClicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintFace(QPainter& painter) const;
    void PaintCorner(QPainter& painter) const;

    int m_controlId;
    Kind m_kind;
    std::optional<FaceCells> m_faces;
    const UiPictures& m_pictures;
    DpiScale m_dpi;
    bool m_alternative = false;
    bool m_modeLamp = false;
    bool m_rightPressed = false;
};

} // namespace orvane
