#pragma once

#include <QWidget>

class QLabel;

// The amplitude view's pixel window: the amplitude of one pixel.
class InfoAmplitude final : public QWidget
{
    Q_OBJECT

public:
    explicit InfoAmplitude(QWidget* parent = nullptr);
    ~InfoAmplitude() override;

    void setPixel(int x, int y);
    // Shown from 0 to the current maximum amplitude, else "N/A".
    void setAmplitude(int amplitude, int maximumAmplitude);
    int lastPixelX() const { return lastX; }
    int lastPixelY() const { return lastY; }
public slots:
    void statisticsClear(bool state);

private:
    QLabel* header;
    QLabel* amplitude;
    int lastX = 0;
    int lastY = 0;
};
