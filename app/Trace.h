#pragma once

#include <QLoggingCategory>

// The system's debug traces ("***ZelTcp destroyed", "connection successful", ...).
// Quiet unless enabled: KESTRANE_TRACE=1 in the environment, or the Qt logging rule
// "kestrane.trace.debug=true".
Q_DECLARE_LOGGING_CATEGORY(lcTrace)

#define ZTRACE qCDebug(lcTrace).noquote

namespace Trace {
// Switches the trace category on when KESTRANE_TRACE is set to a non-empty value other than 0.
void enableFromEnvironment();
} // namespace Trace
