#pragma once

#include <QObject>
#include <QString>

// The command server's address. The channel copies it before each exchange; the start
// dialog changes the IP, the port stays at its default for the whole run.
class SettingsSocket final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsSocket(QObject* parent = nullptr);
    ~SettingsSocket() override;

    QString ip() const { return m_ip; }
    int port() const { return m_port; }

    void setIp(const QString& ip);
    void setPort(int port);

signals:
    void socketChanged();

private:
    QString m_ip = QStringLiteral("192.168.7.2");
    int m_port = 50660;
};
