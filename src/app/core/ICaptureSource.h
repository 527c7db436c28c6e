#pragma once

#include <string>

namespace orvane {

// The camera as the main window sees it: start, stop, and what the title
// shows. The capture graph implements it; until a camera is chosen the window
// runs with NoCamera.
//
// UI thread only.
class ICaptureSource {
public:
    virtual ~ICaptureSource() = default;

    // Opens the chosen camera and starts its frames; true when live. When it
    // fails the window shows a white picture of the settings' capture size.
    virtual bool BeginLive() = 0;
    // Stops the frames and releases the camera; harmless when not live.
    virtual void EndLive() = 0;
    [[nodiscard]] virtual bool isLive() const = 0;
    // The friendly name of the opened camera (the title shows it while live).
    [[nodiscard]] virtual std::string deviceCaption() const = 0;
};

} // namespace orvane
