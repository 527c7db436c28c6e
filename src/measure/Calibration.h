#pragma once

#include <cstdint>
#include <string>

#include "image/PointD.h"

namespace orvane {

// One calibration: a rectangle laid over an object of known width and height,
// giving units per pixel on each axis.
struct CALIBRATION {
    std::int32_t index = 0; // position in the calibration list, 0-19
    std::int32_t no = 0;
    CALIBRATION* prev = nullptr;
    CALIBRATION* next = nullptr;
    std::string name; // at most 255 characters
    PointD length;    // real width and height of the rectangle, in the unit
    std::int32_t unit = 0;
    double left = 0.0; // the rectangle, image pixels
    double top = 0.0;
    double right = 0.0;
    double bottom = 0.0;
    std::int32_t dragMode = 0; // transient: which part of the rectangle is dragged
    PointD dragAnchor;         // transient: previous drag position
    PointD mpp;                // units per pixel: length / rectangle size
};

} // namespace orvane
