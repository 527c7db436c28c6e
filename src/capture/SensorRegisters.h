#pragma once

#include <cstdint>

namespace orvane {

class ICameraControl;

// The image sensor's registers behind the maker camera's controller. A
// register number is 16 bits: the high byte selects the page, written to
// register 0xF0 of the sensor, the low byte is the register on that page.
// Reads make one attempt; writes and the setting loops make up to
// kAttempts, because the sensor bus drops a request now and then.
//
// UI thread only (as the camera control it talks to).
class SensorRegisters {
public:
    static constexpr std::uint16_t kPageSelect = 0xF0;
    static constexpr int kAttempts = 10;

    explicit SensorRegisters(ICameraControl& control) : m_control(control) {}

    // Selects the page, checks the selection by reading it back, reads the register.
    bool Read(std::uint16_t reg, std::uint16_t& value);
    // Selects the page and writes the value until a paged read gives it back.
    bool Write(std::uint16_t reg, std::uint16_t value);

    // The setting loops: read, stop when the register already is as wanted,
    // otherwise write; up to kAttempts rounds.
    bool SetBits(std::uint16_t reg, std::uint16_t bits);
    bool ClearBits(std::uint16_t reg, std::uint16_t bits);
    bool SetValue(std::uint16_t reg, std::uint16_t value);

private:
    bool SelectPage(std::uint16_t reg);
    // One loop: `wanted` maps the value read to the value wanted.
    template <typename Wanted> bool Settle(std::uint16_t reg, Wanted wanted);

    ICameraControl& m_control;
};

} // namespace orvane
