#pragma once

#include <algorithm>
#include <cstdint>
#include <map>
#include <set>
#include <vector>

#include "camctl/ICameraControl.h"

namespace orvane::test {

// A maker camera as its image settings see it: the sensor's registers in
// pages behind the page-select register 0xF0 (addresses are one byte wide,
// values two), and numbered properties with ranges. Faults are injected
// per register; every request is recorded.
class FakeCameraControl final : public ICameraControl {
public:
    struct Call {
        char op = 'R';          // 'R' register read, 'W' register write, 'C' control write
        std::uint16_t target{}; // page << 8 | register (0x00F0 for page selects), or the property id
        int value = 0;

        friend bool operator==(const Call&, const Call&) = default;
    };
    struct Property {
        CameraPropertyInfo info;
        std::int32_t value = 0;
        bool readable = true;
    };

    static constexpr std::uint16_t kPageSelect = 0xF0;

    std::map<std::uint16_t, std::uint16_t> registers; // by page << 8 | register
    std::map<int, Property> properties;
    std::uint16_t page = 0;
    int lostPageSelects = 0;                       // the next page selects are lost on the bus
    std::map<std::uint16_t, int> ignoredWrites;    // writes still ignored, per register
    std::set<std::uint16_t> unreadable;            // registers whose reads fail
    bool gone = false;                             // every request fails
    std::vector<Call> calls;

    bool ReadRegister(std::uint16_t address, std::uint16_t& value) override
    {
        if (gone) {
            return false;
        }
        const std::uint16_t full = Full(address);
        calls.push_back({'R', full, 0});
        if (full == kPageSelect) {
            value = page;
            return true;
        }
        if (unreadable.contains(full)) {
            return false;
        }
        value = registers[full];
        return true;
    }

    bool WriteRegister(std::uint16_t address, std::uint16_t value) override
    {
        if (gone) {
            return false;
        }
        const std::uint16_t full = Full(address);
        calls.push_back({'W', full, value});
        if (full == kPageSelect) {
            if (lostPageSelects > 0) {
                --lostPageSelects;
            } else {
                page = value;
            }
            return true;
        }
        if (int& ignored = ignoredWrites[full]; ignored > 0) {
            --ignored;
            return true;
        }
        registers[full] = value;
        return true;
    }

    bool GetProperty(int id, std::int32_t& value) override
    {
        const Property* property = Find(id);
        if (property == nullptr) {
            return false;
        }
        value = property->value;
        return true;
    }

    bool GetPropertyInfo(int id, CameraPropertyInfo& info) override
    {
        const Property* property = Find(id);
        if (property == nullptr) {
            return false;
        }
        info = property->info;
        return true;
    }

    bool WriteControl(int id, std::int32_t value) override
    {
        Property* property = Find(id);
        if (property == nullptr) {
            return false;
        }
        calls.push_back({'C', static_cast<std::uint16_t>(id), value});
        if (value < property->info.minimum || value > property->info.maximum) {
            return false;
        }
        property->value = value;
        return true;
    }

    // The values written in order by register writes ('W', page << 8 | register)
    // or control writes ('C', property id).
    [[nodiscard]] std::vector<int> Writes(char op, int target) const
    {
        std::vector<int> values;
        for (const Call& call : calls) {
            if (call.op == op && call.target == target) {
                values.push_back(call.value);
            }
        }
        return values;
    }

    [[nodiscard]] int Count(char op) const
    {
        return static_cast<int>(std::count_if(calls.begin(), calls.end(), [op](const Call& c) { return c.op == op; }));
    }

private:
    [[nodiscard]] std::uint16_t Full(std::uint16_t address) const
    {
        const auto offset = static_cast<std::uint16_t>(address & 0xFF);
        return offset == kPageSelect ? kPageSelect : static_cast<std::uint16_t>(page << 8 | offset);
    }

    [[nodiscard]] Property* Find(int id)
    {
        if (gone) {
            return nullptr;
        }
        const auto found = properties.find(id);
        return found == properties.end() || !found->second.readable ? nullptr : &found->second;
    }
};

// Register and property values of an answering maker camera.
inline constexpr std::uint16_t kFakeRed = 0x0030;
inline constexpr std::uint16_t kFakeGreen = 0x0040;
inline constexpr std::uint16_t kFakeBlue = 0x0058;
inline constexpr std::uint16_t kFakeExposure = 0x0200;

inline FakeCameraControl MakeFakeMakerCamera()
{
    FakeCameraControl camera;
    camera.registers = {
        {0x0000, 0x8431},        {0x0001, 0},       {0x0006, 0},         {0x0009, kFakeExposure},
        {0x002B, kFakeGreen},    {0x002C, kFakeBlue}, {0x002D, kFakeRed}, {0x002E, kFakeGreen},
        {0x0106, 0x0710}, {0x023E, 0x1234}, {0x0267, 5},
    };
    const auto property = [](int minimum, int maximum, int defaultValue, int value) {
        return FakeCameraControl::Property{CameraPropertyInfo{minimum, maximum, 1, defaultValue, false, false}, value,
                                           true};
    };
    camera.properties = {
        {400, property(0, 0x7FF, 0x44, 0)},  {401, property(0, 0x7FF, 0x45, 0)},
        {402, property(0, 0x7FF, 0x46, 0)},  {404, property(1, 1000, 500, 0)},
        {200, property(-64, 64, 0, 12)},     {204, property(0, 100, 50, 60)},
        {205, property(0, 7, 3, 5)},         {206, property(100, 300, 220, 150)},
    };
    return camera;
}

// The eight image values as the camera holds them: red, green, blue,
// exposure, brightness, saturation, sharpness, gamma.
inline std::vector<int> CameraValues(FakeCameraControl& camera)
{
    return {camera.registers[0x002D], camera.registers[0x002B], camera.registers[0x002C], camera.registers[0x0009],
            camera.properties[200].value, camera.properties[204].value, camera.properties[205].value,
            camera.properties[206].value};
}

} // namespace orvane::test
