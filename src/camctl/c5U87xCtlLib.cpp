#include "camctl/c5U87xCtlLib.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <thread>
#include <utility>

#include <linux/v4l2-controls.h>

#include "camctl/CamctlLog.h"

namespace orvane {

namespace {

enum class Where : std::uint8_t { Standard, Unit };
enum class AutoKind : std::uint8_t { None, Flag, ExposureMenu };

constexpr std::uint8_t kBusSelector = 1;
constexpr std::uint8_t kRegisterSelector = 3;
constexpr std::uint8_t kCommandAddress = 1;
constexpr std::uint8_t kCommandData = 2;
constexpr std::uint8_t kOperationWrite = 3;
constexpr std::uint8_t kOperationRead = 5;

using UnitBuffer = std::array<std::uint8_t, c5U87xCtl::kUnitControlBytes>;

bool EndsAttempts(int error)
{
    return error == ENODEV || error == EIO || error == ETIMEDOUT;
}

} // namespace

// Where one control lives. For a standard control, the V4L2 ids of its value
// and of its automatic mode; for an extension-unit control, the selector and
// the field (byte offset and width; width 1 is bit 0 of that byte).
struct c5U87xCtl::ControlDef {
    int id;
    int autoId;
    Where where;
    std::uint32_t v4l2;
    std::uint32_t v4l2Auto;
    AutoKind autoKind;
    std::uint8_t selector;
    std::uint8_t offset;
    std::uint8_t width;
    std::uint8_t autoSelector;
};

namespace {

using Def = c5U87xCtl::ControlDef;

// In id order; the index is the control's change bit. V4L2 has no roll
// control, and the iris has no automatic flag of its own there (UVC folds it
// into the exposure mode): both read as not supported / not auto capable.
constexpr std::array<Def, 24> kControls{{
    {0, -1, Where::Standard, V4L2_CID_PAN_ABSOLUTE, 0, AutoKind::None, 0, 0, 0, 0},
    {1, -1, Where::Standard, V4L2_CID_TILT_ABSOLUTE, 0, AutoKind::None, 0, 0, 0, 0},
    {2, -1, Where::Standard, 0, 0, AutoKind::None, 0, 0, 0, 0},
    {3, -1, Where::Standard, V4L2_CID_ZOOM_ABSOLUTE, 0, AutoKind::None, 0, 0, 0, 0},
    {4, 5, Where::Standard, V4L2_CID_EXPOSURE_ABSOLUTE, V4L2_CID_EXPOSURE_AUTO, AutoKind::ExposureMenu, 0, 0, 0, 0},
    {6, 7, Where::Standard, V4L2_CID_IRIS_ABSOLUTE, 0, AutoKind::None, 0, 0, 0, 0},
    {8, 9, Where::Standard, V4L2_CID_FOCUS_ABSOLUTE, V4L2_CID_FOCUS_AUTO, AutoKind::Flag, 0, 0, 0, 0},
    {10, -1, Where::Standard, V4L2_CID_PRIVACY, 0, AutoKind::None, 0, 0, 0, 0},
    {11, -1, Where::Standard, V4L2_CID_EXPOSURE_AUTO_PRIORITY, 0, AutoKind::None, 0, 0, 0, 0},
    {200, -1, Where::Standard, V4L2_CID_BRIGHTNESS, 0, AutoKind::None, 0, 0, 0, 0},
    {201, -1, Where::Standard, V4L2_CID_CONTRAST, 0, AutoKind::None, 0, 0, 0, 0},
    {202, 203, Where::Standard, V4L2_CID_HUE, V4L2_CID_HUE_AUTO, AutoKind::Flag, 0, 0, 0, 0},
    {204, -1, Where::Standard, V4L2_CID_SATURATION, 0, AutoKind::None, 0, 0, 0, 0},
    {205, -1, Where::Standard, V4L2_CID_SHARPNESS, 0, AutoKind::None, 0, 0, 0, 0},
    {206, -1, Where::Standard, V4L2_CID_GAMMA, 0, AutoKind::None, 0, 0, 0, 0},
    {207, 208, Where::Standard, V4L2_CID_WHITE_BALANCE_TEMPERATURE, V4L2_CID_AUTO_WHITE_BALANCE, AutoKind::Flag, 0,
     0, 0, 0},
    {209, -1, Where::Standard, V4L2_CID_BACKLIGHT_COMPENSATION, 0, AutoKind::None, 0, 0, 0, 0},
    {210, -1, Where::Standard, V4L2_CID_GAIN, 0, AutoKind::None, 0, 0, 0, 0},
    {211, -1, Where::Standard, V4L2_CID_POWER_LINE_FREQUENCY, 0, AutoKind::None, 0, 0, 0, 0},
    {400, -1, Where::Unit, 0, 0, AutoKind::None, 4, 0, 2, 0},
    {401, -1, Where::Unit, 0, 0, AutoKind::None, 4, 2, 2, 0},
    {402, -1, Where::Unit, 0, 0, AutoKind::None, 4, 4, 2, 0},
    {403, -1, Where::Unit, 0, 0, AutoKind::None, 7, 0, 1, 0},
    {404, 405, Where::Unit, 0, 0, AutoKind::Flag, 5, 0, 2, 8},
}};

int IndexOf(int id)
{
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        if (kControls[i].id == id || kControls[i].autoId == id) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

std::int32_t FieldOf(const UnitBuffer& data, const Def& def)
{
    if (def.width == 1) {
        return data[def.offset] & 1;
    }
    return static_cast<std::int16_t>(data[def.offset] | (data[def.offset + 1] << 8));
}

void PutField(UnitBuffer& data, const Def& def, std::int32_t value)
{
    if (def.width == 1) {
        data[def.offset] = static_cast<std::uint8_t>((data[def.offset] & ~1) | (value & 1));
        return;
    }
    data[def.offset] = static_cast<std::uint8_t>(value & 0xFF);
    data[def.offset + 1] = static_cast<std::uint8_t>((value >> 8) & 0xFF);
}

bool AutoOnOf(AutoKind kind, std::int32_t value)
{
    return kind == AutoKind::ExposureMenu ? value != V4L2_EXPOSURE_MANUAL : value != 0;
}

} // namespace

struct c5U87xCtl::Guard {
    FileLock lock;
};

c5U87xCtl::c5U87xCtl(std::filesystem::path lockFolder, std::chrono::milliseconds lockWait)
    : m_lockFolder(std::move(lockFolder)), m_lockWait(lockWait), m_records(kControls.size())
{
}

c5U87xCtl::~c5U87xCtl()
{
    Close();
}

std::filesystem::path c5U87xCtl::lockPath() const
{
    return DeviceLockPath(m_identity, m_lockFolder);
}

const PropertyRecord* c5U87xCtl::record(int id) const
{
    const int index = IndexOf(id);
    return index < 0 ? nullptr : &m_records[static_cast<std::size_t>(index)];
}

int c5U87xCtl::ChangeBit(int id)
{
    return IndexOf(id);
}

std::optional<c5U87xCtl::Guard> c5U87xCtl::Enter()
{
    if (m_kind == kKindClosed || m_unusable || !m_transport) {
        return std::nullopt;
    }
    Guard guard;
    if (m_useLock) {
        guard.lock = LockDevice(m_identity, m_lockWait, m_lockFolder);
        if (!guard.lock.locked()) {
            kCamctlLog.Debug("the camera is held by another process: " + m_identity);
            return std::nullopt;
        }
    }
    return guard;
}

int c5U87xCtl::Repeat(int attempts, const auto& request)
{
    int error = 0;
    for (int attempt = 0; attempt < std::max(attempts, 1); ++attempt) {
        if (attempt > 0) {
            std::this_thread::yield();
        }
        error = request();
        if (error == 0 || EndsAttempts(error)) {
            break;
        }
    }
    return error;
}

bool c5U87xCtl::Failed(int error)
{
    if (error == 0) {
        return false;
    }
    if (error == ENODEV && !m_unusable) {
        m_unusable = true;
        kCamctlLog.Warning("the camera has gone: " + m_identity);
    }
    return true;
}

int c5U87xCtl::Unit(std::uint8_t selector, UvcQuery query, std::span<std::uint8_t> data)
{
    return m_transport->QueryExtensionUnit(selector, query, data);
}

bool c5U87xCtl::Open(std::shared_ptr<ICameraTransport> transport, bool useDeviceLock)
{
    Close();
    if (!transport) {
        return false;
    }
    m_identity = transport->DeviceIdentity();
    m_useLock = useDeviceLock;
    FileLock lock;
    if (m_useLock) {
        lock = LockDevice(m_identity, m_lockWait, m_lockFolder);
        if (!lock.locked()) {
            kCamctlLog.Warning("the camera is held by another process: " + m_identity);
            return false;
        }
    }
    m_transport = std::move(transport);
    m_productId = m_transport->ProductId();
    m_unit = {};
    if (m_transport->HasExtensionUnit()) {
        m_unit.present = true;
        std::array<std::uint8_t, 1> info{};
        if (Repeat(kAttempts, [&] { return Unit(kBusSelector, UvcQuery::GetInfo, info); }) == 0) {
            m_unit.registerInfo = info[0];
        }
        if (Repeat(kAttempts, [&] { return Unit(kRegisterSelector, UvcQuery::GetInfo, info); }) == 0) {
            m_unit.registerDataInfo = info[0];
        }
    }
    m_kind = m_unit.present ? kKindExtensionUnit : kKindPlain;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        ReadOut(kControls[i], m_records[i]);
    }
    m_changes = 0;
    return true;
}

void c5U87xCtl::Close()
{
    m_transport.reset();
    m_kind = kKindClosed;
    m_productId = 0;
    m_unusable = false;
    m_unit = {};
    std::fill(m_records.begin(), m_records.end(), PropertyRecord{});
    m_changes = 0;
}

void c5U87xCtl::ReadOut(const ControlDef& def, PropertyRecord& record)
{
    record = {};
    if (def.where == Where::Standard) {
        TransportControlInfo info;
        std::int32_t value = 0;
        if (def.v4l2 == 0 || Repeat(kAttempts, [&] { return m_transport->QueryControl(def.v4l2, info); }) != 0 ||
            Repeat(kAttempts, [&] { return m_transport->GetControl(def.v4l2, value); }) != 0) {
            return;
        }
        record.supported = 1;
        record.settable = info.readOnly ? 0 : 1;
        record.current = value;
        record.minimum = info.minimum;
        record.maximum = info.maximum;
        record.step = info.step;
        record.defaultValue = info.defaultValue;
        TransportControlInfo autoInfo;
        std::int32_t autoValue = 0;
        if (def.autoKind != AutoKind::None &&
            Repeat(kAttempts, [&] { return m_transport->QueryControl(def.v4l2Auto, autoInfo); }) == 0 &&
            Repeat(kAttempts, [&] { return m_transport->GetControl(def.v4l2Auto, autoValue); }) == 0) {
            record.autoCapable = autoInfo.readOnly ? 0 : 1;
            record.autoOn = AutoOnOf(def.autoKind, autoValue) ? 1 : 0;
        }
        return;
    }
    if (!m_unit.present) {
        return;
    }
    std::array<std::uint8_t, 1> info{};
    if (Repeat(kAttempts, [&] { return Unit(def.selector, UvcQuery::GetInfo, info); }) != 0 ||
        (info[0] & kUvcInfoGet) == 0) {
        return;
    }
    std::array<UnitBuffer, 5> answers{};
    constexpr std::array<UvcQuery, 5> kQueries{UvcQuery::GetCur, UvcQuery::GetMin, UvcQuery::GetMax,
                                               UvcQuery::GetRes, UvcQuery::GetDef};
    for (std::size_t q = 0; q < kQueries.size(); ++q) {
        if (Repeat(kAttempts, [&] { return Unit(def.selector, kQueries[q], answers[q]); }) != 0) {
            return;
        }
    }
    record.supported = 1;
    record.settable = (info[0] & kUvcInfoSet) != 0 ? 1 : 0;
    record.current = FieldOf(answers[0], def);
    record.minimum = FieldOf(answers[1], def);
    record.maximum = FieldOf(answers[2], def);
    record.step = FieldOf(answers[3], def);
    record.defaultValue = FieldOf(answers[4], def);
    if (def.width == 1) {
        // An on/off control: its range is fixed whatever the device answers.
        record.minimum = 0;
        record.maximum = 1;
        record.step = 1;
    }
    UnitBuffer autoData{};
    if (def.autoKind != AutoKind::None &&
        Repeat(kAttempts, [&] { return Unit(def.autoSelector, UvcQuery::GetInfo, info); }) == 0 &&
        Repeat(kAttempts, [&] { return Unit(def.autoSelector, UvcQuery::GetCur, autoData); }) == 0) {
        record.autoCapable = (info[0] & kUvcInfoSet) != 0 ? 1 : 0;
        record.autoOn = autoData[0] & 1;
    }
}

int c5U87xCtl::GetCurrent(const ControlDef& def, std::int32_t& value, bool& autoOn)
{
    const PropertyRecord& record = m_records[static_cast<std::size_t>(IndexOf(def.id))];
    autoOn = record.autoOn != 0;
    if (def.where == Where::Standard) {
        int error = Repeat(kAttempts, [&] { return m_transport->GetControl(def.v4l2, value); });
        std::int32_t autoValue = 0;
        if (error == 0 && record.autoCapable != 0) {
            error = Repeat(kAttempts, [&] { return m_transport->GetControl(def.v4l2Auto, autoValue); });
            autoOn = AutoOnOf(def.autoKind, autoValue);
        }
        return error;
    }
    UnitBuffer data{};
    int error = Repeat(kAttempts, [&] { return Unit(def.selector, UvcQuery::GetCur, data); });
    value = FieldOf(data, def);
    if (error == 0 && record.autoCapable != 0) {
        error = Repeat(kAttempts, [&] { return Unit(def.autoSelector, UvcQuery::GetCur, data); });
        autoOn = (data[0] & 1) != 0;
    }
    return error;
}

bool c5U87xCtl::ReadControl(int id, ControlReading& reading)
{
    const int index = IndexOf(id);
    if (index < 0) {
        return false;
    }
    const auto guard = Enter();
    PropertyRecord& record = m_records[static_cast<std::size_t>(index)];
    if (!guard || record.supported == 0) {
        return false;
    }
    std::int32_t value = 0;
    bool autoOn = false;
    if (Failed(GetCurrent(kControls[static_cast<std::size_t>(index)], value, autoOn))) {
        return false;
    }
    record.current = value;
    record.autoOn = autoOn ? 1 : 0;
    m_changes &= ~(1U << index);
    reading = {record.current, record.minimum,         record.maximum,    record.step,
               record.defaultValue, record.autoCapable != 0, record.autoOn != 0};
    return true;
}

int c5U87xCtl::Send(const ControlDef& def, bool autoChange, bool autoOn, bool valueChange, std::int32_t value)
{
    if (def.where == Where::Standard) {
        if (autoChange) {
            // The UVC driver's automatic exposure is aperture priority (UVC auto mode 8).
            const std::int32_t mode =
                def.autoKind == AutoKind::ExposureMenu
                    ? (autoOn ? V4L2_EXPOSURE_APERTURE_PRIORITY : V4L2_EXPOSURE_MANUAL)
                    : (autoOn ? 1 : 0);
            if (const int error = Repeat(kAttempts, [&] { return m_transport->SetControl(def.v4l2Auto, mode); })) {
                return error;
            }
        }
        return valueChange ? Repeat(kAttempts, [&] { return m_transport->SetControl(def.v4l2, value); }) : 0;
    }
    // Extension-unit controls share selectors: change only this control's field.
    const auto update = [&](std::uint8_t selector, const Def& field, std::int32_t fieldValue) {
        UnitBuffer data{};
        if (const int error = Repeat(kAttempts, [&] { return Unit(selector, UvcQuery::GetCur, data); })) {
            return error;
        }
        PutField(data, field, fieldValue);
        return Repeat(kAttempts, [&] { return Unit(selector, UvcQuery::SetCur, data); });
    };
    if (autoChange) {
        const Def flag{def.id, -1, Where::Unit, 0, 0, AutoKind::None, def.autoSelector, 0, 1, 0};
        if (const int error = update(def.autoSelector, flag, autoOn ? 1 : 0)) {
            return error;
        }
    }
    return valueChange ? update(def.selector, def, value) : 0;
}

bool c5U87xCtl::WriteControl(int id, bool autoOn, std::int32_t value)
{
    const int index = IndexOf(id);
    if (index < 0) {
        return false;
    }
    const auto guard = Enter();
    PropertyRecord& record = m_records[static_cast<std::size_t>(index)];
    if (!guard || record.supported == 0) {
        return false;
    }
    const bool autoChange = autoOn != (record.autoOn != 0);
    if (autoChange && record.autoCapable == 0) {
        return false;
    }
    // With the automatic mode on, the value is not sent.
    const bool valueChange = !autoOn && value != record.current;
    if (valueChange && (record.settable == 0 || value < record.minimum || value > record.maximum)) {
        return false;
    }
    if ((autoChange || valueChange) &&
        Failed(Send(kControls[static_cast<std::size_t>(index)], autoChange, autoOn, valueChange, value))) {
        return false;
    }
    record.autoOn = autoOn ? 1 : 0;
    if (valueChange) {
        record.current = value;
    }
    m_changes &= ~(1U << index);
    return true;
}

bool c5U87xCtl::PollChanges()
{
    const auto guard = Enter();
    if (!guard) {
        return false;
    }
    bool read = true;
    for (std::size_t i = 0; i < kControls.size(); ++i) {
        PropertyRecord& record = m_records[i];
        if (record.supported == 0) {
            continue;
        }
        std::int32_t value = 0;
        bool autoOn = false;
        if (Failed(GetCurrent(kControls[i], value, autoOn))) {
            read = false;
            if (m_unusable) {
                break;
            }
            continue;
        }
        if (value != record.current || autoOn != (record.autoOn != 0)) {
            record.current = value;
            record.autoOn = autoOn ? 1 : 0;
            m_changes |= 1U << i;
        }
    }
    return read;
}

int c5U87xCtl::SelectSensor()
{
    UnitBuffer bus{};
    if (const int error = Repeat(kAttempts, [&] { return Unit(kBusSelector, UvcQuery::GetCur, bus); })) {
        return error;
    }
    UnitBuffer select{};
    select[1] = bus[9];
    select[2] = bus[10];
    return Repeat(kAttempts, [&] { return Unit(kRegisterSelector, UvcQuery::SetCur, select); });
}

namespace {

// The address from byte 3 on: one byte, or high byte then low byte.
std::size_t PutAddress(UnitBuffer& command, std::uint16_t address, int addressWidth)
{
    std::size_t at = 3;
    if (addressWidth == 2) {
        command[at++] = static_cast<std::uint8_t>(address >> 8);
    }
    command[at++] = static_cast<std::uint8_t>(address & 0xFF);
    return at;
}

bool WidthsValid(int addressWidth, int dataWidth)
{
    return addressWidth >= 1 && addressWidth <= 2 && dataWidth >= 1 && dataWidth <= 2;
}

} // namespace

int c5U87xCtl::RegisterRead(std::uint16_t address, int addressWidth, std::uint16_t& value, int dataWidth)
{
    if (const int error = SelectSensor()) {
        return error;
    }
    UnitBuffer command{};
    command[0] = kCommandAddress;
    command[1] = static_cast<std::uint8_t>(addressWidth);
    command[2] = kOperationRead;
    PutAddress(command, address, addressWidth);
    if (const int error = Unit(kRegisterSelector, UvcQuery::SetCur, command)) {
        return error;
    }
    UnitBuffer width{};
    width[0] = kCommandData;
    width[1] = static_cast<std::uint8_t>(dataWidth);
    if (const int error = Unit(kRegisterSelector, UvcQuery::SetCur, width)) {
        return error;
    }
    UnitBuffer data{};
    if (const int error = Unit(kRegisterSelector, UvcQuery::GetCur, data)) {
        return error;
    }
    value = dataWidth == 1 ? data[0] : static_cast<std::uint16_t>(data[0] | (data[1] << 8));
    return 0;
}

int c5U87xCtl::RegisterWrite(std::uint16_t address, int addressWidth, std::uint16_t value, int dataWidth)
{
    if (const int error = SelectSensor()) {
        return error;
    }
    UnitBuffer command{};
    command[0] = kCommandAddress;
    command[1] = static_cast<std::uint8_t>(addressWidth + dataWidth);
    command[2] = kOperationWrite;
    std::size_t at = PutAddress(command, address, addressWidth);
    if (dataWidth == 2) {
        command[at++] = static_cast<std::uint8_t>(value >> 8);
    }
    command[at] = static_cast<std::uint8_t>(value & 0xFF);
    return Unit(kRegisterSelector, UvcQuery::SetCur, command);
}

bool c5U87xCtl::ReadRegister(std::uint16_t address, int addressWidth, std::uint16_t& value, int dataWidth,
                             int attempts)
{
    if (!WidthsValid(addressWidth, dataWidth)) {
        return false;
    }
    const auto guard = Enter();
    // Without the extension unit the sensor is reached only through the
    // controller's own command path, which this library does not speak.
    if (!guard || m_kind != kKindExtensionUnit) {
        return false;
    }
    std::uint16_t read = 0;
    if (Failed(Repeat(attempts, [&] { return RegisterRead(address, addressWidth, read, dataWidth); }))) {
        return false;
    }
    value = read;
    return true;
}

bool c5U87xCtl::WriteRegister(std::uint16_t address, int addressWidth, std::uint16_t value, int dataWidth,
                              int attempts)
{
    if (!WidthsValid(addressWidth, dataWidth)) {
        return false;
    }
    const auto guard = Enter();
    if (!guard || m_kind != kKindExtensionUnit) {
        return false;
    }
    return !Failed(Repeat(attempts, [&] { return RegisterWrite(address, addressWidth, value, dataWidth); }));
}

} // namespace orvane
