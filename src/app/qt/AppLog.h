#pragma once

#include <QLoggingCategory>

namespace orvane {

// The app module's one logging category, "orvane.app".
Q_DECLARE_LOGGING_CATEGORY(lcApp)

} // namespace orvane
