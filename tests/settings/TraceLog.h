#pragma once

#include <QLoggingCategory>
#include <QStringList>

#include <functional>

// Runs a piece of code with the debug traces switched on and returns what it traced, so a
// test can check the trace texts and the destruction order.
namespace TraceLog {

inline QStringList& captured()
{
    static QStringList traces;
    return traces;
}

inline void capture(QtMsgType, const QMessageLogContext& context, const QString& message)
{
    if (context.category && qstrcmp(context.category, "kestrane.trace") == 0)
        captured().append(message);
}

inline QStringList tracesOf(const std::function<void()>& code)
{
    captured().clear();
    QLoggingCategory::setFilterRules(QStringLiteral("kestrane.trace.debug=true"));
    const QtMessageHandler previous = qInstallMessageHandler(capture);
    code();
    qInstallMessageHandler(previous);
    QLoggingCategory::setFilterRules(QStringLiteral("kestrane.trace.debug=false"));
    return captured();
}

} // namespace TraceLog
