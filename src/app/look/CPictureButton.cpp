#include "app/look/CPictureButton.h"

#include <QMouseEvent>
#include <QPainter>

#include "app/window/ControlIds.h"
#include "app/qt/FrameImageQt.h"
#include "app/look/PictureSheet.h"
#include "app/look/UiPictures.h"

namespace orvane {
namespace {

const QColor kPressedLamp(255, 0, 0);
const QColor kModeLamp(0, 255, 0);

CPictureButton::Kind KindOf(int controlId)
{
    switch (controlId) {
    case ctl::kBottomCorner:
    case ctl::kRightCorner: return CPictureButton::Kind::Corner;
    case ctl::kMagnetButton: return CPictureButton::Kind::Magnet;
    default: return CPictureButton::Kind::Face;
    }
}

} // namespace

CPictureButton::CPictureButton(int controlId, const UiPictures& pictures, QWidget* parent)
    : QAbstractButton(parent), m_controlId(controlId), m_kind(KindOf(controlId)), m_faces(FaceCellsFor(controlId)),
      m_pictures(pictures)
{
    setObjectName(QString::number(controlId));
    resize(sizeHint());
}

void CPictureButton::setDpiScale(const DpiScale& dpi)
{
    m_dpi = dpi;
    resize(sizeHint());
    updateGeometry();
    update();
}

void CPictureButton::setAlternative(bool alternative)
{
    if (m_alternative != alternative) {
        m_alternative = alternative;
        update();
    }
}

void CPictureButton::setModeLamp(bool lit)
{
    if (m_modeLamp != lit) {
        m_modeLamp = lit;
        update();
    }
}

std::optional<SheetCell> CPictureButton::currentCell() const
{
    if (m_kind != Kind::Face || !m_faces) {
        return std::nullopt;
    }
    const SheetCell cell = m_alternative && m_faces->alternative ? *m_faces->alternative : m_faces->normal;
    return isEnabled() ? cell : DisabledCell(cell);
}

QSize CPictureButton::sizeHint() const
{
    switch (m_kind) {
    case Kind::Face: return {m_dpi.DpiScaleX(sheet::kCellWidth), m_dpi.DpiScaleY(sheet::kCellHeight)};
    case Kind::Corner: return {m_dpi.DpiScaleX(sheet::kArrowSize), m_dpi.DpiScaleY(sheet::kArrowSize)};
    case Kind::Magnet: return {sheet::kMagnetIconSize, sheet::kMagnetIconSize};
    }
    return {};
}

void CPictureButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    // Stretched pictures are smoothed; at 96 dpi every pixel is copied as is.
    painter.setRenderHint(QPainter::SmoothPixmapTransform, m_dpi != DpiScale());
    switch (m_kind) {
    case Kind::Face: PaintFace(painter); break;
    case Kind::Corner: PaintCorner(painter); break;
    case Kind::Magnet: DrawFrameImage(painter, QPointF(0, 0), m_pictures.magnetIcon()); break;
    }
}

void CPictureButton::PaintFace(QPainter& painter) const
{
    const std::optional<SheetCell> cell = currentCell();
    if (!cell) {
        return;
    }
    DrawFrameImage(painter, QRectF(0, 0, m_dpi.DpiScaleX(sheet::kCellWidth), m_dpi.DpiScaleY(sheet::kCellHeight)),
                   m_pictures.buttonSheet(), QRectF(cell->x, cell->y, sheet::kCellWidth, sheet::kCellHeight));

    // The pressed look wins over the mode lamp: both light the same lamp.
    const bool pressed = isDown();
    if (!pressed && !m_modeLamp) {
        return;
    }
    const int left = m_dpi.DpiScaleX(sheet::kLampLeft);
    const int top = m_dpi.DpiScaleY(sheet::kLampTop);
    const QRectF lamp(left, top, m_dpi.DpiScaleX(sheet::kLampRight) - left, m_dpi.DpiScaleY(sheet::kLampBottom) - top);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setPen(Qt::NoPen);
    painter.setBrush(pressed ? kPressedLamp : kModeLamp);
    painter.drawEllipse(lamp);
}

void CPictureButton::PaintCorner(QPainter& painter) const
{
    const std::optional<int> x = ArrowCellX(m_controlId, !m_alternative);
    if (!x) {
        return;
    }
    DrawFrameImage(painter, QRectF(0, 0, m_dpi.DpiScaleX(sheet::kArrowSize), m_dpi.DpiScaleY(sheet::kArrowSize)),
                   m_pictures.arrowStrip(), QRectF(*x, 0, sheet::kArrowSize, sheet::kArrowSize));
}

void CPictureButton::mousePressEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        m_rightPressed = true;
        event->accept();
        return;
    }
    QAbstractButton::mousePressEvent(event);
}

void CPictureButton::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::RightButton) {
        const bool inside = m_rightPressed && rect().contains(event->position().toPoint());
        m_rightPressed = false;
        event->accept();
        if (inside) {
            emit rightClicked();
        }
        return;
    }
    QAbstractButton::mouseReleaseEvent(event);
}

} // namespace orvane
