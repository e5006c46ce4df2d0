#include "service/ApplicationRestart.h"

#include "app/Trace.h"

#include <QCoreApplication>
#include <QProcess>

ApplicationRestart::ApplicationRestart()
    : start([](const QString& program, const QStringList& arguments) {
        return QProcess::startDetached(program, arguments);
    })
    , quit([] { QCoreApplication::quit(); })
{
}

QStringList ApplicationRestart::restartArguments(const QStringList& applicationArguments)
{
    QStringList arguments = applicationArguments;
    arguments.removeAll(QStringLiteral("--load-default"));
    return arguments;
}

bool ApplicationRestart::restart(const QStringList& applicationArguments) const
{
    if (applicationArguments.isEmpty())
        return false;
    const QString program = applicationArguments.first();
    if (!start(program, restartArguments(applicationArguments))) {
        ZTRACE() << "restart failed:" << program;
        return false;
    }
    quit();
    return true;
}
