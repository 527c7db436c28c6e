#pragma once

#include <cstdint>

// The maker camera's image sensor registers the image settings use (page in
// the high byte). Their meaning beyond these uses belongs to the sensor.
namespace orvane::sensor {

inline constexpr std::uint16_t kPresence = 0x0000; // non-zero on a camera that answers
// Set after every change of the mode register, in this order.
inline constexpr std::uint16_t kAfterMode1 = 0x0001;
inline constexpr std::uint16_t kAfterMode1Value = 12;
inline constexpr std::uint16_t kAfterMode2 = 0x0006;
inline constexpr std::uint16_t kAfterMode2Value = 42;
inline constexpr std::uint16_t kExposure = 0x0009;    // shutter width
inline constexpr std::uint16_t kGreenGain = 0x002B;   // first green
inline constexpr std::uint16_t kBlueGain = 0x002C;
inline constexpr std::uint16_t kRedGain = 0x002D;
inline constexpr std::uint16_t kGreenGain2 = 0x002E;  // second green, written with the first

inline constexpr std::uint16_t kMode = 0x0106;
inline constexpr std::uint16_t kModeAuto = 0x4000;        // automatic exposure and white balance
inline constexpr std::uint16_t kModeStartClear = 0x4002;  // cleared at start-up
inline constexpr std::uint16_t kModeStartSet = 0x0010;    // set at start-up and by each white-balance step
inline constexpr std::uint16_t kModeApplyPulse = 0x8000;  // set and cleared when the saved settings are applied

inline constexpr std::uint16_t kAutoPrepare = 0x0237;     // 0 before the automatic mode goes on
inline constexpr std::uint16_t kStartClear = 0x023E;      // bit kStartClearBit cleared at start-up
inline constexpr std::uint16_t kStartClearBit = 0x1000;
inline constexpr std::uint16_t kStartZero = 0x0267;       // 0 at start-up
inline constexpr std::uint16_t kApplyLevel1 = 0x0213;     // kApplyLevelValue when the saved settings are applied
inline constexpr std::uint16_t kApplyLevel2 = 0x0214;
inline constexpr std::uint16_t kApplyLevelValue = 128;

// The white-balance gains: a 7-bit fine gain and the coarse bits above it.
inline constexpr std::uint16_t kGainFineMask = 0x007F;
inline constexpr std::uint16_t kGainCoarseMask = 0x0780;

} // namespace orvane::sensor
