#include "camctl/C5U87xCtl.h"

#include <utility>

namespace orvane {

namespace {

constexpr int kRegisterAttempts = 1;
constexpr int kAutoWhiteBalanceId = 403;

bool IsAutoFlagId(int id)
{
    switch (id) {
    case 5:
    case 7:
    case 9:
    case 203:
    case 208:
    case 405:
        return true;
    default:
        return false;
    }
}

} // namespace

C5U87xCtl::C5U87xCtl(std::filesystem::path lockFolder) : m_control(std::move(lockFolder)) {}

C5U87xCtl::~C5U87xCtl()
{
    Close();
}

bool C5U87xCtl::Attach(std::shared_ptr<ICameraTransport> device, bool useDeviceLock)
{
    if (m_control.kind() == c5U87xCtl::kKindExtensionUnit || m_control.kind() == c5U87xCtl::kKindPlain) {
        return true;
    }
    return m_control.Open(std::move(device), useDeviceLock);
}

void C5U87xCtl::Close()
{
    m_control.Close();
}

bool C5U87xCtl::ReadRegister(std::uint16_t address, std::uint16_t& value)
{
    return m_control.ReadRegister(address, m_addressWidth, value, m_dataWidth, kRegisterAttempts);
}

bool C5U87xCtl::WriteRegister(std::uint16_t address, std::uint16_t value)
{
    return m_control.WriteRegister(address, m_addressWidth, value, m_dataWidth, kRegisterAttempts);
}

bool C5U87xCtl::GetProperty(int id, std::int32_t& value)
{
    ControlReading reading;
    if (!m_control.ReadControl(id, reading)) {
        return false;
    }
    value = IsAutoFlagId(id) ? (reading.autoOn ? 1 : 0) : reading.current;
    return true;
}

bool C5U87xCtl::GetPropertyInfo(int id, CameraPropertyInfo& info)
{
    ControlReading reading;
    if (!m_control.ReadControl(id, reading)) {
        return false;
    }
    info.minimum = reading.minimum;
    info.maximum = reading.maximum;
    info.step = reading.step;
    info.defaultValue = reading.defaultValue;
    info.autoCapable = reading.autoCapable;
    info.autoOn = reading.autoOn;
    if (id == kAutoWhiteBalanceId) {
        info.minimum = 0;
        info.maximum = 1;
        info.step = 1;
    }
    return true;
}

bool C5U87xCtl::WriteControl(int id, std::int32_t value)
{
    if (IsAutoFlagId(id)) {
        const PropertyRecord* record = m_control.record(id);
        return record != nullptr && m_control.WriteControl(id, value != 0, record->current);
    }
    return m_control.WriteControl(id, false, value);
}

} // namespace orvane
