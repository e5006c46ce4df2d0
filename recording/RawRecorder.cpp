#include "recording/RawRecorder.h"

#include "app/Trace.h"
#include "frames/DataCorrelationSamples.h"
#include "recording/Logger.h"
#include "settings/Settings.h"

#include <QFile>

namespace {
constexpr int kBlockCount = DataCorrelationSamples::kPartCount;

// A file name typed by the user stays a name inside the recording directory.
QString safeName(QString name)
{
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return name;
}
} // namespace

RawRecorder::RawRecorder(const Settings* settings, Logger* logger) : settings(settings), logger(logger)
{
}

QString RawRecorder::timeStamp(const QDateTime& now)
{
    return QLatin1Char('_') + now.toString(QStringLiteral("yyyyMMdd-hhmmss"));
}

bool RawRecorder::recordFrame(const DataCorrelationSamples& samples, const QDateTime& now, bool complete)
{
    m_failedFile.clear();
    if (!complete) {
        // Five equal slices of a short reply do not fall on image boundaries: such a frame is
        // counted and shown as missing, never stored as if it were a frame.
        ++incomplete;
        ZTRACE() << "raw recording: incomplete frame not recorded," << incomplete << "so far";
        return true;
    }
    const qint64 second = now.toSecsSinceEpoch();
    if (second == lastSecond) {
        ++recordCounter;
    } else {
        recordCounter = 0;
        lastSecond = second;
    }
    const QString suffix = QStringLiteral("-%1").arg(recordCounter, 3, 10, QLatin1Char('0'));
    const QString name = safeName(settings->logFilename());
    recordPath = settings->logPath();
    baseName = name + timeStamp(now);
    recordName = baseName + suffix;
    const QString stem = recordPath + QLatin1Char('/') + recordName;
    QFile::remove(stem + QStringLiteral(".bin"));

    indexBase = settings->logPath() + QLatin1Char('/') + name;
    if (firstLogFlag || lastIndexBase != indexBase) {
        indexFile = settings->logPath() + QLatin1Char('/') + baseName + QStringLiteral(".idx");
        lastIndexBase = indexBase;
        firstLogFlag = false;
    }
    if (recordPath.isEmpty())
        return true;

    if (!logger->writeSettingsKeys(stem + QStringLiteral(".txt"))) {
        m_failedFile = logger->failedFile();
        return false;
    }
    for (int part = 0; part < kBlockCount; ++part) {
        if (!logger->writeSamples(samples.partData(part), stem + QStringLiteral(".bin"))) {
            m_failedFile = logger->failedFile();
            return false;
        }
    }
    // The frame is listed only once its files are complete.
    if (!Logger::writeLine(indexFile, recordName)) {
        m_failedFile = indexFile;
        return false;
    }
    ++recorded;
    return true;
}
