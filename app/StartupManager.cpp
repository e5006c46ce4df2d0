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
// Tries of each identification exchange before the camera counts as not answering.
constexpr int exchangeAttempts = 3;

// A late reply gets more time on each try: twice as much, but at most 400 ms more.
int retryTimeout(int timeout, int attempt)
{
    return qMin(timeout << attempt, timeout + 400);
}
} // namespace

const char* const StartupManager::clientVersion = "2.12.20";

StartupManager::StartupManager(ApplicationContext* context, QObject* parent)
    : StartupManager(context->settings(), context->tcp(), parent)
{
}

StartupManager::StartupManager(Settings* settings, ZelTcp* tcp, QObject* parent)
    : QObject(parent)
    , settings(settings)
    , tcp(tcp)
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

bool StartupManager::exchangeValue(const QString& command, int timeout)
{
    // A reply that did not arrive (late, cut off by a close or a reset) is no value: the
    // exchange is asked again, each time with twice the time, before the camera counts as
    // not answering.
    for (int attempt = 0; attempt < exchangeAttempts; ++attempt) {
        if (exchange(command, retryTimeout(timeout, attempt)) && tcp->response().size() >= 2)
            return true;
        ZTRACE() << "no reply to" << command << "attempt" << attempt + 1;
    }
    return false;
}

bool StartupManager::readInt16(const QString& command, int timeout, qint16* value)
{
    if (!exchangeValue(command, timeout))
        return false;
    *value = tcp->responseInt16();
    return true;
}

bool StartupManager::readVersion(qint16* version)
{
    // A garbled reply must not read as another server's version: an unexpected version
    // counts only when the server gives it twice in a row.
    qint16 previous = 0;
    for (int attempt = 0; attempt < exchangeAttempts; ++attempt) {
        if (!readInt16(Commands::version(), Commands::Timeout::settings, version))
            return false;
        if (*version == -1 || isServerVersionCompatible(static_cast<quint16>(*version)))
            return true;
        if (attempt > 0 && *version == previous)
            return true;
        previous = *version;
    }
    return true;
}

bool StartupManager::readChipType(qint16* chipType)
{
    // The register select has no reply: only a failed connection makes it fail.
    for (int attempt = 0; attempt < exchangeAttempts; ++attempt) {
        if (exchange(Commands::selectChipTypeRegister(), retryTimeout(Commands::Timeout::settings, attempt)))
            return readInt16(Commands::readChipType(), Commands::Timeout::settings, chipType);
    }
    return false;
}

StartupManager::StartupResult StartupManager::connectToCamera()
{
    constexpr int quick = Commands::Timeout::settings;
    ZTRACE() << "ip =" << settings->socket()->ip() << "port =" << settings->socket()->port();

    qint16 version = 0;
    if (!readVersion(&version))
        return ConnectionFailed;
    ZTRACE() << "serverVersion =" << version;
    if (version == -1) {
        ZTRACE() << "old version detected";
        return ServerTooOld;
    }
    settings->setServerVersion(static_cast<quint16>(version));
    if (!isServerVersionCompatible(settings->serverVersion()))
        return WrongServerVersion;

    if (!exchangeValue(Commands::getIcVersion(), quick))
        return ConnectionFailed;
    settings->setIcVersion(static_cast<quint8>(Replies::icVersion(tcp->response())));

    // A server that cannot list its frequencies still runs the standard ones.
    if (exchange(Commands::getModulationFrequencies(), quick) && tcp->response().size() >= 4)
        discoverFrequencies();
    else
        fillFallbackFrequencies();

    qint16 chipType = 0;
    qint16 partVersion = 0;
    if (!readChipType(&chipType) ||
        !readInt16(Commands::getPartVersion(), Commands::Timeout::slow, &partVersion))
        return ConnectionFailed;
    settings->setPartVersion(partVersion);
    settings->setChipType(chipType);
    if (!settings->isChipSupported())
        return ChipTooOld;

    const bool flimChip = chipType == 1 || chipType == 3 || chipType == 5;
    settings->flim()->setFlimChip(flimChip);
    if (flimChip) {
        qint16 step = 0;
        if (!readInt16(Commands::flimGetStep(), quick, &step))
            return failedAfterIdentification();
        ZTRACE() << "step =" << step;
        settings->flim()->setStep(step / 1000.0);
        settings->setModeIndex(10);
    }

    qint16 offset = 0;
    if (!readInt16(Commands::getOffset(), quick, &offset))
        return failedAfterIdentification();
    settings->settings3D()->setAutomaticOffset(offset);
    return Success;
}

StartupManager::StartupResult StartupManager::failedAfterIdentification()
{
    // A camera that stopped answering half-way is not a known chip: no configuration is sent
    // to it and no video started.
    settings->setChipType(0);
    return ConnectionFailed;
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
        // The camera knows the frequency by its position in its own list.
        modulation->addFrequency(label, static_cast<int>(qBound<qint64>(INT_MIN, hz, INT_MAX)), i);
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
