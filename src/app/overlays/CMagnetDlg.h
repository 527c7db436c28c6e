#pragma once

#include <QDialog>

#include "platform/StringTable.h"
#include "settings/OrvaneSettings.h"

class QCheckBox;
class QComboBox;
class QSlider;
class QSpinBox;

namespace orvane {

// "Magnet setting" (dialog 164), modeless and always on top: the threshold
// slider 1238 (0-255, ticks every 32) and its edit 1239 with spin 1240 always
// show the same value and set "MagnetData.TH"; "Area" (edit 1123, spin 1228,
// 1-10) sets "MagnetData.Size"; "Binary" (1227) sets "MagnetData.Show"; "Type"
// (1124) sets "MagnetData.Vector". Every change is stored at once and
// announced; OK hides the dialog.
//
// The settings belong to the main window and outlive the dialog. UI thread only.
class CMagnetDlg : public QDialog {
    Q_OBJECT

public:
    CMagnetDlg(MagnetDataSettings& settings, Language language, QWidget* parent);

    // Shows the controls' values from the settings (values outside a control's
    // range show as its nearest end).
    void LoadFromSettings();

    [[nodiscard]] QSlider* thresholdSlider() const { return m_slider; }
    [[nodiscard]] QSpinBox* thresholdSpin() const { return m_threshold; }
    [[nodiscard]] QSpinBox* areaSpin() const { return m_area; }
    [[nodiscard]] QCheckBox* binaryCheck() const { return m_binary; }
    [[nodiscard]] QComboBox* typeList() const { return m_type; }

signals:
    // A setting changed: the main view repaints.
    void settingsChanged();

private:
    void SetThreshold(int value);

    MagnetDataSettings& m_settings;
    QSlider* m_slider = nullptr;
    QSpinBox* m_threshold = nullptr;
    QSpinBox* m_area = nullptr;
    QCheckBox* m_binary = nullptr;
    QComboBox* m_type = nullptr;
};

} // namespace orvane
