#pragma once

#include <QObject>
#include <QSettings>
#include <QString>

class ApplicationContext;
class Settings;
class ZelTcp;

// The first conversation with the camera: version check, chip identification, discovery of
// the modulation frequencies, FLIM detection and automatic offset, each a blocking exchange
// on the GUI thread. Also keeps the last server address in the per-user store.
class StartupManager final : public QObject
{
    Q_OBJECT

public:
    enum ConfigMode
    {
        LoadDefault = 0,
        LoadLast = 1,
        Offline = 2
    };

    enum StartupResult
    {
        Success = 0,
        ConnectionFailed = 1,
        WrongServerVersion = 2,
        ServerTooOld = 3,
        ChipTooOld = 4
    };

    // The client's own version, which the server's major and minor must match.
    static const char* const clientVersion;

    explicit StartupManager(ApplicationContext* context, QObject* parent = nullptr);
    // The conversation needs only the settings hub and the channel.
    StartupManager(Settings* settings, ZelTcp* tcp, QObject* parent = nullptr);
    ~StartupManager() override;

    void setServerIp(const QString& ip);
    void storeLastIp(const QString& ip);
    // Empty when no address was stored yet.
    QString lastIp() const;

    StartupResult connectToCamera();

    // The client series that would match the connected server, "2.11.x" for server 2.11.3.
    QString serverVersionHint() const;
    void resetImageAveraging();

    void setConfigMode(ConfigMode mode) { m_mode = mode; }
    ConfigMode configMode() const { return m_mode; }

    // Some 2.12.x server.
    static bool isServerVersionCompatible(quint16 version);

private:
    bool exchange(const QString& command, int timeout);
    // Retried exchanges: true once a reply of at least one value arrived.
    bool exchangeValue(const QString& command, int timeout);
    bool readInt16(const QString& command, int timeout, qint16* value);
    bool readVersion(qint16* version);
    bool readChipType(qint16* chipType);
    StartupResult failedAfterIdentification();
    void discoverFrequencies();
    void fillFallbackFrequencies();

    Settings* settings;
    ZelTcp* tcp;
    QSettings store;
    ConfigMode m_mode = LoadDefault;
};
