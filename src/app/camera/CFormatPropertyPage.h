#pragma once

#include <optional>
#include <vector>

#include <QDialog>

#include "capture/DeviceSetLogic.h"
#include "capture/IVideoDevice.h"

class QComboBox;

namespace orvane {

// The device's format page: its pixel formats, the frame sizes of the chosen
// format and the frame rates of the chosen size, with the capture's current
// format selected where the device offers it. OK gives the choice.
class CFormatPropertyPage : public QDialog {
    Q_OBJECT

public:
    CFormatPropertyPage(IVideoDevice& device, const FormatChoice& current, QWidget* parent);

    // The format, size and rate selected now; nothing while the device offers none.
    [[nodiscard]] std::optional<FormatChoice> selection() const;
    [[nodiscard]] QComboBox* formatList() const { return m_formats; }
    [[nodiscard]] QComboBox* sizeList() const { return m_sizes; }
    [[nodiscard]] QComboBox* rateList() const { return m_rates; }

    // A modal run: the choice, or nothing when cancelled.
    [[nodiscard]] static std::optional<FormatChoice> Choose(IVideoDevice& device, const FormatChoice& current,
                                                            QWidget* parent);

private:
    void FillSizes(int preferredWidth, int preferredHeight);
    void FillRates(const FrameRate& preferred);
    [[nodiscard]] const VideoFrameSize* selectedSize() const;

    std::vector<VideoPixelFormat> m_available;
    FormatChoice m_last; // the selection before the latest change
    QComboBox* m_formats = nullptr;
    QComboBox* m_sizes = nullptr;
    QComboBox* m_rates = nullptr;
};

} // namespace orvane
