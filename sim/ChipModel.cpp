#include "sim/ChipModel.h"

bool ChipModel::isKnownName(const QString& name)
{
    return name == QLatin1String("zc320") || name == QLatin1String("zc310") ||
           name == QLatin1String("zc210") || name == QLatin1String("zc220");
}

ChipModel ChipModel::byName(const QString& name)
{
    if (name == QLatin1String("zc310"))
        return {name, 4, 168, 72, false};
    if (name == QLatin1String("zc210"))
        return {name, 3, 328, 252, true};
    if (name == QLatin1String("zc220"))
        return {name, 5, 168, 72, true};
    return {QStringLiteral("zc320"), 2, 328, 252, false};
}
