#include "settings/SettingsSocket.h"

#include "app/Trace.h"

SettingsSocket::SettingsSocket(QObject* parent) : QObject(parent)
{
}

SettingsSocket::~SettingsSocket()
{
    ZTRACE() << "***SettingsSocket destroyed";
}

void SettingsSocket::setIp(const QString& ip)
{
    m_ip = ip;
    emit socketChanged();
}

void SettingsSocket::setPort(int port)
{
    m_port = port;
    emit socketChanged();
}
