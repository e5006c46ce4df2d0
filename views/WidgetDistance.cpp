#include "views/WidgetDistance.h"

#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoDistance.h"
#include "measurement/InfoPixelScope.h"
#include "measurement/InfoPixelTimeScope.h"
#include "render/AxisLabeler.h"
#include "render/DistanceLabeler.h"
#include "render/EdgeFilter.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetDistance.h"

#include <algorithm>
#include <climits>

WidgetDistance::WidgetDistance(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getDistanceAndAmplitudeSorted(), parent)
    , ui(new Ui::WidgetDistance)
    , sample(new DataInformationSample(settings, this))
    , distanceLabeler(new DistanceLabeler(settings, this))
    , infoDistance(new InfoDistance)
    , pixelScope(new InfoPixelScope(settings, InfoPixelScope::Distance))
    , timeScope(new InfoPixelTimeScope)
{
    ui->setupUi(this);
    ui->lImageDistance->setChipType(settings->chipType());

    connect(settings, &Settings::paused, this, &WidgetDistance::disconnectSlots);
    connect(ui->lImageDistance, &ZelLabel::regionSelected, this, &WidgetDistance::select);
    connect(settings->roi(), &SettingsROI::emulationDisabled, this, &WidgetDistance::enableSelect);
    connect(ui->lImageDistance, &ZelLabel::checkTimeScope, this, &WidgetDistance::checkTimeScope);
    connect(ui->lImageDistance, &ZelLabel::selectMarker, this, &WidgetDistance::selectMarker);
    connect(ui->lImageDistance, &ZelLabel::mouseHover, this, &WidgetDistance::mouseHover,
            Qt::UniqueConnection);
}

WidgetDistance::~WidgetDistance()
{
    ZTRACE() << "----------WidgetDistance destroying";
    delete timeScope;
    delete pixelScope;
    delete infoDistance;
    delete ui;
    ZTRACE() << "----------WidgetDistance destroyed";
}

ZelLabel* WidgetDistance::imageLabel() const
{
    return ui->lImageDistance;
}

void WidgetDistance::startView()
{
    const auto unique = Qt::UniqueConnection;
    connect(picture, &ControllerPicture::pictureReady, sample, &DataInformationSample::updateData, unique);
    connect(sample, &DataInformationSample::finished, this, &WidgetDistance::updateGUI, unique);
    requestFrame();
}

void WidgetDistance::disconnectSlots()
{
    disconnect(picture, &ControllerPicture::pictureReady, sample, &DataInformationSample::updateData);
    disconnect(sample, &DataInformationSample::finished, this, &WidgetDistance::updateGUI);
}

void WidgetDistance::updateGUI()
{
    const Settings3D* s3d = settings->settings3D();
    int minimumCm = s3d->distanceMin();
    int maximumCm = s3d->distanceMax();
    // A range that was never configured (both 0 before a configuration is loaded) would paint
    // every pixel as out of range: show the whole unambiguous range instead.
    if (maximumCm <= minimumCm) {
        minimumCm = 0;
        maximumCm = distanceLabeler->updateRangeCm();
    }
    const int minimum = distanceLabeler->cmToLsb(minimumCm);
    const int maximum = distanceLabeler->cmToLsb(maximumCm);

    DataPixelfield& distance = *sample->distanceField(false);
    DataPixelfield& amplitude = *sample->amplitudeField(false);
    firstPostProcessor->replaceBadPixels(distance);
    firstPostProcessor->replaceBadPixels(amplitude);
    firstPostProcessor->median(distance);
    firstPostProcessor->gauss3x3(distance, settings->gaussFilter1(), settings->gaussFilterIterations1());
    secondPostProcessor->detectEdges(distance, amplitude);
    firstPostProcessor->mergeHdrRows(amplitude, &distance);

    QImage& image = imageCreator->createImage(distance, minimum, maximum, ZelImageCreator::ReversedRamp);
    if (settings->calibration()->pixelInterpolation())
        firstPostProcessor->paintBadPixels(image, distanceBadPixelColor());

    showLegend(ui->lImageLegendDistance, ZelImageCreator::ReversedRamp);
    updateLegendLabels(minimumCm, maximumCm);

    mirror(image, displayedImage);
    showPicture(ui->lImageDistance, displayedImage, markerSet, distanceMarkerColor());
    if (cornersChanged())
        setCorners(ui->lYDistanceTop, ui->lYDistanceBottom, ui->lXDistanceLeft, ui->lXDistanceRight);

    disconnectSlots();
    releaseLoop();
    if (settings->pixelInfoEnabled() || markerSet)
        updatePixelInfo();
    if (settings->pixelScopeEnabled())
        updatePixelScope();
    emit pictureUpdated();
}

void WidgetDistance::updateLegendLabels(int minimumCm, int maximumCm)
{
    if (minimumCm == legendMinimumCm && maximumCm == legendMaximumCm)
        return;
    legendMinimumCm = minimumCm;
    legendMaximumCm = maximumCm;
    ui->lLegendDistanceEnd->setText(QString::number(maximumCm / 100.0, 'g', 6) + QStringLiteral(" m"));
    ui->lLegendDistanceBegin->setText(QString::number(minimumCm / 100.0, 'g', 6) + QStringLiteral(" m"));
}

void WidgetDistance::mouseHover(int x, int y)
{
    mapHover(ui->lImageDistance, x, y);
    updatePixelInfo();
}

void WidgetDistance::updatePixelInfo()
{
    const QPoint shown = axisLabeler->toSensorUnclamped(hoverX, hoverY);
    infoDistance->setPixel(shown.x(), shown.y(), settings->showFrameRate());
    const QPoint p = axisLabeler->toSensor(hoverX, hoverY);
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

void WidgetDistance::updatePixelScope()
{
    const int x1 = pixelScope->topLeftX();
    const int x2 = pixelScope->bottomRightX();
    const int y1 = pixelScope->topLeftY();
    const int y2 = pixelScope->bottomRightY();
    const DataPixelfield& distance = *sample->distanceField(false);
    scopeValues.resize(0);
    int smallestPositive = INT_MAX;
    int largest = INT_MIN;
    qint64 sum = 0;
    for (int column = x1; column <= x2; ++column) {
        for (int row = y1; row <= y2; ++row) {
            const int mm =
                distance.contains(column, row) ? distanceLabeler->lsbToMm(distance.value(column, row)) : -1;
            scopeValues.append(mm);
            if (mm > 0)
                smallestPositive = std::min(smallestPositive, mm);
            largest = std::max(largest, mm);
            sum += mm;
        }
    }
    if (!pixelScope->isMovingWindowEnabled() && !scopeValues.isEmpty()) {
        const int minimum = pixelScope->getMinimum();
        const int maximum = pixelScope->getMaximum();
        // A minimum of 0 is the scope's reset state: the first frame sets it.
        const int overTimeMinimum = minimum > 0 ? std::min(minimum, smallestPositive) : smallestPositive;
        pixelScope->setMinimum(overTimeMinimum == INT_MAX ? 0 : overTimeMinimum);
        pixelScope->setMaximum(std::max(maximum, largest));
        pixelScope->setAverage(int(sum / scopeValues.size()));
    }
    pixelScope->setData(scopeValues);
}

void WidgetDistance::select(int x1, int x2, int y1, int y2)
{
    selectRegion(ui->lImageDistance, x1, x2, y1, y2);
}

void WidgetDistance::enableSelect(bool state)
{
    ui->lImageDistance->enableSelect(state);
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

void WidgetDistance::setPixelInfoVisible(bool visible)
{
    if (visible) {
        pixelInfoShown = true;
        infoDistance->show();
        connect(ui->lImageDistance, &ZelLabel::mouseHover, this, &WidgetDistance::mouseHover,
                Qt::UniqueConnection);
        connect(settings, &Settings::fieldsLocked, infoDistance, &InfoDistance::statisticsClear,
                Qt::UniqueConnection);
    } else {
        disconnect(settings, &Settings::fieldsLocked, infoDistance, &InfoDistance::statisticsClear);
        pixelInfoShown = false;
        infoDistance->close();
    }
}

void WidgetDistance::setPixelScopeVisible(bool visible)
{
    pixelScope->setShown(visible);
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
