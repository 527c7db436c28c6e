#pragma once

#include <array>

#include <QDialog>
#include <QSize>

#include "capture/ImageSetLogic.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QSlider;
class QTimer;

namespace orvane {

class ICameraControl;
struct WhiteBalanceRequest;

// "Image setting" (dialog 165), opened by SET while a maker camera is live:
// groups "Whitebalance" (red 1003/1006, green 1004/1007, blue 1005/1008,
// "Auto" 1002, "Awb" 1246, "Default" 1090), "Exposure" (1016/1017) and
// "setting" (brightness 1024/1029, saturation 1036/1037, sharpness
// 1038/1039, gamma 1040/1041, "Default" 1084), OK and "Cancel" 1248. Each
// slider moves its edit and each edit writes its value; the steps are
// ImageSetLogic's. Timer 1010 paces the white balance, 1011 the read-back
// while "Auto" is checked. Escape and the close box keep the values written;
// "Cancel" writes back those the dialog opened with.
//
// UI thread only.
class CImageSetQX4Dlg : public QDialog {
    Q_OBJECT

public:
    // The dialog's size in dialog units (a quarter of the font's average
    // character width across, an eighth of its height down).
    static constexpr QSize kDialogUnits{475, 200};

    CImageSetQX4Dlg(ICameraControl& control, WhiteBalanceRequest& request, QWidget* parent);

    [[nodiscard]] QSlider* slider(ImageValue which) const { return m_rows[Slot(which)].slider; }
    [[nodiscard]] QLineEdit* edit(ImageValue which) const { return m_rows[Slot(which)].edit; }
    [[nodiscard]] QCheckBox* autoBox() const { return m_auto; }
    [[nodiscard]] QPushButton* awbButton() const { return m_awb; }
    [[nodiscard]] QTimer* whiteBalanceTimer() const { return m_whiteBalanceTimer; }
    [[nodiscard]] QTimer* autoTimer() const { return m_autoTimer; }
    [[nodiscard]] const ImageSetLogic& logic() const { return m_logic; }

    // Escape and the close box.
    void reject() override;
    void done(int result) override;

private:
    struct Row {
        QSlider* slider = nullptr;
        QLineEdit* edit = nullptr;
    };

    [[nodiscard]] static std::size_t Slot(ImageValue which) { return static_cast<std::size_t>(IndexOf(which)); }
    void BuildRow(ImageValue which, int sliderId, int editId);
    void EditChanged(ImageValue which, const QString& text);
    void Cancel();
    // Shows the values and states the steps left, and runs the timers they ask for.
    void ShowLogic();

    ImageSetLogic m_logic;
    std::array<Row, kImageValueCount> m_rows{};
    QCheckBox* m_auto = nullptr;
    QPushButton* m_awb = nullptr;
    QPushButton* m_whiteBalanceDefault = nullptr;
    QPushButton* m_processingDefault = nullptr;
    QTimer* m_whiteBalanceTimer = nullptr;
    QTimer* m_autoTimer = nullptr;
};

} // namespace orvane
