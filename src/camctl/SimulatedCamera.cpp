#include "camctl/SimulatedCamera.h"

#include <algorithm>
#include <cerrno>
#include <utility>

#include <linux/v4l2-controls.h>

namespace orvane {

namespace {

constexpr std::size_t kControlBytes = 11;
constexpr std::uint16_t kExposureRegister = 0x0009;
constexpr std::uint16_t kGreen1Register = 0x002B;
constexpr std::uint16_t kBlueRegister = 0x002C;
constexpr std::uint16_t kRedRegister = 0x002D;
constexpr std::uint16_t kGreen2Register = 0x002E;
constexpr std::uint16_t kModeRegister = 0x0106;
constexpr std::uint16_t kAutoBit = 0x4000;

constexpr std::uint8_t kBusSelector = 1;
constexpr std::uint8_t kRegisterSelector = 3;
constexpr std::uint8_t kGainSelector = 4;
constexpr std::uint8_t kExposureSelector = 5;
constexpr std::uint8_t kAutoWhiteBalanceSelector = 7;
constexpr std::uint8_t kAutoExposureSelector = 8;

// Registers at power-on, as paged addresses.
constexpr std::pair<std::uint16_t, std::uint16_t> kPowerOn[] = {
    {0x0000, SimulatedCamera::kChipVersion},
    {0x0001, 12},
    {0x0006, 42},
    {kExposureRegister, SimulatedCamera::kExposureDefault},
    {kGreen1Register, SimulatedCamera::kGreenGainDefault},
    {kBlueRegister, SimulatedCamera::kBlueGainDefault},
    {kRedRegister, SimulatedCamera::kRedGainDefault},
    {kGreen2Register, SimulatedCamera::kGreenGainDefault},
    {kModeRegister, 0x300A},
    {0x0213, 0x0080},
    {0x0214, 0x0080},
    {0x0237, 0x0080},
    {0x023E, 0x1000},
    {0x0267, 0x0001},
};

TransportControlInfo Integer(std::string name, int minimum, int maximum, int defaultValue, int step = 1)
{
    TransportControlInfo info;
    info.name = std::move(name);
    info.minimum = minimum;
    info.maximum = maximum;
    info.step = step;
    info.defaultValue = defaultValue;
    return info;
}

TransportControlInfo Boolean(std::string name, int defaultValue)
{
    TransportControlInfo info = Integer(std::move(name), 0, 1, defaultValue);
    info.type = TransportControlInfo::Type::Boolean;
    return info;
}

void PutWord(std::span<std::uint8_t> data, std::size_t at, std::uint16_t value)
{
    data[at] = static_cast<std::uint8_t>(value & 0xFF);
    data[at + 1] = static_cast<std::uint8_t>(value >> 8);
}

std::uint16_t WordAt(std::span<const std::uint8_t> data, std::size_t at)
{
    return static_cast<std::uint16_t>(data[at] | (data[at + 1] << 8));
}

bool IsGet(UvcQuery query)
{
    return query != UvcQuery::SetCur;
}

} // namespace

SimulatedCamera::SimulatedCamera(std::string identity, int productId)
    : m_identity(std::move(identity)), m_productId(productId), m_registers(0x10000, 0), m_readData(kControlBytes, 0)
{
    for (const auto& [address, value] : kPowerOn) {
        m_registers[address] = value;
    }
    TransportControlInfo powerLine = Integer("Power Line Frequency", 0, 2, 1);
    powerLine.type = TransportControlInfo::Type::Menu;
    powerLine.menu = {{0, "Disabled"}, {1, "50 Hz"}, {2, "60 Hz"}};
    const std::pair<std::uint32_t, TransportControlInfo> controls[] = {
        {V4L2_CID_BRIGHTNESS, Integer("Brightness", -64, 64, 0)},
        {V4L2_CID_CONTRAST, Integer("Contrast", 0, 64, 32)},
        {V4L2_CID_HUE, Integer("Hue", -40, 40, 0)},
        {V4L2_CID_HUE_AUTO, Boolean("Hue, Auto", 0)},
        {V4L2_CID_SATURATION, Integer("Saturation", 0, 128, 64)},
        {V4L2_CID_SHARPNESS, Integer("Sharpness", 0, 7, 3)},
        {V4L2_CID_GAMMA, Integer("Gamma", 72, 500, 100)},
        {V4L2_CID_AUTO_WHITE_BALANCE, Boolean("White Balance, Automatic", 0)},
        {V4L2_CID_WHITE_BALANCE_TEMPERATURE, Integer("White Balance Temperature", 2800, 6500, 4600, 10)},
        {V4L2_CID_BACKLIGHT_COMPENSATION, Integer("Backlight Compensation", 0, 2, 1)},
        {V4L2_CID_GAIN, Integer("Gain", 8, 64, 16)},
        {V4L2_CID_POWER_LINE_FREQUENCY, powerLine},
    };
    for (const auto& [id, info] : controls) {
        m_controls.push_back({id, info, info.defaultValue});
    }
}

SimulatedCamera::Control* SimulatedCamera::Find(std::uint32_t id)
{
    const auto found = std::find_if(m_controls.begin(), m_controls.end(), [id](const Control& c) { return c.id == id; });
    return found == m_controls.end() ? nullptr : &*found;
}

int SimulatedCamera::TakeFailure(RequestKind kind, std::uint32_t target, std::optional<UvcQuery> query)
{
    for (auto it = m_failures.begin(); it != m_failures.end(); ++it) {
        if (it->kind == kind && (it->target == 0 || it->target == target) &&
            (!it->query || !query || *it->query == *query)) {
            if (it->skip > 0) {
                --it->skip;
                return 0;
            }
            const int error = it->error;
            if (--it->count <= 0) {
                m_failures.erase(it);
            }
            return error;
        }
    }
    return 0;
}

void SimulatedCamera::Record(Request request)
{
    if (m_recording) {
        m_requests.push_back(std::move(request));
    }
}

int SimulatedCamera::QueryControl(std::uint32_t id, TransportControlInfo& info)
{
    const std::scoped_lock lock(m_mutex);
    int result = TakeFailure(RequestKind::QueryControl, id, std::nullopt);
    Control* control = Find(id);
    if (result == 0 && control == nullptr) {
        result = EINVAL;
    }
    if (result == 0) {
        info = control->info;
        // An automatic mode that is on rules the value it sets.
        const Control* hueAuto = Find(V4L2_CID_HUE_AUTO);
        const Control* whiteAuto = Find(V4L2_CID_AUTO_WHITE_BALANCE);
        info.inactive = (id == V4L2_CID_HUE && hueAuto->value != 0) ||
                        (id == V4L2_CID_WHITE_BALANCE_TEMPERATURE && whiteAuto->value != 0);
    }
    Record({RequestKind::QueryControl, id, UvcQuery::GetCur, {}, 0, result});
    return result;
}

int SimulatedCamera::GetControl(std::uint32_t id, std::int32_t& value)
{
    const std::scoped_lock lock(m_mutex);
    int result = TakeFailure(RequestKind::GetControl, id, std::nullopt);
    const Control* control = Find(id);
    if (result == 0 && control == nullptr) {
        result = EINVAL;
    }
    if (result == 0) {
        value = control->value;
    }
    Record({RequestKind::GetControl, id, UvcQuery::GetCur, {}, result == 0 ? value : 0, result});
    return result;
}

int SimulatedCamera::SetControl(std::uint32_t id, std::int32_t value)
{
    const std::scoped_lock lock(m_mutex);
    int result = TakeFailure(RequestKind::SetControl, id, std::nullopt);
    Control* control = Find(id);
    if (result == 0 && control == nullptr) {
        result = EINVAL;
    } else if (result == 0 && control->info.readOnly) {
        result = EACCES;
    } else if (result == 0 && (value < control->info.minimum || value > control->info.maximum)) {
        result = ERANGE;
    }
    if (result == 0) {
        control->value = value;
    }
    Record({RequestKind::SetControl, id, UvcQuery::SetCur, {}, value, result});
    return result;
}

bool SimulatedCamera::HasExtensionUnit() const
{
    const std::scoped_lock lock(m_mutex);
    return m_unit;
}

int SimulatedCamera::QueryExtensionUnit(std::uint8_t selector, UvcQuery query, std::span<std::uint8_t> data)
{
    const std::scoped_lock lock(m_mutex);
    Request request{RequestKind::Unit, selector, query, {}, 0, 0};
    if (!IsGet(query)) {
        request.data.assign(data.begin(), data.end());
    }
    request.result = TakeFailure(RequestKind::Unit, selector, query);
    if (request.result == 0) {
        request.result = UnitRequest(selector, query, data);
    }
    if (IsGet(query) && request.result == 0) {
        request.data.assign(data.begin(), data.end());
    }
    Record(std::move(request));
    return request.result;
}

int SimulatedCamera::UnitRequest(std::uint8_t selector, UvcQuery query, std::span<std::uint8_t> data)
{
    if (!m_unit) {
        return ENOENT;
    }
    const bool known = selector == kBusSelector || selector == kRegisterSelector || selector == kGainSelector ||
                       selector == kExposureSelector || selector == kAutoWhiteBalanceSelector ||
                       selector == kAutoExposureSelector;
    if (!known) {
        return ENOENT;
    }
    if (query == UvcQuery::GetLen || query == UvcQuery::GetInfo) {
        if (data.size() != (query == UvcQuery::GetLen ? 2U : 1U)) {
            return ENOBUFS;
        }
        if (query == UvcQuery::GetLen) {
            PutWord(data, 0, kControlBytes);
        } else {
            data[0] = selector == kBusSelector ? kUvcInfoGet : static_cast<std::uint8_t>(kUvcInfoGet | kUvcInfoSet);
        }
        return 0;
    }
    if (data.size() != kControlBytes) {
        return ENOBUFS;
    }
    if (query == UvcQuery::SetCur) {
        switch (selector) {
        case kRegisterSelector:
            return RegisterCommand(data);
        case kGainSelector:
            Store(kRedRegister, WordAt(data, 0));
            Store(kGreen1Register, WordAt(data, 2));
            Store(kGreen2Register, WordAt(data, 2));
            Store(kBlueRegister, WordAt(data, 4));
            return 0;
        case kExposureSelector:
            Store(kExposureRegister, std::clamp(WordAt(data, 0), kExposureMinimum, kExposureMaximum));
            return 0;
        case kAutoWhiteBalanceSelector:
        case kAutoExposureSelector: {
            const std::uint16_t mode = m_registers[kModeRegister];
            Store(kModeRegister, (data[0] & 1) != 0 ? (mode | kAutoBit) : (mode & ~kAutoBit));
            return 0;
        }
        default:
            return EPIPE; // the bus selector is read-only
        }
    }
    std::fill(data.begin(), data.end(), 0);
    switch (selector) {
    case kBusSelector:
        // Firmware version 1.12 in bytes 0 and 1; the sensor on the bus in 9 and 10.
        data[0] = 1;
        data[1] = 12;
        data[9] = kBusAddress;
        data[10] = kBusMode;
        return 0;
    case kRegisterSelector:
        if (query == UvcQuery::GetCur) {
            std::copy(m_readData.begin(), m_readData.end(), data.begin());
        }
        return 0;
    case kGainSelector: {
        const auto put = [&](std::uint16_t red, std::uint16_t green, std::uint16_t blue) {
            PutWord(data, 0, red);
            PutWord(data, 2, green);
            PutWord(data, 4, blue);
        };
        switch (query) {
        case UvcQuery::GetCur:
            put(m_registers[kRedRegister], m_registers[kGreen1Register], m_registers[kBlueRegister]);
            break;
        case UvcQuery::GetMax:
            put(kGainMaximum, kGainMaximum, kGainMaximum);
            break;
        case UvcQuery::GetRes:
            put(1, 1, 1);
            break;
        case UvcQuery::GetDef:
            put(kRedGainDefault, kGreenGainDefault, kBlueGainDefault);
            break;
        default:
            break;
        }
        return 0;
    }
    case kExposureSelector:
        switch (query) {
        case UvcQuery::GetCur:
            PutWord(data, 0, m_registers[kExposureRegister]);
            break;
        case UvcQuery::GetMin:
            PutWord(data, 0, kExposureMinimum);
            break;
        case UvcQuery::GetMax:
            PutWord(data, 0, kExposureMaximum);
            break;
        case UvcQuery::GetRes:
            PutWord(data, 0, 1);
            break;
        default:
            PutWord(data, 0, kExposureDefault);
            break;
        }
        return 0;
    default: // the automatic bits: current, then 0 .. 1 in steps of 1, off by default
        if (query == UvcQuery::GetCur) {
            data[0] = AutoOn() ? 1 : 0;
        } else {
            data[0] = query == UvcQuery::GetMax || query == UvcQuery::GetRes ? 1 : 0;
        }
        return 0;
    }
}

int SimulatedCamera::RegisterCommand(std::span<const std::uint8_t> data)
{
    if (data[0] == 0) {
        m_selected = data[1] == kBusAddress && data[2] == kBusMode;
        m_pendingAddress.reset();
        return 0;
    }
    if (!m_selected) {
        return EPIPE; // nothing answers on the bus
    }
    const auto address = [&](std::size_t at) {
        return m_addressWidth == 1 ? data[at] : static_cast<std::uint16_t>((data[at] << 8) | data[at + 1]);
    };
    if (data[0] == 1 && data[2] == 5 && data[1] == m_addressWidth) {
        m_pendingAddress = address(3);
        return 0;
    }
    if (data[0] == 1 && data[2] == 3 && data[1] > m_addressWidth && data[1] - m_addressWidth <= 2) {
        const std::size_t valueAt = 3 + static_cast<std::size_t>(m_addressWidth);
        const std::uint16_t value = data[1] - m_addressWidth == 2
                                        ? static_cast<std::uint16_t>((data[valueAt] << 8) | data[valueAt + 1])
                                        : data[valueAt];
        BusWrite(address(3), value);
        return 0;
    }
    if (data[0] == 2 && m_pendingAddress && (data[1] == 1 || data[1] == 2)) {
        const std::uint16_t value = BusRead(*m_pendingAddress);
        std::fill(m_readData.begin(), m_readData.end(), 0);
        m_readData[0] = static_cast<std::uint8_t>(value & 0xFF);
        if (data[1] == 2) {
            m_readData[1] = static_cast<std::uint8_t>(value >> 8);
        }
        m_pendingAddress.reset();
        return 0;
    }
    return EPIPE;
}

std::uint16_t SimulatedCamera::BusRead(std::uint16_t address) const
{
    if (m_addressWidth == 2) {
        return m_registers[address];
    }
    return address == kPageSelect ? m_page : m_registers[static_cast<std::uint16_t>(((m_page & 0xFF) << 8) | address)];
}

void SimulatedCamera::BusWrite(std::uint16_t address, std::uint16_t value)
{
    if (m_addressWidth == 2) {
        Store(address, value);
        return;
    }
    if (address == kPageSelect) {
        if (m_pageSelectFailures > 0) {
            --m_pageSelectFailures;
            return;
        }
        m_page = value;
        return;
    }
    Store(static_cast<std::uint16_t>(((m_page & 0xFF) << 8) | address), value);
}

bool SimulatedCamera::AutoOn() const
{
    return (m_registers[kModeRegister] & kAutoBit) != 0;
}

void SimulatedCamera::Store(std::uint16_t pagedAddress, std::uint16_t value)
{
    const bool ruledByAuto = pagedAddress == kExposureRegister ||
                             (pagedAddress >= kGreen1Register && pagedAddress <= kGreen2Register);
    if (ruledByAuto && AutoOn()) {
        return;
    }
    m_registers[pagedAddress] = value;
    if (pagedAddress == kModeRegister && AutoOn()) {
        for (const std::uint16_t gain : {kGreen1Register, kBlueRegister, kRedRegister, kGreen2Register}) {
            m_registers[gain] = kUnityGain;
        }
        m_registers[kExposureRegister] = kExposureDefault;
    }
}

std::vector<std::uint32_t> SimulatedCamera::ControlIds() const
{
    const std::scoped_lock lock(m_mutex);
    std::vector<std::uint32_t> ids;
    for (const Control& control : m_controls) {
        ids.push_back(control.id);
    }
    return ids;
}

std::uint16_t SimulatedCamera::Register(std::uint16_t pagedAddress) const
{
    const std::scoped_lock lock(m_mutex);
    return m_registers[pagedAddress];
}

void SimulatedCamera::SetRegister(std::uint16_t pagedAddress, std::uint16_t value)
{
    const std::scoped_lock lock(m_mutex);
    m_registers[pagedAddress] = value;
}

std::uint16_t SimulatedCamera::page() const
{
    const std::scoped_lock lock(m_mutex);
    return m_page;
}

void SimulatedCamera::SetSensorAddressWidth(int width)
{
    const std::scoped_lock lock(m_mutex);
    m_addressWidth = width == 2 ? 2 : 1;
}

void SimulatedCamera::SetExtensionUnit(bool present)
{
    const std::scoped_lock lock(m_mutex);
    m_unit = present;
}

void SimulatedCamera::SetReadOnly(std::uint32_t id, bool readOnly)
{
    const std::scoped_lock lock(m_mutex);
    if (Control* control = Find(id)) {
        control->info.readOnly = readOnly;
    }
}

void SimulatedCamera::Inject(const Failure& failure)
{
    const std::scoped_lock lock(m_mutex);
    m_failures.push_back(failure);
}

void SimulatedCamera::FailPageSelect(int count)
{
    const std::scoped_lock lock(m_mutex);
    m_pageSelectFailures = count;
}

bool SimulatedCamera::HoldDeviceLock(const std::filesystem::path& folder)
{
    const std::scoped_lock lock(m_mutex);
    m_heldLock = LockDevice(m_identity, std::chrono::milliseconds(0), folder);
    return m_heldLock.locked();
}

void SimulatedCamera::ReleaseDeviceLock()
{
    const std::scoped_lock lock(m_mutex);
    m_heldLock.Unlock();
}

void SimulatedCamera::SetRecording(bool on)
{
    const std::scoped_lock lock(m_mutex);
    m_recording = on;
    m_requests.clear();
}

std::vector<SimulatedCamera::Request> SimulatedCamera::TakeRequests()
{
    const std::scoped_lock lock(m_mutex);
    return std::exchange(m_requests, {});
}

SimulatedPicture SimulatedCamera::Picture() const
{
    const std::scoped_lock lock(m_mutex);
    const auto value = [this](std::uint32_t id) {
        const auto found =
            std::find_if(m_controls.begin(), m_controls.end(), [id](const Control& c) { return c.id == id; });
        return found == m_controls.end() ? 0 : found->value;
    };
    SimulatedPicture picture;
    picture.redGain = m_registers[kRedRegister];
    picture.greenGain1 = m_registers[kGreen1Register];
    picture.greenGain2 = m_registers[kGreen2Register];
    picture.blueGain = m_registers[kBlueRegister];
    picture.exposure = m_registers[kExposureRegister];
    picture.brightness = value(V4L2_CID_BRIGHTNESS);
    picture.contrast = value(V4L2_CID_CONTRAST);
    picture.saturation = value(V4L2_CID_SATURATION);
    picture.sharpness = value(V4L2_CID_SHARPNESS);
    picture.gamma = value(V4L2_CID_GAMMA);
    picture.gain = value(V4L2_CID_GAIN);
    return picture;
}

} // namespace orvane
