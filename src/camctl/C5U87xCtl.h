#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

#include "camctl/ICameraControl.h"
#include "camctl/c5U87xCtlLib.h"

namespace orvane {

// The application's side of the camera control library, embedded in the
// capture object: attached to the maker's camera while it is open, with the
// register address and data widths the sensor needs (1 and 1 when built; the
// capture object sets 1 and 2 once attached). Register accesses make one
// attempt; property reads go to the device and fail when the control is
// missing.
//
// UI thread only.
class C5U87xCtl final : public ICameraControl {
public:
    explicit C5U87xCtl(std::filesystem::path lockFolder = "/tmp");
    C5U87xCtl(const C5U87xCtl&) = delete;
    C5U87xCtl& operator=(const C5U87xCtl&) = delete;
    ~C5U87xCtl() override;

    // Succeeds at once while the library has a device open; otherwise opens
    // `device`, with the cross-process lock unless `useDeviceLock` is false
    // (a device that lives in this process only).
    bool Attach(std::shared_ptr<ICameraTransport> device, bool useDeviceLock = true);
    void Close();
    [[nodiscard]] bool attached() const { return m_control.kind() != c5U87xCtl::kKindClosed; }

    void SetAddressWidth(std::uint8_t width) { m_addressWidth = width; }
    void SetDataWidth(std::uint8_t width) { m_dataWidth = width; }
    [[nodiscard]] std::uint8_t addressWidth() const { return m_addressWidth; }
    [[nodiscard]] std::uint8_t dataWidth() const { return m_dataWidth; }

    [[nodiscard]] c5U87xCtl& library() { return m_control; }

    bool ReadRegister(std::uint16_t address, std::uint16_t& value) override;
    bool WriteRegister(std::uint16_t address, std::uint16_t value) override;
    bool GetProperty(int id, std::int32_t& value) override;
    bool GetPropertyInfo(int id, CameraPropertyInfo& info) override;
    // For the id of an automatic flag, the flag (value non-zero: on).
    bool WriteControl(int id, std::int32_t value) override;

private:
    c5U87xCtl m_control;
    std::uint8_t m_addressWidth = 1;
    std::uint8_t m_dataWidth = 1;
};

} // namespace orvane
