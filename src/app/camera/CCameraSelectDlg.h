#pragma once

#include <string>
#include <vector>

#include <QDialog>

class QComboBox;

namespace orvane {

// "Select camera" (dialog 163): the setting profiles of a camera with several,
// in a sorted combo box (1235) with the current profile (else the first)
// selected. OK and Cancel alike take the combo box's text.
class CCameraSelectDlg : public QDialog {
    Q_OBJECT

public:
    CCameraSelectDlg(const std::vector<std::string>& profileNames, const std::string& current, QWidget* parent);

    // The combo box's text: the chosen profile name.
    [[nodiscard]] std::string chosenName() const;
    [[nodiscard]] QComboBox* combo() const { return m_combo; }

    // The answer of a modal run, as the camera choice asks for it.
    [[nodiscard]] static std::string Ask(const std::vector<std::string>& profileNames, const std::string& current,
                                         QWidget* parent);

    void reject() override;

private:
    QComboBox* m_combo = nullptr;
};

} // namespace orvane
