#include "measurement/InfoDistance.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"

#include <QGridLayout>
#include <QLabel>

InfoDistance::InfoDistance(QWidget* parent) : QWidget(parent)
{
    QGridLayout* grid = InfoWindowStyle::setUp(this, QStringLiteral("Distance Information"));
    header = findChild<QLabel*>(QStringLiteral("lHeader"));
    distance =
        InfoWindowStyle::addRow(this, grid, 1, QStringLiteral("Distance:"), QStringLiteral("lDistance"));
    amplitude =
        InfoWindowStyle::addRow(this, grid, 2, QStringLiteral("Amplitude:"), QStringLiteral("lAmplitude"));
    speed = new QLabel(QStringLiteral("Frame rate:"), this);
    speed->setObjectName(QStringLiteral("lSpeed"));
    speed->hide();
    grid->addWidget(speed, 3, 0, 1, 2);
    frameTimer.start();
}

InfoDistance::~InfoDistance()
{
    ZTRACE() << "-----InfoDistance destroying";
    ZTRACE() << "-----InfoDistance destroyed";
}

void InfoDistance::setPixel(int x, int y, bool showFrameRate)
{
    header->setText(InfoWindowStyle::headerText(x, y));
    lastX = x;
    lastY = y;
    if (!showFrameRate) {
        speed->hide();
        return;
    }
    speed->show();
    const qint64 elapsed = frameTimer.elapsed();
    speed->setText(QString::asprintf("Frame rate: %2.2f", elapsed > 0 ? 1000.0 / double(elapsed) : 0.0));
    frameTimer.restart();
}

void InfoDistance::setDistance(int distanceMm)
{
    // Unsigned, so that -1 fails too.
    if (unsigned(distanceMm) >= 300010u) {
        distance->setText(InfoWindowStyle::notAvailable());
        return;
    }
    distance->setText(QString::number(distanceMm / 10.0, 'g', 6) + QStringLiteral(" cm"));
}

void InfoDistance::setAmplitude(int value, int maximumAmplitude)
{
    if (value < 0 || value > maximumAmplitude) {
        amplitude->setText(InfoWindowStyle::notAvailable());
        return;
    }
    amplitude->setText(QString::number(value) + QStringLiteral(" LSB"));
}

void InfoDistance::statisticsClear(bool)
{
    // The running statistics come with the full window; the current values stay shown.
}
