#pragma once

#include <QByteArray>
#include <QFile>
#include <QList>

#include <unistd.h>

// The resident memory of this process in KiB (from /proc/self/statm); -1 when unreadable.
inline long residentKilobytes()
{
    QFile statm(QStringLiteral("/proc/self/statm"));
    if (!statm.open(QIODevice::ReadOnly))
        return -1;
    const QList<QByteArray> fields = statm.readAll().split(' ');
    return fields.size() > 1 ? fields[1].toLong() * (sysconf(_SC_PAGESIZE) / 1024) : -1;
}
