#include "capture/SensorRegisters.h"

#include "camctl/ICameraControl.h"

namespace orvane {
namespace {

[[nodiscard]] constexpr std::uint16_t PageOf(std::uint16_t reg)
{
    return static_cast<std::uint16_t>(reg >> 8);
}

[[nodiscard]] constexpr std::uint16_t OffsetOf(std::uint16_t reg)
{
    return static_cast<std::uint16_t>(reg & 0xFF);
}

} // namespace

bool SensorRegisters::SelectPage(std::uint16_t reg)
{
    // A failed write shows in the read-back, which is what counts.
    m_control.WriteRegister(kPageSelect, PageOf(reg));
    std::uint16_t page = 0;
    return m_control.ReadRegister(kPageSelect, page) && page == PageOf(reg);
}

bool SensorRegisters::Read(std::uint16_t reg, std::uint16_t& value)
{
    return SelectPage(reg) && m_control.ReadRegister(OffsetOf(reg), value);
}

bool SensorRegisters::Write(std::uint16_t reg, std::uint16_t value)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        if (SelectPage(reg)) {
            m_control.WriteRegister(OffsetOf(reg), value);
        }
        std::uint16_t readBack = 0;
        if (Read(reg, readBack) && readBack == value) {
            return true;
        }
    }
    return false;
}

template <typename Wanted> bool SensorRegisters::Settle(std::uint16_t reg, Wanted wanted)
{
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
        std::uint16_t value = 0;
        if (!Read(reg, value)) {
            continue;
        }
        const std::uint16_t target = wanted(value);
        if (value == target || Write(reg, target)) {
            return true;
        }
    }
    return false;
}

bool SensorRegisters::SetBits(std::uint16_t reg, std::uint16_t bits)
{
    return Settle(reg, [bits](std::uint16_t value) { return static_cast<std::uint16_t>(value | bits); });
}

bool SensorRegisters::ClearBits(std::uint16_t reg, std::uint16_t bits)
{
    return Settle(reg, [bits](std::uint16_t value) { return static_cast<std::uint16_t>(value & ~bits); });
}

bool SensorRegisters::SetValue(std::uint16_t reg, std::uint16_t value)
{
    return Settle(reg, [value](std::uint16_t) { return value; });
}

} // namespace orvane
