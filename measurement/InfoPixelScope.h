#pragma once

#include <QVector>
#include <QWidget>

class QLabel;
class Settings;

// The pixel scope of a view: the values of a small rectangle of pixels, frame by frame, with
// the minimum, maximum and average the view hands over. The view reads the rectangle from
// the scope, collects the values of every frame (column by column, each column top to
// bottom) and hands them over; the scope never reads frames.
//
// This window shows the figures of the last frame; the plot comes with the full scope.
class InfoPixelScope final : public QWidget
{
    Q_OBJECT

public:
    // Scope types: signal level (grayscale and FLIM views), distance (mm), amplitude (LSB).
    enum ScopeType
    {
        SignalLevel = 0,
        Distance = 1,
        Amplitude = 2
    };

    InfoPixelScope(Settings* settings, int scopeType, QWidget* parent = nullptr);
    ~InfoPixelScope() override;

    int scopeType() const { return type; }

    // Takes the rectangle kept in the settings, cut to the sensor.
    void loadRegion();
    void connectSignals();
    void disconnectSignals();
    // Opens the scope on the rectangle kept in the settings, or closes it.
    void setShown(bool shown);
    // Resets average, minimum and maximum.
    void reset();

    int topLeftX() const { return x1; }
    int topLeftY() const { return y1; }
    int bottomRightX() const { return x2; }
    int bottomRightY() const { return y2; }
    unsigned pixelCount() const;
    bool isMovingWindowEnabled() const { return false; }

    int getMinimum() const { return minimum; }
    int getMaximum() const { return maximum; }
    int average() const { return averageValue; }
    int average1() const { return averageValue1; }
    void setMinimum(int value);
    void setMaximum(int value);
    void setAverage(int value);
    void setAverage1(int value);
    // One frame: at least pixelCount() values.
    void setData(const QVector<int>& values);
    void setData(const QVector<int>& mga, const QVector<int>& mgb);

    int frameCount() const { return frames; }
    const QVector<int>& lastValues() const { return values; }

private:
    void showFigures();
    static void copyInto(const QVector<int>& from, QVector<int>& to);

    Settings* settings;
    int type;
    int x1 = 0;
    int x2 = 0;
    int y1 = 0;
    int y2 = 0;
    int minimum = 0;
    int maximum = 0;
    int averageValue = 0;
    int averageValue1 = 0;
    int frames = 0;
    QVector<int> values;
    QVector<int> values1;
    QLabel* figures;
};
