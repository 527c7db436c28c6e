#pragma once

#include <QMargins>
#include <QRect>

namespace orvane {

// A window of client rectangle `client` whose frame adds `frame` on each side,
// moved and if need be shrunk so that the whole frame lies inside `area` (a
// screen's available area). A client that fits is kept where it is; an empty
// area changes nothing.
[[nodiscard]] QRect FitIntoArea(QRect client, QRect area, QMargins frame);

} // namespace orvane
