#pragma once

#include <QObject>
#include <QPoint>
#include <QString>

class Settings;

// The corner numbers printed beside an image, and the conversion between positions on the
// displayed (possibly mirrored) image and sensor coordinates. The conversion is its own
// inverse, so it also maps a sensor pixel to where it is shown.
class AxisLabeler final : public QObject
{
    Q_OBJECT

public:
    explicit AxisLabeler(const Settings* settings, QObject* parent = nullptr);
    ~AxisLabeler() override;

    QString topLabel() const;
    QString bottomLabel() const;
    QString leftLabel() const;
    QString rightLabel() const;

    QPoint toSensor(int x, int y) const;
    QPoint toSensorUnclamped(int x, int y) const;

private:
    int lastColumn() const;
    int lastRow() const;

    const Settings* m_settings;
};
