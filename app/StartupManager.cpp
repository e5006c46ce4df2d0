#include "app/StartupManager.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "link/Commands.h"
#include "link/Replies.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"

#include <QVector>

#include <climits>

namespace {
const QString ipKey = QStringLiteral("IP");
// Frequencies past the sixth are face-recognition modes, offered only when calibrated.
constexpr int standardFrequencyCount = 6;
// Far more than any camera offers. Each listed frequency costs one more exchange, so a
// garbled list must not keep the start-up asking for hours.
constexpr int maxFrequencyCount = 64;
} // namespace

const char* const StartupManager::clientVersion = "2.12.20";

StartupManager::StartupManager(ApplicationContext* context, QObject* parent)
    : QObject(parent)
    , settings(context->settings())
    , tcp(context->tcp())
    , store(QStringLiteral("<Zel>"), QStringLiteral("<Vazazazzc320>"))
{
}

StartupManager::~StartupManager()
{
    ZTRACE() << "***StartupManager destroyed";
}

void StartupManager::setServerIp(const QString& ip)
{
    settings->socket()->setIp(ip);
}

void StartupManager::storeLastIp(const QString& ip)
{
    store.setValue(ipKey, ip);
    store.sync();
}

QString StartupManager::lastIp() const
{
    return store.value(ipKey).toString();
}

bool StartupManager::isServerVersionCompatible(quint16 version)
{
    return version >= 20000 && version <= 29999 && (version / 100) % 100 == 12;
}

QString StartupManager::serverVersionHint() const
{
    const int version = settings->serverVersion();
    return QString::number(version / 10000) + QLatin1Char('.') + QString::number((version / 100) % 100) +
           QStringLiteral(".x");
}

bool StartupManager::exchange(const QString& command, int timeout)
{
    tcp->setCommand(command);
    return tcp->sendCommand(timeout);
}

void StartupManager::resetImageAveraging()
{
    exchange(Commands::setImageAveraging(0), Commands::Timeout::settings);
}

StartupManager::StartupResult StartupManager::connectToCamera()
{
    constexpr int quick = Commands::Timeout::settings;
    ZTRACE() << "ip =" << settings->socket()->ip() << "port =" << settings->socket()->port();

    if (!exchange(Commands::version(), quick))
        return ConnectionFailed;
    const qint16 version = tcp->responseInt16();
    ZTRACE() << "serverVersion =" << version;
    if (version == -1) {
        ZTRACE() << "old version detected";
        return ServerTooOld;
    }
    settings->setServerVersion(static_cast<quint16>(version));
    if (!isServerVersionCompatible(settings->serverVersion()))
        return WrongServerVersion;

    if (!exchange(Commands::getIcVersion(), quick))
        return ConnectionFailed;
    settings->setIcVersion(static_cast<quint8>(Replies::icVersion(tcp->response())));

    // A server that cannot list its frequencies still runs the standard ones.
    if (exchange(Commands::getModulationFrequencies(), quick) && tcp->response().size() >= 4)
        discoverFrequencies();
    else
        fillFallbackFrequencies();

    if (!exchange(Commands::selectChipTypeRegister(), quick))
        return ConnectionFailed;
    if (!exchange(Commands::readChipType(), quick))
        return ConnectionFailed;
    settings->setChipType(tcp->responseInt16());
    if (!exchange(Commands::getPartVersion(), Commands::Timeout::slow))
        return ConnectionFailed;
    settings->setPartVersion(tcp->responseInt16());
    if (!settings->isChipSupported())
        return ChipTooOld;

    const int chipType = settings->chipType();
    const bool flimChip = chipType == 1 || chipType == 3 || chipType == 5;
    settings->flim()->setFlimChip(flimChip);
    if (flimChip) {
        if (!exchange(Commands::flimGetStep(), quick))
            return ConnectionFailed;
        const qint16 step = tcp->responseInt16();
        ZTRACE() << "step =" << step;
        settings->flim()->setStep(step / 1000.0);
        settings->setModeIndex(10);
    }

    if (!exchange(Commands::getOffset(), quick))
        return ConnectionFailed;
    settings->settings3D()->setAutomaticOffset(tcp->responseInt16());
    return Success;
}

void StartupManager::discoverFrequencies()
{
    // Copied first: each calibration-type request below reuses the channel's reply buffer.
    // A trailing partial value is not a frequency.
    QVector<qint32> frequencies = Replies::modulationFrequencies(tcp->response());
    if (frequencies.size() > maxFrequencyCount) {
        ZTRACE() << "frequency list of" << frequencies.size() << "values cut to" << maxFrequencyCount;
        frequencies.resize(maxFrequencyCount);
    }
    SettingsModulation* modulation = settings->modulation();
    for (int i = 0; i < frequencies.size(); ++i) {
        const int calibrationType =
            exchange(Commands::getCalibrationTypeForFreqIdx(i), Commands::Timeout::settings)
                ? tcp->responseInt16()
                : 0;
        const qint32 kHz = frequencies.at(i);
        ZTRACE() << "getModulationFrequency:" << kHz << "modeCalibration:" << calibrationType;
        const bool faceId = i >= standardFrequencyCount;
        if (faceId && calibrationType <= 0)
            continue;
        const QString label = QString::number(kHz / 1000.0, 'f', 2) +
                              (faceId ? QStringLiteral(" MHz faceID") : QStringLiteral(" MHz"));
        // Widened: a server's kHz value must not overflow the Hz field.
        const qint64 hz = qint64(kHz) * 1000;
        modulation->addFrequency(label, static_cast<int>(qBound<qint64>(INT_MIN, hz, INT_MAX)));
        modulation->addCalibrationType(calibrationType);
    }
}

void StartupManager::fillFallbackFrequencies()
{
    SettingsModulation* modulation = settings->modulation();
    modulation->addFrequency(QStringLiteral("20 MHz"), 20000000);
    modulation->addFrequency(QStringLiteral("10 MHz"), 10000000);
    modulation->addFrequency(QStringLiteral("5 MHz"), 5000000);
    modulation->addFrequency(QStringLiteral("2.5 MHz"), 2500000);
    modulation->addFrequency(QStringLiteral("1.25 MHz"), 1250000);
    modulation->addFrequency(QStringLiteral("625 kHz"), 625000);
}
