#pragma once

#include <cstdint>
#include <map>
#include <vector>

#include <QDialog>

#include "capture/IVideoDevice.h"

class QCheckBox;
class QGridLayout;
class QComboBox;
class QPushButton;
class QSlider;
class QSpinBox;

namespace orvane {

// The device's own settings page ("source"): a slider with a number for each
// integer control, a check box for each switch (the automatic modes among
// them), a list for each menu and a button for each action, each greyed while
// the device says it cannot be changed (an automatic mode rules it). Changes
// apply at once; "Default" sets every control to its default; Cancel puts back
// what was there when the page opened.
class CSourcePropertyPage : public QDialog {
    Q_OBJECT

public:
    CSourcePropertyPage(IVideoDevice& device, QWidget* parent);

    // The editor of a control: its spin box, check box, combo box or button
    // (tests drive them); nullptr for an unknown id.
    [[nodiscard]] QWidget* editor(std::uint32_t id) const;
    [[nodiscard]] QPushButton* defaultButton() const { return m_default; }

    void reject() override;

private:
    struct Row {
        VideoControl::Type type = VideoControl::Type::Integer;
        QSlider* slider = nullptr;
        QSpinBox* number = nullptr;
        QCheckBox* check = nullptr;
        QComboBox* menu = nullptr;
        QPushButton* button = nullptr;
    };

    void AddRow(const VideoControl& control, QGridLayout& grid, int line);
    void Apply(std::uint32_t id, int value);
    // Values and greying as the device now has them.
    void Refresh();
    void RestoreDefaults();

    IVideoDevice& m_device;
    std::vector<VideoControl> m_opened; // as they were when the page opened
    std::map<std::uint32_t, Row> m_rows;
    QPushButton* m_default = nullptr;
    bool m_refreshing = false;
};

} // namespace orvane
