#pragma once

#include <cstdint>

namespace orvane {

// What a numbered camera property reports besides its current value.
struct CameraPropertyInfo {
    std::int32_t minimum = 0;
    std::int32_t maximum = 0;
    std::int32_t step = 0;
    std::int32_t defaultValue = 0;
    bool autoCapable = false;
    bool autoOn = false;

    friend bool operator==(const CameraPropertyInfo&, const CameraPropertyInfo&) = default;
};

// The maker camera as its image settings reach it: the image sensor's
// registers, at the address and data widths of the attached wrapper, and the
// numbered properties (0-11 camera terminal, 200-211 processing unit, 400-405
// extension unit). Every call answers false, and changes nothing it reports,
// when the camera refuses, is held by another process or has gone.
//
// UI thread only.
class ICameraControl {
public:
    virtual ~ICameraControl() = default;

    virtual bool ReadRegister(std::uint16_t address, std::uint16_t& value) = 0;
    virtual bool WriteRegister(std::uint16_t address, std::uint16_t value) = 0;

    // The current value; for the ids of automatic flags, the flag as 0 or 1.
    virtual bool GetProperty(int id, std::int32_t& value) = 0;
    virtual bool GetPropertyInfo(int id, CameraPropertyInfo& info) = 0;
    // Writes a camera-terminal or processing-unit control's value in manual
    // mode; a value equal to the cached one succeeds without a request.
    virtual bool WriteControl(int id, std::int32_t value) = 0;
};

} // namespace orvane
