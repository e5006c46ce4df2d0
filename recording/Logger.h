#pragma once

#include <QByteArray>
#include <QObject>
#include <QString>

class Settings;

// Writes every file of a recording: the settings report of a logging run, the settings key
// file of a raw frame, value and distance tables (CSV), big-endian sample blocks and single
// lines. Each call opens its file in append mode, writes one block and closes it again, so
// nothing is buffered across pictures. Pixel fields are column-pointer arrays ([column][row],
// sensor coordinates); only the current ROI is visited, read from the settings at the moment
// of writing.
//
// A call reports whether the file was written completely; after a failure failedFile() names
// the file, so that the recording can stop instead of leaving a gap in its data.
class Logger final : public QObject
{
    Q_OBJECT

public:
    explicit Logger(const Settings* settings, QObject* parent = nullptr);
    ~Logger() override;

    bool writeSettingsReport(int numberOfPictures, const QString& unit, const QString& fileName);
    bool writeSettingsKeys(const QString& fileName);
    // Values outside minimum..maximum are written as "NaN"; with addMinimum the minimum is
    // added to every value first (fields stored with an offset).
    bool writeValueTable(const int* const* field, const QString& fileName, int minimum, int maximum,
                         bool addMinimum);
    // Values in millimetres of the current modulation frequency; the status codes pass unchanged.
    bool writeDistanceTable(const int* const* field, const QString& fileName, int minimum, int maximum);
    // The low 16 bits of every value as a signed big-endian number.
    bool writeSamples(const int* const* field, const QString& fileName);
    // The text and a line feed. Sets no failedFile(): the caller names the file itself.
    static bool writeLine(const QString& fileName, const QString& text);

    // Appends `data` and closes the file; false when the file could not be opened or not all
    // bytes reached it.
    static bool appendToFile(const QString& fileName, const QByteArray& data);

    // The file of the last failed call (empty while every call succeeded).
    QString failedFile() const { return m_failedFile; }

    // The texts of the report and of the key file, as they are written.
    QByteArray settingsReport(int numberOfPictures, const QString& unit) const;
    QByteArray settingsKeys() const;
    QByteArray valueTable(const int* const* field, int minimum, int maximum, bool addMinimum) const;
    QByteArray distanceTable(const int* const* field, int minimum, int maximum) const;
    QByteArray samples(const int* const* field) const;

private:
    bool append(const QString& fileName, const QByteArray& data);

    const Settings* m_settings;
    QString m_failedFile;
};
