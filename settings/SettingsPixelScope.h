#pragma once

#include <QObject>

// The pixel rectangle of the pixel scope (inclusive sensor coordinates), kept between
// openings of the window.
class SettingsPixelScope final : public QObject
{
    Q_OBJECT

public:
    explicit SettingsPixelScope(QObject* parent = nullptr);
    ~SettingsPixelScope() override;

    int x1() const { return m_x1; }
    int x2() const { return m_x2; }
    int y1() const { return m_y1; }
    int y2() const { return m_y2; }

    void setX1(int x1) { m_x1 = x1; }
    void setX2(int x2) { m_x2 = x2; }
    void setY1(int y1) { m_y1 = y1; }
    void setY2(int y2) { m_y2 = y2; }

private:
    // Configuration loading and chip identification overwrite these before a scope is shown.
    // Until then: the centre row of the default small-sensor ROI, a rectangle that lies
    // inside every sensor's array and default ROI, so a scope opened early still reads
    // valid pixels.
    int m_x1 = 4;
    int m_x2 = 163;
    int m_y1 = 35;
    int m_y2 = 35;
};
