#pragma once

#include <QDialog>

#include "image/BitmapTypes.h"

class QComboBox;

namespace orvane {

// A focus meter ("Focus", dialog 162): 55 x 240 pixels, always on top, titled
// with its area's number. The scale list 1234 ("1" ... "10") spans the top of
// the client area; below it a bar rises with the area's sharpness, behind it a
// second bar (red and blue exchanged) marks the highest value so far.
//
// The window tells the focus indicator, through its signals, when the scale
// changes, when it is (de)activated and when the operator closes it. UI
// thread only.
class CFocusDlg : public QDialog {
    Q_OBJECT

public:
    static constexpr int kWidth = 55;
    static constexpr int kHeight = 240;

    CFocusDlg(int areaIndex, int scaleIndex, QWidget* owner);

    [[nodiscard]] int areaIndex() const { return m_areaIndex; }
    [[nodiscard]] QComboBox* scaleList() const { return m_scale; }
    [[nodiscard]] int value() const { return m_value; }
    [[nodiscard]] int peak() const { return m_peak; }

    // The area's latest sharpness and peak, the bar colour ("color.wave"); repaints.
    void ShowValues(int value, int peak, COLORREF barColour);
    // The shared scale chosen in another meter: shown without a signal.
    void ShowScale(int scaleIndex);

    // Escape and the close box: closed(), then the window goes.
    void reject() override;

signals:
    void scaleChanged(int areaIndex, int scaleIndex);
    void activationChanged(int areaIndex, bool active);
    void closed(int areaIndex);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    int m_areaIndex;
    QComboBox* m_scale = nullptr;
    int m_value = 0;
    int m_peak = 0;
    COLORREF m_barColour = RGB(255, 128, 128);
};

} // namespace orvane
