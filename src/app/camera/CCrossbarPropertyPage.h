#pragma once

#include <vector>

#include <QDialog>

#include "capture/IVideoDevice.h"

class QListWidget;

namespace orvane {

// "Port Setting": the device's inputs with the current one selected; OK
// switches to the one chosen. A device with one input says so.
class CCrossbarPropertyPage : public QDialog {
    Q_OBJECT

public:
    CCrossbarPropertyPage(IVideoDevice& device, QWidget* parent);

    [[nodiscard]] QListWidget* inputList() const { return m_list; }

    void accept() override;

    // A modal run.
    static void Show(IVideoDevice& device, QWidget* parent);

private:
    IVideoDevice& m_device;
    std::vector<VideoInput> m_inputs;
    QListWidget* m_list = nullptr;
};

} // namespace orvane
