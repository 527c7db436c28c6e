#include "app/look/DpiScale.h"

#include <cstdint>
#include <limits>

#include <QWidget>

namespace orvane {

int MulDiv(int a, int b, int c)
{
    if (c == 0) {
        return -1;
    }
    std::int64_t product = static_cast<std::int64_t>(a) * b;
    std::int64_t divisor = c;
    if (divisor < 0) {
        product = -product;
        divisor = -divisor;
    }
    // Add or take away half the divisor so that the truncating division rounds
    // halves away from zero.
    const std::int64_t half = divisor / 2;
    const std::int64_t result = (product >= 0 ? product + half : product - half) / divisor;
    if (result > std::numeric_limits<int>::max() || result < -std::numeric_limits<int>::max()) {
        return -1;
    }
    return static_cast<int>(result);
}

DpiScale::DpiScale(int dpiX, int dpiY) : m_dpiX(dpiX > 0 ? dpiX : 96), m_dpiY(dpiY > 0 ? dpiY : 96)
{
}

DpiScale DpiScale::ForWidget(const QWidget& widget)
{
    return DpiScale(widget.logicalDpiX(), widget.logicalDpiY());
}

} // namespace orvane
