#include "app/ConfigurationChoice.h"

#include <QDir>

namespace {
QString modelName(int chipType)
{
    switch (chipType) {
    case 2:
        return QStringLiteral("zc320");
    case 3:
        return QStringLiteral("zc210");
    case 4:
        return QStringLiteral("zc310");
    case 5:
        return QStringLiteral("zc220");
    default:
        return QString();
    }
}
} // namespace

namespace ConfigurationChoice {

QString primary(int chipType, bool loadDefault)
{
    const QString model = modelName(chipType);
    if (model.isEmpty())
        return QString();
    if (loadDefault)
        return QStringLiteral(":/config/") + model + QStringLiteral("_settings_default.xml");
    return lastConfiguration(chipType);
}

QString secondDefault(int chipType)
{
    if (chipType != 2 && chipType != 4)
        return QString();
    return QStringLiteral(":/config/") + modelName(chipType) + QStringLiteral("_settings_default2.xml");
}

QString lastConfiguration(int chipType)
{
    const QString model = modelName(chipType);
    if (model.isEmpty())
        return QString();
    return QDir::tempPath() + QStringLiteral("/") + model + QStringLiteral("_settings_last.xml");
}

} // namespace ConfigurationChoice
