#pragma once

#include <functional>
#include <optional>

#include <QDialog>

#include "image/PointD.h"
#include "platform/StringTable.h"
#include "settings/CrossLineSettings.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QSpinBox;
class QTabBar;

namespace orvane {

class ColourSwatch;

// What the cross line dialog works on: the main window's lists, the chosen
// calibration's units per pixel, and the colour chooser (the platform's
// colour dialog unless a test answers it).
struct CrossLineDialogBinding {
    CrossLineSettings* lists = nullptr;
    std::function<PointD()> unitsPerPixel;
    std::function<std::optional<COLORREF>(COLORREF start, QWidget* parent)> chooseColour;
};

// "Cross line" (dialog 160), modeless and always on top: the list of lines
// ("Master", "Slave_1", ...), Add and Sub, and the selected line's fields
// (shown, position with its calibrated values, type, colour, size,
// transparency), and the distance from the selected line to the one chosen in
// the distance list. Every change is written into the lists at once and asks
// for a repaint. The window is made hidden at start-up and is afterwards only
// shown and hidden. Each control's objectName is its control id.
//
// UI thread only.
class CCrossLineSetDlg : public QDialog {
    Q_OBJECT

public:
    CCrossLineSetDlg(CrossLineDialogBinding binding, Language language, QWidget* parent);

    // Shows the dialog on top with its top-left corner 400 pixels left of and
    // 100 pixels above `pointer` (global coordinates), size unchanged.
    void ShowNear(QPoint pointer);

    // The lists were loaded or replaced: the entries anew, the first selected.
    void Reload();
    // Selects entry `index` of the lines and shows its fields (a drag on the
    // picture grabbed it or moves it).
    void SelectLine(int index);
    // The fields of the selected line and the distance again (after a drag or
    // a calibration change).
    void RefreshFields();

    [[nodiscard]] int selectedLine() const;
    [[nodiscard]] QWidget* control(int controlId) const;

signals:
    void repaintRequested();

private:
    void BuildControls(Language language);
    void Connect();
    void Relabel(int select);
    void UpdateCalibrated();
    void UpdateDistance();
    CrossLine* Selected();
    void Changed();

    CrossLineDialogBinding m_binding;
    bool m_loading = false;

    QTabBar* m_tabs = nullptr;
    QPushButton* m_add = nullptr;
    QPushButton* m_sub = nullptr;
    QListWidget* m_list = nullptr;
    QCheckBox* m_show = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QLineEdit* m_calibratedX = nullptr;
    QLineEdit* m_calibratedY = nullptr;
    QComboBox* m_type = nullptr;
    QSpinBox* m_transparency = nullptr;
    QSpinBox* m_size = nullptr;
    ColourSwatch* m_colour = nullptr;
    QComboBox* m_distanceTo = nullptr;
    QLineEdit* m_distanceX = nullptr;
    QLineEdit* m_distanceY = nullptr;
    QLineEdit* m_distanceXY = nullptr;
    QLabel* m_hint = nullptr;
};

} // namespace orvane
