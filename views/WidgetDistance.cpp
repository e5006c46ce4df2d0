#include "views/WidgetDistance.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoDistance.h"
#include "measurement/InfoPixelScope.h"
#include "measurement/InfoPixelTimeScope.h"
#include "render/DistanceLabeler.h"
#include "render/EdgeFilter.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetDistance.h"

WidgetDistance::WidgetDistance(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getDistanceAndAmplitudeSorted(), parent)
    , ui(new Ui::WidgetDistance)
    , sample(new DataInformationSample(settings, this))
    , distanceLabeler(new DistanceLabeler(settings, this))
    , infoDistance(new InfoDistance)
    , timeScope(new InfoPixelTimeScope)
{
    ui->setupUi(this);
    addPicture(ui->lImageDistance, ui->lYDistanceTop, ui->lYDistanceBottom, ui->lXDistanceLeft,
               ui->lXDistanceRight);
    enableRegionSelection();
    connect(ui->lImageDistance, &ZelLabel::checkTimeScope, this, &WidgetDistance::checkTimeScope);
    followPixelAlways();
    setMarkerRule(MarkerRule::Always, distanceMarkerColor());
    setPixelWindow(infoDistance, [this](bool state) { infoDistance->statisticsClear(state); });
    // The scope shows the filtered distances in millimetres.
    setPixelScope(new InfoPixelScope(settings, InfoPixelScope::Distance), sample->distanceField(false),
                  [this](int lsb) { return distanceLabeler->lsbToMm(lsb); });
}

WidgetDistance::~WidgetDistance()
{
    ZTRACE() << "----------WidgetDistance destroying";
    delete timeScope;
    deleteWindows();
    delete ui;
    ZTRACE() << "----------WidgetDistance destroyed";
}

void WidgetDistance::connectDecoder()
{
    armDecoder(sample);
}

bool WidgetDistance::pixelInfoDue() const
{
    return settings->pixelInfoEnabled() || markerSet;
}

void WidgetDistance::paintFrame()
{
    const DistanceRange range = distanceRange(*distanceLabeler);
    const int minimum = distanceLabeler->cmToLsb(range.minimumCm);
    const int maximum = distanceLabeler->cmToLsb(range.maximumCm);

    DataPixelfield& distance = *sample->distanceField(false);
    DataPixelfield& amplitude = *sample->amplitudeField(false);
    firstPostProcessor->replaceBadPixels(distance);
    firstPostProcessor->replaceBadPixels(amplitude);
    firstPostProcessor->median(distance);
    firstPostProcessor->gauss3x3(distance, settings->gaussFilter1(), settings->gaussFilterIterations1());
    secondPostProcessor->detectEdges(distance, amplitude);
    firstPostProcessor->mergeHdrRows(amplitude, &distance);

    showField(0, distance, minimum, maximum, ZelImageCreator::ReversedRamp, distanceBadPixelColor());
    showLegend(ui->lImageLegendDistance, ZelImageCreator::ReversedRamp);
    showDistanceLegendLabels(ui->lLegendDistanceEnd, ui->lLegendDistanceBegin, range);
}

void WidgetDistance::updatePixelInfo()
{
    infoDistance->setPixel(shownPixel().x(), shownPixel().y(), settings->showFrameRate());
    const QPoint p = hoveredPixel();
    const int mm = distanceLabeler->lsbToMm(valueAt(*sample->distanceField(false), p));
    infoDistance->setDistance(mm);
    infoDistance->setAmplitude(valueAt(*sample->amplitudeField(false), p),
                               settings->distanceCalculation()->maxAmplitude());
    // The time scope collects points only while it is open; opening it starts a new series.
    if (timeScope->isVisible()) {
        timeScope->addPoint(timeScopeCount, mm / 1000.0);
        ++timeScopeCount;
        timeScope->redraw();
    }
}

void WidgetDistance::selectMarker(bool state)
{
    if (state) {
        emit markerSelected(true);
        settings->setPixelInfoEnabled(true);
        setPixelInfoVisible(true);
    }
    setMarker(state);
}

void WidgetDistance::checkTimeScope(bool state)
{
    emit timeScopeChecked(state);
}

void WidgetDistance::setTimeScopeVisible(bool visible)
{
    if (visible) {
        timeScope->show();
        timeScope->clearPoints();
        timeScopeCount = 0;
    } else {
        timeScope->hide();
    }
}
