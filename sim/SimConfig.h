#pragma once

#include "sim/ChipModel.h"

#include <QHostAddress>
#include <QString>

// Everything fixed on the command line when the simulator starts.
struct SimConfig
{
    ChipModel chip = ChipModel::byName(QStringLiteral("zc320"));
    QHostAddress listenAddress = QHostAddress::LocalHost;
    quint16 port = 50660;
    int serverVersion = 21205;
    int icVersion = 3;
    int partVersion = 7;
    int automaticOffset = 0;
    quint64 seed = 1;
    int longOperationMs = 2000;
    bool realtime = false;
    bool noise = true;
    bool verbose = false;
    QString faults;
};
