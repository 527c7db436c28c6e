#include "capture/VideoDevices.h"

#include "capture/CCapture.h"
#include "capture/CaptureCaps.h"
#include "capture/DemoVideoDevice.h"
#include "capture/V4L2Device.h"

namespace orvane {

std::unique_ptr<IVideoDevice> OpenVideoDevice(const CaptureDevice& device, SimulatedCamera& demo)
{
    if (device.demo) {
        return std::make_unique<DemoVideoDevice>(demo);
    }
    if (device.path.empty()) {
        return nullptr;
    }
    auto node = std::make_unique<V4L2Device>(device.path, device.name);
    if (!node->isOpen()) {
        return nullptr;
    }
    return node;
}

bool OffersFormat(const std::vector<VideoPixelFormat>& formats, int width, int height, std::int64_t frameTime,
                  const Guid& subType)
{
    for (const VideoPixelFormat& format : formats) {
        if (subType != kKeepSubtype && SubTypeOfFourcc(format.fourcc) != subType) {
            continue;
        }
        for (const VideoFrameSize& size : format.sizes) {
            if (size.width != width || size.height != height) {
                continue;
            }
            if (size.rates.empty()) {
                return true;
            }
            for (const FrameRate& rate : size.rates) {
                const std::int64_t offered = FrameTimeOf(rate);
                const std::int64_t difference = offered > frameTime ? offered - frameTime : frameTime - offered;
                if (difference <= frameTime / 1000) {
                    return true;
                }
            }
        }
    }
    return false;
}

} // namespace orvane
