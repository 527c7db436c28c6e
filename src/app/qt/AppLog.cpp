#include "app/qt/AppLog.h"

namespace orvane {

Q_LOGGING_CATEGORY(lcApp, "orvane.app")

} // namespace orvane
