#include "app/overlays/CCColorSet.h"

#include <algorithm>
#include <array>
#include <string>

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include "app/overlays/ColourSwatch.h"
#include "app/overlays/SheetFaceButton.h"
#include "app/qt/QtDrawingSurface.h"
#include "image/GridDrawing.h"
#include "image/ScaleBar.h"
#include "image/ZoomTable.h"
#include "settings/CalibrationSettings.h"
#include "settings/MeasureStyleSettings.h"

namespace orvane {
namespace {

constexpr int kDialogId = 136;
constexpr int kFocusId = 1220;
constexpr int kScaleId = 1229;
constexpr int kGridId = 1230;
constexpr int kFocusScaleId = 1234;
constexpr int kLineColourId = 1023;
constexpr int kLineWidthId = 1141;
constexpr int kWaveColourId = 1026;
constexpr int kWaveWidthId = 1142;
constexpr int kGridColourId = 1027;
constexpr int kGridSizeId = 1144;
constexpr int kGridFieldId = 1232;
constexpr int kFontSampleId = 1024;
constexpr int kAngleBaseId = 1221;
constexpr int kAngleId = 1143;
constexpr int kShowAngleId = 1233;
constexpr int kXId = 1121;
constexpr int kYId = 1122;
constexpr int kTypeId = 1124;
constexpr int kPlaceId = 1125;
constexpr int kCrossHairsColourId = 1250;
constexpr int kOutlineId = 1249;
constexpr int kOkId = 1;
constexpr int kCancelId = 2;

constexpr int kOffsetLeft = 300;
constexpr int kOffsetUp = 150;
constexpr int kFaceWidth = 50;
constexpr int kFaceHeight = 53;
constexpr int kDisabledHalf = 200; // the faces are taken from the sheet's right half

struct Texts {
    const char* english;
    const char* japanese;
};
constexpr std::array kAngleBases{Texts{"X-axis +", "Ｘ軸＋"}, Texts{"Y-axis +", "Ｙ軸＋"}, Texts{"X-axis -", "Ｘ軸－"},
                                 Texts{"Y-axis -", "Ｙ軸－"}};
constexpr std::array kBarTypes{Texts{"X bar", "Xバー"}, Texts{"X-Y bar", "X-Yバー"}};
constexpr std::array kPlaces{Texts{"upper left", "左上"}, Texts{"lower left", "左下"}, Texts{"upper right", "右上"},
                             Texts{"lower right", "右下"}, Texts{"center", "中央"}};
constexpr std::array kCrossHairColours{Texts{"White", "白"}, Texts{"Black", "黒"}};

template <class Widget> Widget* Named(Widget* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

template <std::size_t N> void Fill(QComboBox* list, const std::array<Texts, N>& texts, Language language)
{
    for (const Texts& text : texts) {
        list->addItem(QString::fromUtf8(language == Language::Japanese ? text.japanese : text.english));
    }
}

QSpinBox* Spin(int id, int minimum, int maximum, QWidget* parent)
{
    auto* spin = Named(new QSpinBox(parent), id);
    spin->setRange(minimum, maximum);
    return spin;
}

QImage Face(const QImage& sheet, int x, int y)
{
    return sheet.isNull() ? QImage() : sheet.copy(x + kDisabledHalf, y, kFaceWidth, kFaceHeight);
}

std::optional<COLORREF> PlatformColour(COLORREF start, QWidget* parent)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(start), parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return FromQColor(chosen);
}

std::optional<QFont> PlatformFont(const QFont& start, QWidget* parent)
{
    bool ok = false;
    const QFont chosen = QFontDialog::getFont(&ok, start, parent);
    if (!ok) {
        return std::nullopt;
    }
    return chosen;
}

// An integer edit as the dialog reads it: the number, or nullopt for other text.
std::optional<int> IntegerOf(const QLineEdit* edit)
{
    bool ok = false;
    const int value = edit->text().trimmed().toInt(&ok);
    return ok ? std::optional<int>(value) : std::nullopt;
}

} // namespace

void StoreFont(const QFont& font, LogFontSettings& into)
{
    int pixels = font.pixelSize();
    if (pixels <= 0) {
        // A point size: pixels at the 96 dpi the settings assume.
        pixels = static_cast<int>(font.pointSizeF() * 96.0 / 72.0 + 0.5);
    }
    into.lfHeight = -std::max(1, pixels);
    into.lfWeight = font.weight();
    into.lfItalic = font.italic() ? 1 : 0;
    into.lfUnderline = font.underline() ? 1 : 0;
    into.lfStrikeOut = font.strikeOut() ? 1 : 0;
    into.lfFaceName = font.family().left(static_cast<qsizetype>(kFaceNameMaxChars)).toStdString();
}

CCColorSet::CCColorSet(ColourDialogBinding binding, const QImage& sheet, Language language, QWidget* parent)
    : QDialog(parent), m_binding(std::move(binding))
{
    setObjectName(QString::number(kDialogId));
    setWindowTitle(QStringLiteral("Color setting"));
    setModal(false);
    setAttribute(Qt::WA_DeleteOnClose);
    if (!m_binding.chooseColour) {
        m_binding.chooseColour = PlatformColour;
    }
    if (!m_binding.chooseFont) {
        m_binding.chooseFont = PlatformFont;
    }
    m_undo = *m_binding.scale;
    if (m_binding.profile != nullptr) {
        m_scaleDec = ReadScaleDec(*m_binding.profile);
    }
    BuildControls(sheet, language);
    LoadControls();
    Connect();
    m_initialised = true;
}

QWidget* CCColorSet::control(int controlId) const
{
    return findChild<QWidget*>(QString::number(controlId));
}

void CCColorSet::BuildControls(const QImage& sheet, Language language)
{
    m_scaleButton = new SheetFaceButton(kScaleId, Face(sheet, 0, 265), QStringLiteral("Show scale"), this);
    m_focusButton = new SheetFaceButton(kFocusId, Face(sheet, 150, 265), QStringLiteral("Show focus"), this);
    m_gridButton = new SheetFaceButton(kGridId, Face(sheet, 0, 318), QStringLiteral("Show grid"), this);
    m_focusScale = Named(new QComboBox(this), kFocusScaleId);
    for (int index = 1; index < kZoomCount; ++index) {
        m_focusScale->addItem(QString::fromStdString(ZoomListText(index, language)));
    }

    m_lineColour = new ColourSwatch(kLineColourId, this);
    m_lineWidth = Spin(kLineWidthId, 1, 20, this);
    m_waveColour = new ColourSwatch(kWaveColourId, this);
    m_waveWidth = Spin(kWaveWidthId, 1, 20, this);
    m_gridColour = new ColourSwatch(kGridColourId, this);
    m_gridSize = Spin(kGridSizeId, 1, 500, this);
    m_gridField = Named(new QLineEdit(this), kGridFieldId);
    m_fontSample = new ColourSwatch(kFontSampleId, this);
    m_angleBase = Named(new QComboBox(this), kAngleBaseId);
    Fill(m_angleBase, kAngleBases, language);
    m_angle = Spin(kAngleId, 1, 359, this);
    m_showAngle = Named(new QCheckBox(QStringLiteral("Show angle"), this), kShowAngleId);
    m_x = Named(new QLineEdit(this), kXId);
    m_y = Named(new QLineEdit(this), kYId);
    m_type = Named(new QComboBox(this), kTypeId);
    Fill(m_type, kBarTypes, language);
    m_place = Named(new QComboBox(this), kPlaceId);
    Fill(m_place, kPlaces, language);
    m_crossHairsColour = Named(new QComboBox(this), kCrossHairsColourId);
    Fill(m_crossHairsColour, kCrossHairColours, language);
    m_outline = Named(new QCheckBox(QStringLiteral("Show outline in white"), this), kOutlineId);
    auto* ok = Named(new QPushButton(QStringLiteral("OK"), this), kOkId);
    ok->setDefault(true);
    auto* cancel = Named(new QPushButton(QStringLiteral("Cancel"), this), kCancelId);
    cancel->setAutoDefault(false);
    connect(ok, &QPushButton::clicked, this, &CCColorSet::accept);
    connect(cancel, &QPushButton::clicked, this, &CCColorSet::reject);

    auto* faces = new QHBoxLayout;
    faces->addWidget(m_focusButton);
    faces->addWidget(m_scaleButton);
    faces->addWidget(m_gridButton);
    faces->addWidget(m_focusScale);

    auto* pens = new QGridLayout;
    const auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    pens->addWidget(label("Line Size & Color"), 0, 0);
    pens->addWidget(m_lineColour, 0, 1);
    pens->addWidget(m_lineWidth, 0, 2);
    pens->addWidget(label("Wave Color"), 1, 0);
    pens->addWidget(m_waveColour, 1, 1);
    pens->addWidget(m_waveWidth, 1, 2);
    pens->addWidget(label("Gird Color"), 2, 0);
    pens->addWidget(m_gridColour, 2, 1);
    pens->addWidget(m_gridSize, 2, 2);
    pens->addWidget(m_gridField, 2, 3);
    pens->addWidget(label("Text font & Color"), 3, 0);
    pens->addWidget(m_fontSample, 3, 1, 1, 3);
    pens->addWidget(label("Base Line"), 4, 0);
    pens->addWidget(m_angleBase, 4, 1);
    pens->addWidget(label("Angle"), 4, 2);
    pens->addWidget(m_angle, 4, 3);
    pens->addWidget(m_showAngle, 5, 1);

    auto* bar = new QGridLayout;
    bar->addWidget(label("X"), 0, 0);
    bar->addWidget(m_x, 0, 1);
    bar->addWidget(label("Y"), 0, 2);
    bar->addWidget(m_y, 0, 3);
    bar->addWidget(label("Type"), 1, 0);
    bar->addWidget(m_type, 1, 1);
    bar->addWidget(label("Potision"), 1, 2);
    bar->addWidget(m_place, 1, 3);

    auto* crossHairs = new QGroupBox(QStringLiteral("Cross hairs"), this);
    auto* crossHairsLayout = new QHBoxLayout(crossHairs);
    crossHairsLayout->addWidget(m_crossHairsColour);
    crossHairsLayout->addWidget(m_outline);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(faces);
    layout->addLayout(pens);
    layout->addLayout(bar);
    layout->addWidget(crossHairs);
    layout->addLayout(buttons);
}

void CCColorSet::LoadControls()
{
    ColorSettings& color = *m_binding.color;
    const ScaleDataSettings& scale = *m_binding.scale;
    m_lineWidth->setValue(color.linesize);
    m_waveWidth->setValue(color.wavesize);
    m_gridSize->setValue(color.gridsize);
    m_angle->setValue(color.angle);
    RefreshGridField();
    m_angleBase->setCurrentIndex(color.anglebaseline);
    m_type->setCurrentIndex(scale.Type);
    m_focusScale->setCurrentIndex(color.focusscale);
    m_place->setCurrentIndex(-1);
    m_showAngle->setChecked(color.showangle != 0);
    m_outline->setChecked(color.CursorCrosshairs.ShowCenter != 0);
    m_x->setText(QString::number(scale.Size.cx));
    m_y->setText(QString::number(scale.Size.cy));
    color.CursorCrosshairs.Color = RGB(255, 255, 255);
    m_crossHairsColour->setCurrentIndex(0);
    m_lineColour->SetColour(color.line);
    m_waveColour->SetColour(color.wave);
    m_gridColour->SetColour(color.grid);
    m_fontSample->SetColour(color.text);
    m_fontSample->SetSample(QStringLiteral("0123456789"), ToQFont(DrawingFontOf(color.font)));
}

void CCColorSet::Connect()
{
    ColorSettings& color = *m_binding.color;
    ScaleDataSettings& scale = *m_binding.scale;
    const auto spin = [this](QSpinBox* box, int& into) {
        connect(box, &QSpinBox::valueChanged, this, [this, &into](int value) {
            into = value;
            Changed();
        });
    };
    spin(m_lineWidth, color.linesize);
    spin(m_waveWidth, color.wavesize);
    spin(m_angle, color.angle);
    connect(m_gridSize, &QSpinBox::valueChanged, this, [this, &color](int value) {
        color.gridsize = value;
        RefreshGridField();
        Changed();
    });
    connect(m_gridField, &QLineEdit::textChanged, this, &CCColorSet::OnGridFieldChanged);
    connect(m_scaleButton, &QAbstractButton::clicked, this, [this, &scale] {
        scale.Visible = scale.Visible != 0 ? 0 : 1;
        Changed();
    });
    connect(m_focusScale, &QComboBox::activated, this, [this, &color](int index) {
        color.focusscale = index;
        Changed();
    });
    connect(m_angleBase, &QComboBox::activated, this, [this, &color](int index) {
        color.anglebaseline = index;
        Changed();
    });
    connect(m_type, &QComboBox::activated, this, [this, &scale](int index) {
        scale.Type = index;
        Changed();
    });
    connect(m_place, &QComboBox::activated, this, &CCColorSet::OnPlace);
    connect(m_crossHairsColour, &QComboBox::activated, this, [this, &color](int index) {
        color.CursorCrosshairs.Color = index == 0 ? RGB(255, 255, 255) : RGB(0, 0, 0);
        Changed();
    });
    connect(m_showAngle, &QCheckBox::toggled, this, [this, &color](bool on) {
        color.showangle = on ? 1 : 0;
        Changed();
    });
    connect(m_outline, &QCheckBox::toggled, this, [this, &color](bool on) {
        color.CursorCrosshairs.ShowCenter = on ? 1 : 0;
        Changed();
    });
    connect(m_lineColour, &ColourSwatch::clicked, this, &CCColorSet::OnLineColour);
    connect(m_fontSample, &ColourSwatch::clicked, this, &CCColorSet::OnFont);
}

void CCColorSet::ShowNear(QPoint pointer)
{
    move(pointer.x() - kOffsetLeft, pointer.y() - kOffsetUp);
    show();
}

void CCColorSet::RefreshGridField()
{
    const bool wasInitialised = m_initialised;
    m_initialised = false;
    const double unitsPerPixel = m_binding.unitsPerPixel ? m_binding.unitsPerPixel().x : 0.0;
    if (const std::optional<std::string> text =
            FormatGridField(m_binding.color->gridsize, unitsPerPixel, m_scaleDec)) {
        m_gridField->setText(QString::fromStdString(*text));
    }
    m_initialised = wasInitialised;
}

void CCColorSet::OnGridFieldChanged(const QString& text)
{
    if (!m_initialised) {
        return;
    }
    const double unitsPerPixel = m_binding.unitsPerPixel ? m_binding.unitsPerPixel().x : 0.0;
    const GridFieldEntry entry = ParseGridField(text.toStdString(), unitsPerPixel);
    m_scaleDec = entry.scaleDec;
    if (entry.gridSize) {
        m_binding.color->gridsize = *entry.gridSize;
        const QSignalBlocker quiet(m_gridSize);
        m_gridSize->setValue(*entry.gridSize);
        Changed();
    }
}

void CCColorSet::ReadLengths()
{
    ScaleDataSettings& scale = *m_binding.scale;
    scale.Size.cx = IntegerOf(m_x).value_or(scale.Size.cx);
    scale.Size.cy = IntegerOf(m_y).value_or(scale.Size.cy);
}

void CCColorSet::OnPlace(int place)
{
    if (place < 0 || place >= static_cast<int>(kPlaces.size())) {
        return;
    }
    ScaleDataSettings& scale = *m_binding.scale;
    const int x = IntegerOf(m_x).value_or(scale.Size.cx);
    const int y = IntegerOf(m_y).value_or(scale.Size.cy);
    const PointD unitsPerPixel = m_binding.unitsPerPixel ? m_binding.unitsPerPixel() : PointD{};
    if (const std::optional<IntPoint> anchor =
            ScaleBarAnchor(static_cast<ScaleBarPlace>(place), x, y, unitsPerPixel.x, unitsPerPixel.y,
                           m_binding.frameWidth, m_binding.frameHeight)) {
        scale.Pos = {anchor->x, anchor->y};
    }
    scale.Size = {x, y};
    m_x->setText(QString::number(x));
    m_y->setText(QString::number(y));
    Changed();
}

void CCColorSet::OnLineColour()
{
    if (const std::optional<COLORREF> chosen = m_binding.chooseColour(m_binding.color->line, this)) {
        m_binding.color->line = *chosen;
        m_lineColour->SetColour(*chosen);
        Changed();
    }
}

void CCColorSet::OnFont()
{
    ColorSettings& color = *m_binding.color;
    const std::optional<QFont> font = m_binding.chooseFont(ToQFont(DrawingFontOf(color.font)), this);
    if (!font) {
        return;
    }
    StoreFont(*font, color.font);
    // Qt's font dialog has no colour: the text colour is asked for next.
    if (const std::optional<COLORREF> colour = m_binding.chooseColour(color.text, this)) {
        color.text = *colour;
    }
    m_fontSample->SetColour(color.text);
    m_fontSample->SetSample(QStringLiteral("0123456789"), ToQFont(DrawingFontOf(color.font)));
    Changed();
}

void CCColorSet::Changed()
{
    emit repaintRequested();
}

void CCColorSet::accept()
{
    if (m_finished) {
        return;
    }
    m_finished = true;
    ReadLengths();
    emit repaintRequested();
    if (m_binding.profile != nullptr) {
        WriteScaleDec(*m_binding.profile, m_scaleDec);
    }
    done(kOkId);
}

void CCColorSet::reject()
{
    if (m_finished) {
        return;
    }
    m_finished = true;
    *m_binding.scale = m_undo;
    emit repaintRequested();
    done(kCancelId);
}

} // namespace orvane
