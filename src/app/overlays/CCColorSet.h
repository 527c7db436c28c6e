#pragma once

#include <functional>
#include <optional>

#include <QDialog>
#include <QFont>
#include <QImage>

#include "image/PointD.h"
#include "platform/StringTable.h"
#include "settings/OrvaneSettings.h"

class QCheckBox;
class QComboBox;
class QLineEdit;
class QSpinBox;

namespace orvane {

class ColourSwatch;
class ProfileFile;
class SheetFaceButton;

// What the colour dialog works on: the main window's settings, written at
// once as the controls change; the settings file for "ScaleDec"; the chosen
// calibration's units per pixel; the display frame's size. The choosers
// default to the platform's colour and font dialogs; tests answer them.
struct ColourDialogBinding {
    ColorSettings* color = nullptr;
    ScaleDataSettings* scale = nullptr;
    ProfileFile* profile = nullptr;
    std::function<PointD()> unitsPerPixel;
    int frameWidth = 0;
    int frameHeight = 0;
    // The colour dialog starting at a colour; nullopt when cancelled.
    std::function<std::optional<COLORREF>(COLORREF start, QWidget* parent)> chooseColour;
    // The font dialog starting at a font; nullopt when cancelled.
    std::function<std::optional<QFont>(const QFont& start, QWidget* parent)> chooseFont;
};

// "Color setting" (dialog 136), modeless: the measurement pen and text font,
// the focus wave pen, the grid colour and spacing (in pixels and in
// calibration units), the angle base line and snap step, the cross-hair
// options, the focus display's magnification and the scale bar (shown, kind,
// lengths, place). Every change is written into the settings at once and
// asks for a repaint; OK also sets the bar lengths from the X and Y edits and
// stores "ScaleDec"; Cancel puts back the scale bar as it was when the dialog
// opened and keeps every other change. Either closes and deletes the dialog.
// Each control's objectName is its control id.
//
// UI thread only.
class CCColorSet : public QDialog {
    Q_OBJECT

public:
    // `sheet` is the window's button sheet (its right half gives the faces).
    CCColorSet(ColourDialogBinding binding, const QImage& sheet, Language language, QWidget* parent);

    // Shows the dialog with its top-left corner 300 pixels left of and 150
    // pixels above `pointer` (global coordinates), size unchanged.
    void ShowNear(QPoint pointer);

    // The grid field from the grid size and the calibration as it is now
    // (the field keeps its text when the calibration has no usable scale).
    void RefreshGridField();

    void accept() override;
    void reject() override;

    [[nodiscard]] int scaleDec() const { return m_scaleDec; }
    [[nodiscard]] QWidget* control(int controlId) const;

signals:
    // The main window's picture is to be repainted.
    void repaintRequested();

private:
    void BuildControls(const QImage& sheet, Language language);
    void LoadControls();
    void Connect();
    void OnGridFieldChanged(const QString& text);
    void OnPlace(int place);
    void OnLineColour();
    void OnFont();
    void ReadLengths();
    void Changed();

    ColourDialogBinding m_binding;
    ScaleDataSettings m_undo;
    int m_scaleDec = 1;
    bool m_initialised = false;
    bool m_finished = false;

    SheetFaceButton* m_focusButton = nullptr;
    SheetFaceButton* m_scaleButton = nullptr;
    SheetFaceButton* m_gridButton = nullptr;
    QComboBox* m_focusScale = nullptr;
    ColourSwatch* m_lineColour = nullptr;
    QSpinBox* m_lineWidth = nullptr;
    ColourSwatch* m_waveColour = nullptr;
    QSpinBox* m_waveWidth = nullptr;
    ColourSwatch* m_gridColour = nullptr;
    QSpinBox* m_gridSize = nullptr;
    QLineEdit* m_gridField = nullptr;
    ColourSwatch* m_fontSample = nullptr;
    QComboBox* m_angleBase = nullptr;
    QSpinBox* m_angle = nullptr;
    QCheckBox* m_showAngle = nullptr;
    QLineEdit* m_x = nullptr;
    QLineEdit* m_y = nullptr;
    QComboBox* m_type = nullptr;
    QComboBox* m_place = nullptr;
    QComboBox* m_crossHairsColour = nullptr;
    QCheckBox* m_outline = nullptr;
};

// The platform font <-> the "color.font.*" fields (pixel height, weight,
// italic, underline, strike-out, face name of at most 31 characters).
void StoreFont(const QFont& font, LogFontSettings& into);

} // namespace orvane
