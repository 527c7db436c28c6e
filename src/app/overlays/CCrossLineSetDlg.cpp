#include "app/overlays/CCrossLineSetDlg.h"

#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QVBoxLayout>

#include "app/overlays/ColourSwatch.h"
#include "tools/CrossLineEdit.h"

namespace orvane {
namespace {

constexpr int kDialogId = 160;
constexpr int kTabId = 1239;
constexpr int kAddId = 1223;
constexpr int kSubId = 1224;
constexpr int kListId = 1225;
constexpr int kShowId = 1227;
constexpr int kXId = 1121;
constexpr int kYId = 1122;
constexpr int kCalibratedXId = 1125;
constexpr int kCalibratedYId = 1126;
constexpr int kTypeId = 1124;
constexpr int kTransparencyId = 1127;
constexpr int kSizeId = 1123;
constexpr int kColourId = 1072;
constexpr int kDistanceToId = 1244;
constexpr int kDistanceXId = 1132;
constexpr int kDistanceYId = 1133;
constexpr int kDistanceXYId = 1134;
constexpr int kHintId = 1243;

constexpr int kOffsetLeft = 400;
constexpr int kOffsetUp = 100;

template <class Widget> Widget* Named(Widget* widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

QLineEdit* ReadOnly(int id, QWidget* parent)
{
    auto* edit = Named(new QLineEdit(parent), id);
    edit->setReadOnly(true);
    return edit;
}

QString Real(double value)
{
    return QString::fromStdString(TrimmedReal(value));
}

std::optional<COLORREF> PlatformColour(COLORREF start, QWidget* parent)
{
    const QColor chosen = QColorDialog::getColor(ToQColor(start), parent);
    if (!chosen.isValid()) {
        return std::nullopt;
    }
    return FromQColor(chosen);
}

} // namespace

CCrossLineSetDlg::CCrossLineSetDlg(CrossLineDialogBinding binding, Language language, QWidget* parent)
    : QDialog(parent, Qt::Tool | Qt::WindowStaysOnTopHint), m_binding(std::move(binding))
{
    setObjectName(QString::number(kDialogId));
    setWindowTitle(QStringLiteral("Cross line"));
    setModal(false);
    if (!m_binding.chooseColour) {
        m_binding.chooseColour = PlatformColour;
    }
    BuildControls(language);
    Connect();
    Reload();
}

QWidget* CCrossLineSetDlg::control(int controlId) const
{
    return findChild<QWidget*>(QString::number(controlId));
}

void CCrossLineSetDlg::BuildControls(Language language)
{
    m_tabs = Named(new QTabBar(this), kTabId);
    m_tabs->addTab(language == Language::Japanese ? QString::fromUtf8("クロスライン") : QStringLiteral("Clossline"));
    m_add = Named(new QPushButton(QStringLiteral("Add"), this), kAddId);
    m_sub = Named(new QPushButton(QStringLiteral("Sub"), this), kSubId);
    for (QPushButton* button : {m_add, m_sub}) {
        button->setAutoDefault(false);
    }
    m_list = Named(new QListWidget(this), kListId);
    m_show = Named(new QCheckBox(QStringLiteral("Line show"), this), kShowId);
    m_x = Named(new QLineEdit(this), kXId);
    m_y = Named(new QLineEdit(this), kYId);
    m_calibratedX = ReadOnly(kCalibratedXId, this);
    m_calibratedY = ReadOnly(kCalibratedYId, this);
    m_type = Named(new QComboBox(this), kTypeId);
    m_type->addItems({QStringLiteral("Solid line"), QStringLiteral("Dashed line")});
    m_transparency = Named(new QSpinBox(this), kTransparencyId);
    m_transparency->setRange(0, 100);
    m_transparency->setValue(100);
    m_size = Named(new QSpinBox(this), kSizeId);
    m_size->setRange(1, 10);
    m_size->setValue(1);
    m_colour = new ColourSwatch(kColourId, this);
    m_distanceTo = Named(new QComboBox(this), kDistanceToId);
    m_distanceX = ReadOnly(kDistanceXId, this);
    m_distanceY = ReadOnly(kDistanceYId, this);
    m_distanceXY = ReadOnly(kDistanceXYId, this);
    m_hint = Named(new QLabel(this), kHintId);
    m_hint->setStyleSheet(QStringLiteral("color: red"));

    const auto label = [this](const char* text) { return new QLabel(QString::fromUtf8(text), this); };
    auto* fields = new QGridLayout;
    fields->addWidget(m_show, 0, 0, 1, 2);
    fields->addWidget(label("X"), 1, 0);
    fields->addWidget(m_x, 1, 1);
    fields->addWidget(m_calibratedX, 1, 2);
    fields->addWidget(label("Y"), 2, 0);
    fields->addWidget(m_y, 2, 1);
    fields->addWidget(m_calibratedY, 2, 2);
    fields->addWidget(label("Type"), 3, 0);
    fields->addWidget(m_type, 3, 1);
    fields->addWidget(m_colour, 3, 2);
    fields->addWidget(label("Transparency"), 4, 0);
    fields->addWidget(m_transparency, 4, 1);
    fields->addWidget(label("Size"), 5, 0);
    fields->addWidget(m_size, 5, 1);
    fields->addWidget(m_distanceTo, 6, 0, 1, 3);
    fields->addWidget(label("X"), 7, 0);
    fields->addWidget(m_distanceX, 7, 1, 1, 2);
    fields->addWidget(label("Y"), 8, 0);
    fields->addWidget(m_distanceY, 8, 1, 1, 2);
    fields->addWidget(label("XY"), 9, 0);
    fields->addWidget(m_distanceXY, 9, 1, 1, 2);

    auto* listColumn = new QVBoxLayout;
    auto* listButtons = new QHBoxLayout;
    listButtons->addWidget(m_add);
    listButtons->addWidget(m_sub);
    listColumn->addLayout(listButtons);
    listColumn->addWidget(m_list);

    auto* body = new QHBoxLayout;
    body->addLayout(listColumn);
    body->addLayout(fields);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_tabs);
    layout->addLayout(body);
    layout->addWidget(m_hint);
}

void CCrossLineSetDlg::Connect()
{
    connect(m_list, &QListWidget::currentRowChanged, this, [this] { RefreshFields(); });
    connect(m_distanceTo, &QComboBox::currentIndexChanged, this, [this] { UpdateDistance(); });
    connect(m_add, &QPushButton::clicked, this, [this] {
        const int selected = selectedLine();
        const std::size_t added = AddCrossLine(
            m_binding.lists->lines, selected >= 0 ? std::optional<std::size_t>(selected) : std::nullopt,
            m_type->currentIndex() == 1 ? 1 : 0, m_size->value(), m_transparency->value());
        Relabel(static_cast<int>(added));
        Changed();
    });
    connect(m_sub, &QPushButton::clicked, this, [this] {
        const int selected = selectedLine();
        if (selected < 0) {
            return;
        }
        if (const std::optional<std::size_t> next =
                RemoveCrossLine(m_binding.lists->lines, static_cast<std::size_t>(selected))) {
            Relabel(static_cast<int>(*next));
            Changed();
        }
    });
    const auto field = [this](auto* widget, auto signal, auto apply) {
        connect(widget, signal, this, [this, apply](auto value) {
            CrossLine* line = Selected();
            if (m_loading || line == nullptr) {
                return;
            }
            apply(*line, value);
            // The control keeps what is typed; only the values derived from it follow.
            UpdateCalibrated();
            UpdateDistance();
            Changed();
        });
    };
    field(m_x, &QLineEdit::textEdited, [](CrossLine& line, const QString& text) {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        line.Pos_x = ok ? value : line.Pos_x;
    });
    field(m_y, &QLineEdit::textEdited, [](CrossLine& line, const QString& text) {
        bool ok = false;
        const int value = text.trimmed().toInt(&ok);
        line.Pos_y = ok ? value : line.Pos_y;
    });
    field(m_size, &QSpinBox::valueChanged, [](CrossLine& line, int value) { line.Size = value; });
    field(m_transparency, &QSpinBox::valueChanged, [](CrossLine& line, int value) { line.Draw = value; });
    field(m_type, &QComboBox::activated, [](CrossLine& line, int value) { line.Type = value == 1 ? 1 : 0; });
    field(m_show, &QCheckBox::toggled, [](CrossLine& line, bool on) { line.Show = on ? 1 : 0; });
    connect(m_colour, &ColourSwatch::clicked, this, [this] {
        CrossLine* line = Selected();
        if (line == nullptr) {
            return;
        }
        if (const std::optional<COLORREF> chosen = m_binding.chooseColour(line->Color, this)) {
            line->Color = *chosen;
            RefreshFields();
            Changed();
        }
    });
}

void CCrossLineSetDlg::ShowNear(QPoint pointer)
{
    move(pointer.x() - kOffsetLeft, pointer.y() - kOffsetUp);
    show();
    raise();
}

void CCrossLineSetDlg::Reload()
{
    Relabel(0);
}

void CCrossLineSetDlg::Relabel(int select)
{
    const std::vector<CrossLine>& lines = m_binding.lists->lines;
    {
        const QSignalBlocker quietList(m_list);
        const QSignalBlocker quietDistance(m_distanceTo);
        m_list->clear();
        m_distanceTo->clear();
        for (std::size_t i = 0; i < lines.size(); ++i) {
            const QString text = QString::fromStdString(CrossLineLabel(i));
            m_list->addItem(text);
            m_distanceTo->addItem(text);
        }
        m_distanceTo->setCurrentIndex(m_distanceTo->count() > 1 ? 1 : 0);
        m_list->setCurrentRow(select >= 0 && select < m_list->count() ? select : 0);
    }
    RefreshFields();
}

void CCrossLineSetDlg::SelectLine(int index)
{
    if (index < 0 || index >= m_list->count()) {
        return;
    }
    const QSignalBlocker quiet(m_list);
    m_list->setCurrentRow(index);
    RefreshFields();
}

int CCrossLineSetDlg::selectedLine() const
{
    const int row = m_list->currentRow();
    return row >= 0 && row < static_cast<int>(m_binding.lists->lines.size()) ? row : -1;
}

CrossLine* CCrossLineSetDlg::Selected()
{
    const int row = selectedLine();
    return row >= 0 ? &m_binding.lists->lines[static_cast<std::size_t>(row)] : nullptr;
}

void CCrossLineSetDlg::RefreshFields()
{
    const CrossLine* line = Selected();
    if (line == nullptr) {
        return;
    }
    m_loading = true;
    m_x->setText(QString::number(line->Pos_x));
    m_y->setText(QString::number(line->Pos_y));
    m_type->setCurrentIndex(line->Type == 1 ? 1 : 0);
    m_colour->SetColour(line->Color);
    m_size->setValue(line->Size);
    m_transparency->setValue(line->Draw);
    m_show->setChecked(line->Show != 0);
    m_loading = false;
    UpdateCalibrated();
    UpdateDistance();
}

void CCrossLineSetDlg::UpdateCalibrated()
{
    const CrossLine* line = Selected();
    if (line == nullptr) {
        return;
    }
    const PointD unitsPerPixel = m_binding.unitsPerPixel ? m_binding.unitsPerPixel() : PointD{};
    m_calibratedX->setText(Real(line->Pos_x * unitsPerPixel.x));
    m_calibratedY->setText(Real(line->Pos_y * unitsPerPixel.y));
}

void CCrossLineSetDlg::UpdateDistance()
{
    const std::vector<CrossLine>& lines = m_binding.lists->lines;
    const int a = selectedLine();
    const int b = m_distanceTo->currentIndex();
    if (a < 0 || b < 0 || b >= static_cast<int>(lines.size())) {
        m_distanceX->clear();
        m_distanceY->clear();
        m_distanceXY->clear();
        return;
    }
    const PointD unitsPerPixel = m_binding.unitsPerPixel ? m_binding.unitsPerPixel() : PointD{};
    const CrossLineDistance distance =
        DistanceBetween(lines, static_cast<std::size_t>(a), static_cast<std::size_t>(b), unitsPerPixel);
    m_distanceX->setText(Real(distance.dx));
    m_distanceY->setText(Real(distance.dy));
    m_distanceXY->setText(Real(distance.xy));
}

void CCrossLineSetDlg::Changed()
{
    emit repaintRequested();
}

} // namespace orvane
