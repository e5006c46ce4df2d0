#pragma once

#include <QObject>
#include <QString>

class QByteArray;
class Settings;
class ZelTcp;

// Performs one image view's picture exchange, and the temperature read that may follow it,
// on the shared channel. Exactly one exchange is in flight: the view asks for the next frame
// only after it has drawn this one (it emits ready() on the channel).
class ControllerPicture final : public QObject
{
    Q_OBJECT

public:
    ControllerPicture(Settings* settings, ZelTcp* tcp, QObject* parent = nullptr);
    ~ControllerPicture() override;

    // Sends `command` as an event-driven exchange; the reply reaches pictureReady().
    void requestPicture(const QString& command);
    // The time-out of a picture request for the current settings (ms).
    int pictureTimeout() const;
    QString currentCommand() const { return m_command; }
    int currentTimeout() const { return m_timeout; }

signals:
    void pictureReady(QByteArray& data);
    void failed();

public slots:
    void getTemperature();
    void getPicture();
    void onFailed();
    void disconnectSlots();

private:
    Settings* m_settings;
    ZelTcp* m_tcp;
    QString m_command;
    int m_timeout = 0;
};
