#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "camctl/ICameraTransport.h"
#include "platform/FileLock.h"

namespace orvane {

// What the library keeps of one control; filled when the device is opened,
// kept current by the library's own reads and writes.
struct PropertyRecord {
    std::uint8_t autoCapable = 0;
    std::uint8_t settable = 0;
    std::uint8_t supported = 0;
    std::uint8_t autoOn = 0;
    std::int32_t current = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t step = 0;
    std::int32_t defaultValue = 0;

    friend bool operator==(const PropertyRecord&, const PropertyRecord&) = default;
};

// A control as a read hands it out.
struct ControlReading {
    std::int32_t current = 0;
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t step = 0;
    std::int32_t defaultValue = 0;
    bool autoCapable = false;
    bool autoOn = false;
};

// The extension unit as the library found it.
struct UVCXUCTL {
    bool present = false;
    // GET_INFO of the register selectors 1 and 3.
    std::uint8_t registerInfo = 0;
    std::uint8_t registerDataInfo = 0;
};

// The camera control library: one camera's standard controls, its extension
// unit and its sensor registers, behind the cross-process device lock.
//
// Property ids: 0-11 the camera terminal, 200-211 the processing unit (as
// V4L2 controls), 400-405 the extension unit. An id of an automatic flag
// (5, 7, 9, 203, 208, 405) names the same control as the id before it.
//
// Extension-unit selectors (all controls 11 bytes):
//   1  register bus: GET answers the sensor's bus address in bytes 9 and 10
//   3  register command (SET) and register data (GET)
//   4  white-balance gains, little-endian 16-bit: red at 0, green at 2,
//      blue at 4 (ids 400, 401, 402; one record per channel)
//   5  exposure value, little-endian 16-bit at 0 (id 404)
//   7  automatic white balance, bit 0 of byte 0 (id 403)
//   8  automatic exposure, bit 0 of byte 0 (id 405)
//
// Every operation takes the device lock for its own duration and answers
// false, leaving the records as they were, when the lock is busy, the device
// is not open or has gone, the control is missing or refuses the value, or
// the device fails the request after its attempts. Requests are tried up to
// 3 times; ENODEV, EIO and ETIMEDOUT (the device is not functioning, or did
// not answer in time) end the attempts at once, and ENODEV marks the device
// unusable until it is opened again.
//
// UI thread only.
class c5U87xCtl {
public:
    static constexpr int kKindClosed = 0;
    static constexpr int kKindExtensionUnit = 1; // registers through the extension unit
    static constexpr int kKindPlain = 2;         // standard controls only
    static constexpr int kAttempts = 3;
    static constexpr std::size_t kUnitControlBytes = 11;
    static constexpr std::chrono::milliseconds kDefaultLockWait{50};

    // Where a control lives (defined with the control table).
    struct ControlDef;

    explicit c5U87xCtl(std::filesystem::path lockFolder = "/tmp",
                       std::chrono::milliseconds lockWait = kDefaultLockWait);
    c5U87xCtl(const c5U87xCtl&) = delete;
    c5U87xCtl& operator=(const c5U87xCtl&) = delete;
    ~c5U87xCtl();

    // Opens the device behind `transport` and reads every control into its
    // record. `useDeviceLock` false skips the cross-process lock.
    bool Open(std::shared_ptr<ICameraTransport> transport, bool useDeviceLock = true);
    void Close();

    [[nodiscard]] int kind() const { return m_kind; }
    [[nodiscard]] int productId() const { return m_productId; }
    [[nodiscard]] const UVCXUCTL& extensionUnit() const { return m_unit; }
    // The record of the control an id names; null for an unknown id.
    [[nodiscard]] const PropertyRecord* record(int id) const;
    // The lock file the operations take.
    [[nodiscard]] std::filesystem::path lockPath() const;

    // Reads the control's current value from the device into its record.
    bool ReadControl(int id, ControlReading& reading);
    // Manual mode with `value`, or automatic mode (value not sent).
    bool WriteControl(int id, bool autoOn, std::int32_t value);

    // One bit per control (bit n = the n-th control in id order), set by
    // PollChanges for a control whose value the device changed on its own,
    // cleared whenever the control is read or written through the library.
    [[nodiscard]] std::uint32_t changes() const { return m_changes; }
    [[nodiscard]] static int ChangeBit(int id);
    bool PollChanges();

    // Sensor registers: address width 1 (low 8 bits of the address) or 2
    // (high byte first), data width 1 or 2; the request sequence is made
    // `attempts` times at most (at least once).
    bool ReadRegister(std::uint16_t address, int addressWidth, std::uint16_t& value, int dataWidth, int attempts);
    bool WriteRegister(std::uint16_t address, int addressWidth, std::uint16_t value, int dataWidth, int attempts);

private:
    struct Guard;

    [[nodiscard]] std::optional<Guard> Enter();
    int Repeat(int attempts, const auto& request);
    int Unit(std::uint8_t selector, UvcQuery query, std::span<std::uint8_t> data);
    void ReadOut(const ControlDef& def, PropertyRecord& record);
    int GetCurrent(const ControlDef& def, std::int32_t& value, bool& autoOn);
    int Send(const ControlDef& def, bool autoChange, bool autoOn, bool valueChange, std::int32_t value);
    int SelectSensor();
    int RegisterRead(std::uint16_t address, int addressWidth, std::uint16_t& value, int dataWidth);
    int RegisterWrite(std::uint16_t address, int addressWidth, std::uint16_t value, int dataWidth);
    bool Failed(int error);

    std::filesystem::path m_lockFolder;
    std::chrono::milliseconds m_lockWait;
    std::shared_ptr<ICameraTransport> m_transport;
    bool m_useLock = false;
    std::string m_identity;
    int m_kind = kKindClosed;
    int m_productId = 0;
    bool m_unusable = false;
    std::vector<PropertyRecord> m_records;
    std::uint32_t m_changes = 0;
    UVCXUCTL m_unit;
};

} // namespace orvane
