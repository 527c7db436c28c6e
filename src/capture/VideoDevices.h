#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "capture/IVideoDevice.h"
#include "settings/Guid.h"

namespace orvane {

struct CaptureDevice;
class SimulatedCamera;

// The settings of `device` for its property pages: the demo camera's (the
// simulated camera `demo`), a device node's through V4L2, or nothing (a declared source, or a
// node that cannot be opened).
[[nodiscard]] std::unique_ptr<IVideoDevice> OpenVideoDevice(const CaptureDevice& device, SimulatedCamera& demo);

// True when `formats` hold the size exactly, at the frame time (within a
// thousandth; any rate when the device lists none for the size), in the
// subtype (any format for the keep-subtype value).
[[nodiscard]] bool OffersFormat(const std::vector<VideoPixelFormat>& formats, int width, int height,
                                std::int64_t frameTime, const Guid& subType);

} // namespace orvane
