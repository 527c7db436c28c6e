#include "app/window/ScreenFit.h"

#include <algorithm>

namespace orvane {

QRect FitIntoArea(QRect client, QRect area, QMargins frame)
{
    if (area.isEmpty()) {
        return client;
    }
    const QRect inner = area.marginsRemoved(frame);
    const int width = std::clamp(client.width(), 1, std::max(1, inner.width()));
    const int height = std::clamp(client.height(), 1, std::max(1, inner.height()));
    const int left = std::clamp(client.left(), inner.left(), std::max(inner.left(), inner.right() + 1 - width));
    const int top = std::clamp(client.top(), inner.top(), std::max(inner.top(), inner.bottom() + 1 - height));
    return {left, top, width, height};
}

} // namespace orvane
