// The configuration loader against any file: the first byte chooses the connected chip, the
// second whether it is read as a built-in default or as the last configuration, the rest is
// the file. Whatever it holds, a loaded ROI ends on the sensor with its corners in
// order.

#include "fuzz/FuzzInput.h"
#include "settings/Settings.h"
#include "settings/SettingsManager.h"

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>

#include <cstdint>
#include <cstdlib>

namespace {
QTemporaryDir* folder = nullptr;
QString lastPath;
QString defaultPath;
} // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication application(*argc, *argv);
    folder = new QTemporaryDir;
    lastPath = folder->filePath(QStringLiteral("zc320_settings_last.xml"));
    defaultPath = folder->filePath(QStringLiteral("zc320_settings_default.xml"));
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzInput input(data, size);
    const int chipType = input.intIn(0, 5);
    const QString& path = input.flag() ? defaultPath : lastPath;
    {
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            std::abort();
        file.write(input.rest());
    }
    Settings settings;
    settings.setChipType(chipType);
    settings.roi()->setChipType(chipType);
    const int before[] = {settings.roi()->x1(), settings.roi()->x2(), settings.roi()->y1(),
                          settings.roi()->y2()};
    SettingsManager manager(&settings);
    manager.loadConfig(path);

    const SettingsROI* roi = settings.roi();
    const bool onSensor = roi->x1() >= 0 && roi->x1() <= roi->x2() && roi->x2() < roi->sensorWidth() &&
                          roi->y1() >= 0 && roi->y1() <= roi->y2() && roi->y2() < roi->sensorHeight();
    // A file without an ROI leaves the chip's own one.
    const bool roiUntouched =
        roi->x1() == before[0] && roi->x2() == before[1] && roi->y1() == before[2] && roi->y2() == before[3];
    if (!onSensor && !roiUntouched)
        std::abort();
    return 0;
}
