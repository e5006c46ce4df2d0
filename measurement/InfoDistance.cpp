#include "measurement/InfoDistance.h"

#include "app/Trace.h"

#include <QGridLayout>
#include <QLabel>

InfoDistance::InfoDistance(QWidget* parent)
    : QWidget(parent), distance(StatisticsColumn::Unit::Centimetres), amplitude(StatisticsColumn::Unit::Lsb)
{
    QGridLayout* grid = InfoWindowStyle::setUp(this, QStringLiteral("Distance Information"), 3);
    header = findChild<QLabel*>(QStringLiteral("lHeader"));
    InfoWindowStyle::addRowTitles(this, grid, true);
    auto* distanceTitle = new QLabel(QStringLiteral("Distance:"), this);
    distanceTitle->setObjectName(QStringLiteral("label"));
    auto* amplitudeTitle = new QLabel(QStringLiteral("Amplitude:"), this);
    amplitudeTitle->setObjectName(QStringLiteral("label_2"));
    grid->addWidget(distanceTitle, InfoWindowStyle::ColumnTitleRow, 1, Qt::AlignRight);
    grid->addWidget(amplitudeTitle, InfoWindowStyle::ColumnTitleRow, 2, Qt::AlignRight);
    distance.setLabels(InfoWindowStyle::addStatisticsColumn(this, grid, 1, QStringLiteral("lDistance")));
    amplitude.setLabels(InfoWindowStyle::addStatisticsColumn(this, grid, 2, QStringLiteral("lAmplitude")));
    const int row = InfoWindowStyle::FooterRow;
    InfoWindowStyle::addLine(this, grid, row, 3, QStringLiteral("Statistics over 100 samples"),
                             QStringLiteral("lStatistics"));
    InfoWindowStyle::addHints(this, grid, row + 1, 3,
                              QStringLiteral("Set position:   Press Ctrl+left mouse button"),
                              QStringLiteral("Delete:            Press left mouse button"));
    speed = InfoWindowStyle::addLine(this, grid, row + 3, 3, QStringLiteral("Frame rate:"),
                                     QStringLiteral("lSpeed"));
    speed->hide();
    frameTimer.start();
}

InfoDistance::~InfoDistance()
{
    ZTRACE() << "-----InfoDistance destroying";
    ZTRACE() << "-----InfoDistance destroyed";
}

void InfoDistance::setPixel(int x, int y, bool showRate)
{
    header->setText(InfoWindowStyle::headerText(x, y));
    if (x != lastX || y != lastY)
        statisticsClear(true);
    lastX = x;
    lastY = y;
    if (!showRate) {
        speed->hide();
        return;
    }
    speed->show();
    showFrameRate();
}

void InfoDistance::showFrameRate()
{
    // Two updates within the same millisecond (a frame and a mouse movement) give no rate:
    // the timer keeps running, so the next update shows the rate over both.
    const qint64 elapsed = frameTimer.elapsed();
    if (elapsed <= 0)
        return;
    speed->setText(QString::asprintf("Frame rate: %2.2f", 1000.0 / double(elapsed)));
    frameTimer.restart();
}

void InfoDistance::setDistance(int distanceMm)
{
    // Unsigned, so that -1 fails too.
    if (unsigned(distanceMm) >= 300010u)
        distance.showNotAvailable();
    else
        distance.show(distanceMm);
}

void InfoDistance::setAmplitude(int value, int maximumAmplitude)
{
    if (value < 0 || value > maximumAmplitude)
        amplitude.showNotAvailable();
    else
        amplitude.show(value);
}

void InfoDistance::statisticsClear(bool)
{
    distance.clear();
    amplitude.clear();
}
