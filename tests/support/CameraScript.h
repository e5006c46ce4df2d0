#pragma once

#include "support/ScriptedServer.h"

#include <QList>
#include <QStringList>
#include <QVector>

// A camera for the start-up sequence, played by a scripted server: one reply per exchange in
// the order the sequence sends its commands.
struct CameraScript
{
    qint16 version = 21205;
    qint16 icVersion = 0x0103;
    bool listFrequencies = true;
    QByteArray frequencyReply; // used instead of frequenciesKHz when not empty
    QVector<qint32> frequenciesKHz = {20000, 10000, 5000, 2500, 1250, 625};
    QVector<qint16> calibrationTypes = {1, 1, 1, 1, 0, 0};
    qint16 chipType = 2;
    qint16 partVersion = 7;
    qint16 flimStep = 250;
    qint16 offset = -20;

    static QByteArray int16(qint16 value);
    static QByteArray int32List(const QVector<qint32>& values);

    bool flimChip() const { return chipType == 1 || chipType == 3 || chipType == 5; }
    // Frequencies the reply holds (whole values only).
    int frequencyCount() const;
    QList<ScriptedServer::Step> steps() const;
    // The command lines of a complete successful run.
    QStringList commands() const;
};
