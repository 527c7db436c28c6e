#include <array>
#include <string_view>

#include <QFont>
#include <QFontMetricsF>
#include <QLinearGradient>
#include <QPainter>
#include <QPainterPath>

#include "Pictograms.h"
#include "Pictures.h"
#include "Style.h"

namespace orvane::draw {
namespace {

struct Face {
    Pictogram pictogram;
    std::string_view label; // empty: a pictogram-only face, drawn larger
};

// The faces in sheet order, row by row, left to right.
constexpr std::array<std::array<Face, 4>, 7> kFaces{{
    {{{Pictogram::Length, "LENGTH"},
      {Pictogram::Area, "AREA"},
      {Pictogram::Circle, "CIRCLE"},
      {Pictogram::Distance, "DISTANCE"}}},
    {{{Pictogram::Live, "LIVE"},
      {Pictogram::Still, "STILL"},
      {Pictogram::Colour, "COLOR"},
      {Pictogram::Calibrate, "CAL"}}},
    {{{Pictogram::Clear, "CLEAR"},
      {Pictogram::Delete, "DELETE"},
      {Pictogram::Save, "SAVE"},
      {Pictogram::SaveDown, "SAVE"}}},
    {{{Pictogram::Folder, "SELECT"},
      {Pictogram::Sliders, "SET"},
      {Pictogram::Gear, ""},
      {Pictogram::GearMagnifier, ""}}},
    {{{Pictogram::Thumbnails, "THUMB"},
      {Pictogram::Perpendicular, "VERTICAL"},
      {Pictogram::Angle, "ANGLE"},
      {Pictogram::WhiteBalance, "W.BAL"}}},
    {{{Pictogram::ScaleBar, "SCALE"},
      {Pictogram::Load, "LOAD"},
      {Pictogram::CrossLines, ""},
      {Pictogram::FocusRing, ""}}},
    {{{Pictogram::Grid, "GRID"}, {Pictogram::FocusArea, "FOCUS"}, {Pictogram::None, ""}, {Pictogram::None, ""}}},
}};

constexpr double kLabelWidth = 44.0;

QFont LabelFont(std::string_view text)
{
    QFont font("DejaVu Sans Condensed");
    font.setBold(true);
    font.setPixelSize(9);
    font.setHintingPreference(QFont::PreferFullHinting);
    // Long labels close up their letters rather than shrink below legibility.
    const QString label = QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
    for (double spacing = 0.0; spacing >= -1.0; spacing -= 0.25) {
        font.setLetterSpacing(QFont::AbsoluteSpacing, spacing);
        if (QFontMetricsF(font).horizontalAdvance(label) <= kLabelWidth) {
            break;
        }
    }
    return font;
}

void DrawPlate(QPainter& p, const FacePalette& c)
{
    p.fillRect(QRect(0, 0, sheet::kCellWidth, sheet::kCellHeight), kPanelBase);
    QLinearGradient gradient(0, 0, 0, sheet::kCellHeight);
    gradient.setColorAt(0.0, c.plateTop);
    gradient.setColorAt(1.0, c.plateBottom);
    p.setPen(QPen(c.outline, 1.0));
    p.setBrush(gradient);
    p.drawRoundedRect(QRectF(0.5, 0.5, sheet::kCellWidth - 1, sheet::kCellHeight - 1), 5, 5);
    QColor shine = c.highlight;
    shine.setAlpha(170);
    p.setPen(QPen(shine, 1.0));
    p.drawLine(QPointF(5, 1.5), QPointF(sheet::kCellWidth - 5, 1.5));
}

// The unlit lamp sits exactly where the program paints the lit one.
void DrawLampSocket(QPainter& p, const FacePalette& c)
{
    const QRectF lamp(sheet::kLampLeft, sheet::kLampTop, sheet::kLampRight - sheet::kLampLeft,
                      sheet::kLampBottom - sheet::kLampTop);
    p.setPen(QPen(c.socketRim, 1.0));
    p.setBrush(c.socket);
    p.drawEllipse(lamp.adjusted(0.5, 0.5, -0.5, -0.5));
    p.setPen(QPen(c.outline, 1.0));
    p.drawLine(QPointF(16, 46.5), QPointF(45, 46.5));
    QColor shine = c.highlight;
    shine.setAlpha(90);
    p.setPen(QPen(shine, 1.0));
    p.drawLine(QPointF(16, 47.5), QPointF(45, 47.5));
}

void DrawFace(QPainter& p, const Face& face, const FacePalette& c)
{
    p.setRenderHint(QPainter::Antialiasing, true);
    DrawPlate(p, c);
    if (face.label.empty()) {
        DrawPictogram(p, face.pictogram, QPointF(25, 21), 1.3, c);
    } else {
        DrawPictogram(p, face.pictogram, QPointF(25, 16.5), 1.0, c);
        p.setFont(LabelFont(face.label));
        p.setPen(c.label);
        p.drawText(QRectF(3, 29, kLabelWidth, 11), Qt::AlignHCenter | Qt::AlignVCenter,
                   QString::fromLatin1(face.label.data(), static_cast<qsizetype>(face.label.size())));
    }
    DrawLampSocket(p, c);
}

} // namespace

QImage DrawButtonSheet()
{
    QImage sheetImage(sheet::kSheetWidth, sheet::kSheetHeight, QImage::Format_ARGB32_Premultiplied);
    sheetImage.fill(kPanelBase);
    QPainter p(&sheetImage);
    // Rows are drawn top to bottom: where two faces share a sheet line, the
    // lower face's top edge wins, which is the same outline as the upper's bottom.
    for (std::size_t row = 0; row < kFaces.size(); ++row) {
        for (int column = 0; column < sheet::kFaceColumns; ++column) {
            for (const bool disabled : {false, true}) {
                const int x = column * sheet::kCellWidth + (disabled ? sheet::kDisabledOffset : 0);
                p.save();
                p.translate(x, sheet::kRowTops[row]);
                p.setClipRect(QRect(0, 0, sheet::kCellWidth, sheet::kCellHeight));
                DrawFace(p, kFaces[row][static_cast<std::size_t>(column)],
                         disabled ? DisabledPalette() : EnabledPalette());
                p.restore();
            }
        }
    }
    p.end();
    return sheetImage.convertToFormat(QImage::Format_RGB888);
}

} // namespace orvane::draw
