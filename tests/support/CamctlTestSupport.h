#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <ostream>
#include <vector>

#include "TempDir.h"
#include "camctl/SimulatedCamera.h"
#include "camctl/c5U87xCtlLib.h"

namespace orvane {

inline std::ostream& operator<<(std::ostream& out, const SimulatedCamera::Request& r)
{
    out << "{kind " << static_cast<int>(r.kind) << ", target " << r.target << ", query 0x" << std::hex
        << static_cast<int>(r.query) << ", data";
    for (const std::uint8_t b : r.data) {
        out << ' ' << static_cast<int>(b);
    }
    return out << std::dec << ", value " << r.value << ", result " << r.result << '}';
}

namespace test {

// An extension-unit request with its 11 bytes (the listed ones, then zeros).
inline SimulatedCamera::Request UnitRequest(std::uint8_t selector, UvcQuery query,
                                            std::initializer_list<std::uint8_t> bytes, int result = 0)
{
    SimulatedCamera::Request request;
    request.kind = SimulatedCamera::RequestKind::Unit;
    request.target = selector;
    request.query = query;
    request.data.assign(bytes);
    request.data.resize(c5U87xCtl::kUnitControlBytes, 0);
    request.result = result;
    return request;
}

inline SimulatedCamera::Request ControlRequest(SimulatedCamera::RequestKind kind, std::uint32_t id,
                                               std::int32_t value, int result = 0)
{
    SimulatedCamera::Request request;
    request.kind = kind;
    request.target = id;
    request.query = kind == SimulatedCamera::RequestKind::SetControl ? UvcQuery::SetCur : UvcQuery::GetCur;
    request.value = value;
    request.result = result;
    return request;
}

// The answer of the register bus selector and the sensor selection that follows it.
inline std::vector<SimulatedCamera::Request> SensorSelection()
{
    return {UnitRequest(1, UvcQuery::GetCur, {1, 12, 0, 0, 0, 0, 0, 0, 0, SimulatedCamera::kBusAddress,
                                              SimulatedCamera::kBusMode}),
            UnitRequest(3, UvcQuery::SetCur, {0, SimulatedCamera::kBusAddress, SimulatedCamera::kBusMode})};
}

// A library opened on a simulated camera, with its lock files in a folder of
// its own and the camera's log started after the opening.
struct OpenedCamera {
    TempDir folder;
    std::shared_ptr<SimulatedCamera> camera = std::make_shared<SimulatedCamera>();
    c5U87xCtl library{folder.path()};

    bool Open()
    {
        const bool opened = library.Open(camera);
        camera->SetRecording(true);
        return opened;
    }
};

} // namespace test
} // namespace orvane
