#pragma once

#include "app/core/ICaptureSource.h"

namespace orvane {

// A capture source that never finds a camera: the window stays on its white
// picture and the search dialog reports that no device was found.
class NoCamera final : public ICaptureSource {
public:
    bool BeginLive() override { return false; }
    void EndLive() override {}
    [[nodiscard]] bool isLive() const override { return false; }
    [[nodiscard]] std::string deviceCaption() const override { return {}; }
};

} // namespace orvane
