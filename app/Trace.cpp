#include "app/Trace.h"

Q_LOGGING_CATEGORY(lcTrace, "kestrane.trace", QtInfoMsg)

namespace Trace {

void enableFromEnvironment()
{
    const QByteArray value = qgetenv("KESTRANE_TRACE");
    if (!value.isEmpty() && value != "0")
        QLoggingCategory::setFilterRules(QStringLiteral("kestrane.trace.debug=true"));
}

} // namespace Trace
