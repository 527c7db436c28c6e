#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace orvane {

class MeasureDlgState;

// The camera as the main window sees it: start, stop, and what the title
// shows. LiveCamera implements it over the capture graph; tests give fakes.
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

    // The window's state the frames go to, and the call that wakes the UI
    // thread when a frame has been written (it is called on the streaming
    // thread and must only post an event).
    // An empty frameReady disconnects the call: once this returns it is not
    // called again.
    virtual void Connect(MeasureDlgState& /*state*/, std::function<void()> /*frameReady*/) {}
    // The state goes: the frames stop and nothing refers to it any more.
    virtual void Disconnect() { EndLive(); }
    // Called by the camera retry while live: true when the stream has failed
    // (an error or its end); the camera is then no longer live and the retry
    // starts it again.
    virtual bool StreamFailed() { return false; }
    // The frame-ready event at `now` (TickCount milliseconds): derives the
    // display frame; true when the picture is to be repainted.
    virtual bool OnFrameReady(std::uint32_t /*now*/) { return false; }
    // The window's 100 ms tick (a maker camera's saved image settings are
    // applied on it once its picture runs).
    virtual void OnTick() {}
    // False while SET must wait (the maker camera's settings are not applied yet).
    [[nodiscard]] virtual bool setAvailable() const { return true; }
};

} // namespace orvane
