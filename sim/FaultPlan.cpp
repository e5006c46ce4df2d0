#include "sim/FaultPlan.h"

#include <QStringList>

namespace {
bool parseCount(const QString& text, int low, int* value)
{
    bool ok = false;
    const int v = text.toInt(&ok);
    if (!ok || v < low)
        return false;
    *value = v;
    return true;
}
} // namespace

bool FaultPlan::parse(const QString& spec, FaultPlan* plan, QString* error)
{
    FaultPlan result;
    const QStringList items = spec.split(QLatin1Char(','), Qt::SkipEmptyParts);
    for (const QString& raw : items) {
        const QString item = raw.trimmed();
        const int equals = item.indexOf(QLatin1Char('='));
        const QString name = equals < 0 ? item : item.left(equals);
        const QString value = equals < 0 ? QString() : item.mid(equals + 1);
        bool ok = true;
        if (name == QLatin1String("none"))
            result = FaultPlan();
        else if (name == QLatin1String("delay"))
            ok = parseCount(value, 0, &result.delayMs);
        else if (name == QLatin1String("hang"))
            result.hang = true;
        else if (name == QLatin1String("close"))
            result.closeWithoutReply = true;
        else if (name == QLatin1String("partial"))
            result.partialFrame = true;
        else if (name == QLatin1String("oversize"))
            result.oversizeFrame = true;
        else if (name == QLatin1String("garbage"))
            result.garbage = true;
        else if (name == QLatin1String("reset"))
            result.reset = true;
        else if (name == QLatin1String("refuse"))
            ok = parseCount(value, 1, &result.refuseSeconds);
        else if (name == QLatin1String("every"))
            ok = parseCount(value, 1, &result.everyNth);
        else
            ok = false;
        if (!ok) {
            if (error)
                *error = QStringLiteral("bad fault item: ") + item;
            return false;
        }
    }
    *plan = result;
    return true;
}

QString FaultPlan::describe() const
{
    QStringList items;
    if (delayMs > 0)
        items << QStringLiteral("delay=%1").arg(delayMs);
    if (hang)
        items << QStringLiteral("hang");
    if (closeWithoutReply)
        items << QStringLiteral("close");
    if (partialFrame)
        items << QStringLiteral("partial");
    if (oversizeFrame)
        items << QStringLiteral("oversize");
    if (garbage)
        items << QStringLiteral("garbage");
    if (reset)
        items << QStringLiteral("reset");
    if (refuseSeconds > 0)
        items << QStringLiteral("refuse=%1").arg(refuseSeconds);
    if (everyNth > 0)
        items << QStringLiteral("every=%1").arg(everyNth);
    return items.isEmpty() ? QStringLiteral("none") : items.join(QLatin1Char(','));
}
