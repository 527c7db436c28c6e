#include "app/window/MainWindowControls.h"

#include <algorithm>
#include <array>

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QScrollBar>
#include <QTableView>

#include "app/look/CPictureButton.h"
#include "app/window/ControlIds.h"
#include "app/window/PictureView.h"
#include "app/window/RightColumnLayout.h"
#include "app/look/ToolTipTable.h"
#include "app/look/WindowLook.h"
#include "app/core/MeasureDlgState.h"
#include "image/ZoomTable.h"
#include "measure/CCalibChain.h"

namespace orvane {
namespace {

QString Utf8(std::string_view text)
{
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// Rows of the right panel, 96-dpi tops; columns come from the right-edge layout.
constexpr int kGroupWidth = 190;
constexpr int kImageGroupTop = 12;
constexpr int kImageGroupHeight = 200;
constexpr int kToolGroupTop = 218;
constexpr int kToolGroupHeight = 312;
constexpr std::array<int, 3> kImageRows{32, 88, 144};
constexpr std::array<int, 4> kToolRows{238, 294, 350, 406};
constexpr int kListWidth = 108;
constexpr int kCalibrationListWidth = 96;
constexpr int kResultListTop = 540;
constexpr int kPictureOffset = 10;
constexpr int kStripHeight = 150;
constexpr int kScrollHeight = 17;

// Disabled unless "EnableAllTools" is 1.
constexpr std::array kOptionalTools{ctl::kAria,  ctl::kCircle,       ctl::kCircle2,      ctl::kSui,
                                    ctl::kAngle, ctl::kWhiteBalance, ctl::kMagnetButton, ctl::kMagnetCheck};
// Hidden as well unless "EnableAllTools" is 1.
constexpr std::array kOptionalMagnet{ctl::kMagnetCheck, ctl::kMagnetButton};

} // namespace

MainWindowControls::MainWindowControls(QWidget& window, MeasureDlgState& state, const UiPictures& pictures,
                                       const DpiScale& dpi)
    : m_window(window), m_pictures(pictures), m_dpi(dpi)
{
    const int clientWidth = kInitialClientSize.width();
    const int clientHeight = kInitialClientSize.height();

    // Frames first, so that the controls inside stack above them.
    auto* imageGroup = new QGroupBox(QStringLiteral("Load image"), &window);
    Add(imageGroup, ctl::kImageGroup, 0, kImageGroupTop, kGroupWidth, kImageGroupHeight);
    auto* toolGroup = new QGroupBox(QStringLiteral("Instrumental"), &window);
    Add(toolGroup, ctl::kToolGroup, 0, kToolGroupTop, kGroupWidth, kToolGroupHeight);
    auto* stripGroup = new QGroupBox(&window);
    Add(stripGroup, ctl::kStripGroup, kPictureOffset, clientHeight - 13 - kStripHeight, clientWidth - 250,
        kStripHeight);

    m_picture = new PictureView(state, &window);
    Add(m_picture, ctl::kPicture, kPictureOffset, kPictureOffset, 640, 480);

    AddButton(ctl::kLive, "LIVE", 0, kImageRows[0]);
    AddButton(ctl::kSave, "SAVE", 0, kImageRows[0]);
    AddButton(ctl::kDir, "DIR", 0, kImageRows[0]);
    AddButton(ctl::kSet, "SET", 0, kImageRows[1]);
    AddButton(ctl::kType, "TYPE", 0, kImageRows[1]);
    AddButton(ctl::kThumb, "THUMB", 0, kImageRows[1]);
    AddButton(ctl::kWhiteBalance, "WB", 0, kImageRows[2]);
    auto* zoomLabel = new QLabel(QStringLiteral("Screen scale"), &window);
    Add(zoomLabel, ctl::kZoomLabel, 0, kImageRows[2] + 2, kListWidth, 18);
    m_zoomList = new QComboBox(&window);
    Add(m_zoomList, ctl::kZoomList, 0, kImageRows[2] + 22, kListWidth, 24);

    AddButton(ctl::kLine, "LINE", 0, kToolRows[0]);
    AddButton(ctl::kAria, "ARIA", 0, kToolRows[0]);
    AddButton(ctl::kCircle, "CIRCLE", 0, kToolRows[0]);
    AddButton(ctl::kCircle2, "CIRCLE2", 0, kToolRows[1]);
    AddButton(ctl::kSui, "SUI", 0, kToolRows[1]);
    AddButton(ctl::kAngle, "ANGLE", 0, kToolRows[1]);
    AddButton(ctl::kColor, "COLOR", 0, kToolRows[2]);
    AddButton(ctl::kClear, "CLEAR", 0, kToolRows[2]);
    AddButton(ctl::kDelete, "DELETE", 0, kToolRows[2]);
    AddButton(ctl::kCsv, "CSV", 0, kToolRows[3]);
    AddButton(ctl::kCalib, "CALIB", 0, kToolRows[3]);
    AddButton(ctl::kCrossLine, "Cross Line", 0, kToolRows[3]);

    AddButton(ctl::kMagnetButton, "", 0, 466);
    auto* magnetCheck = new QCheckBox(&window);
    Add(magnetCheck, ctl::kMagnetCheck, 0, 466, 16, 16);
    auto* calibrationLabel = new QLabel(QStringLiteral("Calibration value"), &window);
    calibrationLabel->setWordWrap(true);
    calibrationLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    calibrationLabel->setContentsMargins(0, 0, 4, 0); // not flush against the list beside it
    Add(calibrationLabel, ctl::kCalibrationLabel, 0, 490, kGroupWidth - kCalibrationListWidth - 16, 34);
    m_calibrationList = new QComboBox(&window);
    Add(m_calibrationList, ctl::kCalibrationList, 0, 495, kCalibrationListWidth, 24);

    m_resultList = new QTableView(&window);
    Add(m_resultList, ctl::kResultList, 0, kResultListTop, kGroupWidth, 240);

    m_stripScroll = new QScrollBar(Qt::Horizontal, &window);
    Add(m_stripScroll, ctl::kStripScroll, kPictureOffset, clientHeight - 13 - kScrollHeight, clientWidth - 250,
        kScrollHeight);

    AddButton(ctl::kBottomCorner, "", 0, clientHeight - 13);
    AddButton(ctl::kRightCorner, "", 0, 0);

    for (QWidget* label :
         {static_cast<QWidget*>(imageGroup), static_cast<QWidget*>(toolGroup), static_cast<QWidget*>(zoomLabel),
          static_cast<QWidget*>(calibrationLabel), static_cast<QWidget*>(magnetCheck)}) {
        ApplyStaticTextLook(*label);
    }
    // The magnet button toggles its check box.
    QObject::connect(button(ctl::kMagnetButton), &QAbstractButton::clicked, magnetCheck, &QCheckBox::toggle);
    PlaceForClientSize({m_dpi.DpiScaleX(clientWidth), m_dpi.DpiScaleY(clientHeight)});
}

void MainWindowControls::Add(QWidget* widget, int controlId, int x, int y, int width, int height)
{
    widget->setObjectName(QString::number(controlId));
    widget->setGeometry(m_dpi.DpiScaleX(x), m_dpi.DpiScaleY(y), m_dpi.DpiScaleX(width), m_dpi.DpiScaleY(height));
    m_controls[controlId] = widget;
}

CPictureButton* MainWindowControls::AddButton(int controlId, const char* caption, int x, int y)
{
    auto* pictureButton = new CPictureButton(controlId, m_pictures, &m_window);
    pictureButton->setText(QString::fromLatin1(caption));
    pictureButton->setFocusPolicy(Qt::NoFocus);
    pictureButton->move(m_dpi.DpiScaleX(x), m_dpi.DpiScaleY(y));
    pictureButton->setDpiScale(m_dpi);
    m_controls[controlId] = pictureButton;
    return pictureButton;
}

QWidget* MainWindowControls::control(int controlId) const
{
    const auto found = m_controls.find(controlId);
    return found == m_controls.end() ? nullptr : found->second;
}

CPictureButton* MainWindowControls::button(int controlId) const
{
    return qobject_cast<CPictureButton*>(control(controlId));
}

void MainWindowControls::FillZoomList(Language language, int selected)
{
    m_zoomList->clear();
    for (const std::string& text : ZoomListTexts(language)) {
        m_zoomList->addItem(Utf8(text));
    }
    m_zoomList->setCurrentIndex(selected);
}

void MainWindowControls::FillCalibrationList(const CCalibChain& calibrations)
{
    m_calibrationList->clear();
    for (const CALIBRATION* entry = calibrations.First(); entry != nullptr; entry = entry->next) {
        m_calibrationList->addItem(Utf8(entry->name));
    }
    m_calibrationList->setCurrentIndex(0);
}

void MainWindowControls::SetUpResultList(Language language)
{
    // The list's model (the measuring's) has its four columns by now.
    const std::array<QString, 4> headers{QStringLiteral("No."), Utf8(StringText(StringId::Type, language)),
                                         Utf8(StringText(StringId::Result, language)),
                                         Utf8(StringText(StringId::Unit, language))};
    if (QAbstractItemModel* model = m_resultList->model()) {
        for (int column = 0; column < 4; ++column) {
            model->setHeaderData(column, Qt::Horizontal, headers[static_cast<std::size_t>(column)]);
        }
    }
    const std::array<int, 4> widths{31, 60, 50, 40};
    for (int column = 0; column < 4; ++column) {
        m_resultList->setColumnWidth(column, m_dpi.DpiScaleX(widths[static_cast<std::size_t>(column)]));
    }
    m_resultList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_resultList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_resultList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_resultList->setShowGrid(true);
    // One line a row, as a report list shows it: long texts are cut, not wrapped.
    m_resultList->setWordWrap(false);
    m_resultList->verticalHeader()->setVisible(false);
    m_resultList->verticalHeader()->setDefaultSectionSize(m_resultList->fontMetrics().height() + 4);
    // Rows of one height: long lists scroll without measuring each row.
    m_resultList->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_resultList->horizontalHeader()->setHighlightSections(false);
}

void MainWindowControls::ApplyToolAvailability(bool enableAll)
{
    for (const int id : kOptionalTools) {
        control(id)->setEnabled(enableAll);
    }
    for (const int id : kOptionalMagnet) {
        control(id)->setVisible(enableAll);
    }
}

void MainWindowControls::InstallToolTips(Language language)
{
    if (language == Language::Japanese) {
        for (const ToolTipEntry& entry : ToolTipTable()) {
            if (QWidget* widget = control(entry.controlId)) {
                widget->setToolTip(Utf8(entry.text));
            }
        }
        return;
    }
    for (const EnglishToolTip& entry : EnglishToolTipTable()) {
        if (QWidget* widget = control(entry.controlId)) {
            widget->setToolTip(Utf8(entry.text));
        }
    }
}

void MainWindowControls::SetControlsVisible(std::span<const int> controlIds, bool visible)
{
    for (const int id : controlIds) {
        if (QWidget* widget = control(id)) {
            widget->setVisible(visible);
        }
    }
}

void MainWindowControls::PlaceForClientSize(QSize client)
{
    RightColumnInput input;
    input.clientWidth = client.width();
    input.liveButtonWidth = control(ctl::kLive)->width();
    input.calibrationListWidth = m_calibrationList->width();
    for (const int id : RightColumnControls()) {
        QWidget* widget = control(id);
        if (const std::optional<int> right = RightEdgeX(id, input, m_dpi); widget != nullptr && right) {
            widget->move(*right - widget->width(), widget->y());
        }
    }
    QWidget* corner = control(ctl::kBottomCorner);
    corner->move(corner->x(), BottomCornerTop(client.height(), corner->height()));
}

WindowLayout MainWindowControls::CurrentWindowLayout(QSize client, const MeasureDlgState& state) const
{
    const auto rectOf = [](const QWidget* widget) {
        const QRect r = widget->geometry();
        return RECT{r.left(), r.top(), r.left() + r.width(), r.top() + r.height()};
    };
    WindowLayout layout;
    layout.clientWidth = client.width();
    layout.clientHeight = client.height();
    layout.rightReserve = state.rightReserve();
    layout.bottomReserve = state.bottomReserve();
    layout.rightPanelShown = state.rightPanelShown();
    layout.bottomPanelShown = state.bottomPanelShown();
    layout.dpiX = m_dpi.dpiX();
    layout.dpiY = m_dpi.dpiY();
    const QWidget* corner = control(ctl::kBottomCorner);
    layout.cornerButtonWidth = corner->width();
    layout.cornerButtonHeight = corner->height();
    layout.resultsList = rectOf(m_resultList);
    layout.stripBox = rectOf(control(ctl::kStripGroup));
    layout.scrollBar = rectOf(m_stripScroll);
    return layout;
}

void MainWindowControls::ApplyViewLayout(const ViewLayoutResult& layout)
{
    const auto place = [](QWidget* widget, const RECT& r) {
        widget->setGeometry(r.left, r.top, std::max(0, r.right - r.left), std::max(0, r.bottom - r.top));
    };
    place(m_picture, layout.frame);
    place(m_resultList, layout.resultsList);
    place(control(ctl::kStripGroup), layout.stripBox);
    place(m_stripScroll, layout.scrollBar);
}

int MainWindowControls::RightReserve() const
{
    return control(ctl::kImageGroup)->width() + m_dpi.DpiScaleX(60);
}

int MainWindowControls::BottomReserve() const
{
    return control(ctl::kStripGroup)->height() + m_dpi.DpiScaleY(50);
}

} // namespace orvane
