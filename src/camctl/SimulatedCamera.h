#pragma once

#include <cstdint>
#include <filesystem>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "camctl/ICameraTransport.h"
#include "platform/FileLock.h"

namespace orvane {

// What of the simulated camera's state shapes its picture.
struct SimulatedPicture {
    std::uint16_t redGain = 0;    // register 0x002D
    std::uint16_t greenGain1 = 0; // register 0x002B
    std::uint16_t greenGain2 = 0; // register 0x002E
    std::uint16_t blueGain = 0;   // register 0x002C
    std::uint16_t exposure = 0;   // register 0x0009
    int brightness = 0;
    int contrast = 0;
    int saturation = 0;
    int sharpness = 0;
    int gamma = 0;
    int gain = 0;

    friend bool operator==(const SimulatedPicture&, const SimulatedPicture&) = default;
};

// The maker's camera controller in software: a UVC device with processing-
// unit controls and the vendor extension unit, behind which sits an image
// sensor with 8-bit register addresses, 16-bit values and register pages
// (register 0xF0 of every page selects the page; the sensor's register N of
// page P is "register (P << 8) | N").
//
// Extension unit (11-byte controls): selector 1 answers the sensor's bus
// address in bytes 9 and 10; selector 3 takes the register commands and
// holds the data read: SET [0, bus address...] selects the sensor, SET
// [1, width, 5, address...] names the register to read, SET [2, data width]
// reads it into the GET answer (little-endian), SET [1, address width + data
// width, 3, address..., value high first...] writes. Selectors 4 (red, green,
// blue gain), 5 (exposure), 7 and 8 (automatic white balance and exposure:
// both are bit 0x4000 of register 0x0106) are views of the sensor registers.
// With that bit on, the controller's own loop holds the gains at neutral and
// the exposure at its default: writes to those registers are ignored.
//
// Tests inject failures, fix a page select that does not stick, hold the
// device lock, and read the log of the requests made.
//
// Thread affinity: any thread; one internal lock guards the whole state.
// The demo feed reads Picture() on its streaming thread while the UI thread
// makes requests.
class SimulatedCamera final : public ICameraTransport {
public:
    static constexpr int kProductId = 0x5020;
    static constexpr std::uint8_t kBusAddress = 0xBA;
    static constexpr std::uint8_t kBusMode = 0x02;
    static constexpr std::uint16_t kPageSelect = 0x00F0;
    static constexpr std::uint16_t kChipVersion = 0x143A; // register 0x0000

    // Gains: (value & 0x7F) / 32 analogue times 1 + ((value >> 7) & 0xF) / 8
    // digital; 0x20 is unity. At power-on red is a little high and blue a
    // little low, a warm tint that white balance takes out.
    static constexpr std::uint16_t kUnityGain = 0x20;
    static constexpr std::uint16_t kRedGainDefault = 0x23;
    static constexpr std::uint16_t kGreenGainDefault = 0x20;
    static constexpr std::uint16_t kBlueGainDefault = 0x1E;
    static constexpr std::uint16_t kGainMaximum = 0x7F;
    // Shutter width in rows.
    static constexpr std::uint16_t kExposureDefault = 0x0400;
    static constexpr std::uint16_t kExposureMinimum = 1;
    static constexpr std::uint16_t kExposureMaximum = 0x07FF;

    enum class RequestKind { QueryControl, GetControl, SetControl, Unit };

    // One request as it reached the device: for extension-unit requests the
    // selector, the query and the bytes sent (SET) or answered (GET); for
    // standard controls the V4L2 id and the value.
    struct Request {
        RequestKind kind = RequestKind::Unit;
        std::uint32_t target = 0;
        UvcQuery query = UvcQuery::GetCur;
        std::vector<std::uint8_t> data;
        std::int32_t value = 0;
        int result = 0;

        friend bool operator==(const Request&, const Request&) = default;
    };

    // After `skip` matching requests have passed, the next `count` fail with
    // `error`. A target of 0 matches every selector or control id; no query
    // matches every query.
    struct Failure {
        RequestKind kind = RequestKind::Unit;
        std::uint32_t target = 0;
        std::optional<UvcQuery> query;
        int count = 1;
        int error = 0;
        int skip = 0;
    };

    explicit SimulatedCamera(std::string identity = "orvane-simulated-camera", int productId = kProductId);

    [[nodiscard]] std::string DeviceIdentity() const override { return m_identity; }
    [[nodiscard]] int ProductId() const override { return m_productId; }
    int QueryControl(std::uint32_t id, TransportControlInfo& info) override;
    int GetControl(std::uint32_t id, std::int32_t& value) override;
    int SetControl(std::uint32_t id, std::int32_t value) override;
    [[nodiscard]] bool HasExtensionUnit() const override;
    int QueryExtensionUnit(std::uint8_t selector, UvcQuery query, std::span<std::uint8_t> data) override;

    // The standard controls the camera has, in its order.
    [[nodiscard]] std::vector<std::uint32_t> ControlIds() const;

    // The sensor side, bypassing the controller.
    [[nodiscard]] std::uint16_t Register(std::uint16_t pagedAddress) const;
    void SetRegister(std::uint16_t pagedAddress, std::uint16_t value);
    [[nodiscard]] std::uint16_t page() const;
    // Sensor register addresses on the bus: 1 byte (paged) or 2 (the whole
    // paged address at once).
    void SetSensorAddressWidth(int width);
    void SetExtensionUnit(bool present);
    // A standard control that refuses writes.
    void SetReadOnly(std::uint32_t id, bool readOnly);

    void Inject(const Failure& failure);
    // The next `count` writes of the page select are ignored.
    void FailPageSelect(int count);
    // Takes the device's lock as another process would: true when held.
    bool HoldDeviceLock(const std::filesystem::path& folder);
    void ReleaseDeviceLock();

    // Recording is off until asked for (the demo runs for hours).
    void SetRecording(bool on);
    [[nodiscard]] std::vector<Request> TakeRequests();

    [[nodiscard]] SimulatedPicture Picture() const;

private:
    struct Control {
        std::uint32_t id;
        TransportControlInfo info;
        std::int32_t value;
    };

    Control* Find(std::uint32_t id);
    int TakeFailure(RequestKind kind, std::uint32_t target, std::optional<UvcQuery> query);
    void Record(Request request);
    int UnitRequest(std::uint8_t selector, UvcQuery query, std::span<std::uint8_t> data);
    int RegisterCommand(std::span<const std::uint8_t> data);
    [[nodiscard]] std::uint16_t BusRead(std::uint16_t address) const;
    void BusWrite(std::uint16_t address, std::uint16_t value);
    void Store(std::uint16_t pagedAddress, std::uint16_t value);
    [[nodiscard]] bool AutoOn() const;

    const std::string m_identity;
    const int m_productId;

    mutable std::mutex m_mutex;
    std::vector<Control> m_controls;
    std::vector<std::uint16_t> m_registers;
    std::uint16_t m_page = 0;
    int m_addressWidth = 1;
    bool m_unit = true;
    bool m_selected = false;
    std::optional<std::uint16_t> m_pendingAddress;
    std::vector<std::uint8_t> m_readData;
    std::vector<Failure> m_failures;
    int m_pageSelectFailures = 0;
    bool m_recording = false;
    std::vector<Request> m_requests;
    FileLock m_heldLock;
};

} // namespace orvane
