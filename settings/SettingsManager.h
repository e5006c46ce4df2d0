#pragma once

#include <QObject>
#include <QString>

class QXmlStreamReader;
class QXmlStreamWriter;
class Settings;

namespace SettingsXml {
struct Element;
}

// Writes the configuration files and applies them to the settings hub. Applying re-announces
// every value twice (first a different value, then the file's), so that every bound control
// changes and its setting controller sends the value to the camera.
//
// A file is never trusted: values that would break what the rest of the client relies on
// (an ROI inside the sensor, indices inside their lists, filter sizes, time-outs that fit
// their types) are brought into range and traced; see ConfigBounds.
class SettingsManager final : public QObject
{
    Q_OBJECT

public:
    // Larger files are refused: a configuration is a few kilobytes.
    static constexpr qint64 maxFileSize = 1024 * 1024;

    explicit SettingsManager(Settings* settings, QObject* parent = nullptr);
    ~SettingsManager() override;

    // Writes through a temporary file that replaces the old one only when complete. False
    // (and traced) when the file could not be written; the old file is then left as it was.
    bool saveConfig(const QString& filename);
    // Reads and applies a file. False when it could not be read or its root is not "config"
    // (nothing applied); a file that breaks off mid-way applies what came before the error
    // and is also reported as false.
    bool loadConfig(const QString& filename);

private:
    struct LoadState;

    void writeElement(QXmlStreamWriter& writer, const SettingsXml::Element& element) const;
    void applyElement(QXmlStreamReader& reader, const SettingsXml::Element& element, LoadState& state);
    void applyState(const SettingsXml::Element& element, bool value);
    void applyNumber(const SettingsXml::Element& element, double number, LoadState& state);
    void applyText(const SettingsXml::Element& element, const QString& text);
    void loadPixelInterpolation(bool state);
    void finishRoi(LoadState& state);
    void applyPostLoadRules(bool defaultFile);
    void applyCorrectionLock();

    bool isFlimChip() const;
    bool hasLargeSensorRoi() const;

    Settings* settings;
};
