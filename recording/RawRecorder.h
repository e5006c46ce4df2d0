#pragma once

#include <QDateTime>
#include <QString>

class DataCorrelationSamples;
class Logger;
class Settings;

// The frame-by-frame raw recording of the DCS + grayscale view: per frame one binary file of
// the five sample blocks and one settings key file, named after the log file name, the
// frame's second and its counter within that second, plus one index file per recording run
// that lists the frames in recording order.
//
// A frame is either recorded completely or reported: a frame whose reply was incomplete is
// not written (its blocks would not fall on image boundaries) but counted, and a file that
// cannot be written makes recordFrame() return false with failedFile() naming it.
class RawRecorder final
{
public:
    RawRecorder(const Settings* settings, Logger* logger);

    // A new recording run: the next frame opens a new index file.
    void startRun() { firstLogFlag = true; }
    // Records the frame just decoded into `samples`, taking its name from `now`.
    bool recordFrame(const DataCorrelationSamples& samples, const QDateTime& now, bool complete);

    // The name of the last recorded frame (no extension) and the index file of the run.
    QString lastRecordName() const { return recordName; }
    QString indexFileName() const { return indexFile; }
    QString failedFile() const { return m_failedFile; }
    int recordedFrames() const { return recorded; }
    int incompleteFrames() const { return incomplete; }

    // The part of a frame name that follows the log file name: "_yyyyMMdd-hhmmss".
    static QString timeStamp(const QDateTime& now);

private:
    const Settings* settings;
    Logger* logger;

    bool firstLogFlag = true;
    // Seconds since the epoch of the last recorded frame: frames of one second are counted.
    qint64 lastSecond = -1;
    int recordCounter = 0;
    QString recordPath;
    QString baseName;
    QString recordName;
    QString indexFile;
    QString indexBase;
    QString lastIndexBase;
    QString m_failedFile;
    int recorded = 0;
    int incomplete = 0;
};
