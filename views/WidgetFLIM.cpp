#include "views/WidgetFLIM.h"

#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoFLIM.h"
#include "measurement/InfoPixelScope.h"
#include "render/AxisLabeler.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetFLIM.h"

#include <algorithm>

namespace {
constexpr int kGateMaximum = 2047;
} // namespace

WidgetFLIM::WidgetFLIM(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getDCSSorted(), parent)
    , ui(new Ui::WidgetFLIM)
    , samples(new DataCorrelationSamples(settings, this))
    , infoFLIM(new InfoFLIM)
    , pixelScope(new InfoPixelScope(settings, InfoPixelScope::SignalLevel))
{
    ui->setupUi(this);
    labels = {ui->lImageMga, ui->lImageMgb};
    corners[0] = {ui->lYMgaTop, ui->lYMgaBottom, ui->lXMgaLeft, ui->lXMgaRight};
    corners[1] = {ui->lYMgbTop, ui->lYMgbBottom, ui->lXMgbLeft, ui->lXMgbRight};
    for (ZelLabel* label : labels)
        label->setChipType(settings->chipType());
    connect(settings, &Settings::paused, this, &WidgetFLIM::disconnectSlots);
}

WidgetFLIM::~WidgetFLIM()
{
    ZTRACE() << "----------WidgetFLIM destroying";
    delete pixelScope;
    delete infoFLIM;
    delete ui;
    ZTRACE() << "----------WidgetFLIM destroyed";
}

void WidgetFLIM::startView()
{
    const auto unique = Qt::UniqueConnection;
    connect(picture, &ControllerPicture::pictureReady, samples, &DataCorrelationSamples::updateData, unique);
    connect(samples, &DataCorrelationSamples::finished, this, &WidgetFLIM::updateGUI, unique);
    requestFrame();
}

void WidgetFLIM::disconnectSlots()
{
    disconnect(picture, &ControllerPicture::pictureReady, samples, &DataCorrelationSamples::updateData);
    disconnect(samples, &DataCorrelationSamples::finished, this, &WidgetFLIM::updateGUI);
}

void WidgetFLIM::updateGUI()
{
    const bool interpolation = settings->calibration()->pixelInterpolation();
    for (int i = 0; i < kPictureCount; ++i) {
        DataPixelfield& gate = *samples->partField(i);
        firstPostProcessor->replaceBadPixels(gate);
        QImage& image = imageCreator->createImage(gate, 0, kGateMaximum, ZelImageCreator::Grayscale);
        if (interpolation)
            firstPostProcessor->paintBadPixels(image, viewBadPixelColor());
        mirror(image, displayedImages[size_t(i)]);
        showPicture(labels[size_t(i)], displayedImages[size_t(i)], false, viewMarkerColor());
    }
    showLegend(ui->lImageLegendFLIM, ZelImageCreator::Grayscale);
    if (cornersChanged()) {
        for (const auto& group : corners)
            setCorners(group[0], group[1], group[2], group[3]);
    }

    disconnectSlots();
    releaseLoop();
    if (pixelInfoShown)
        updatePixelInfo();
    if (settings->pixelScopeEnabled())
        updatePixelScope();
    emit pictureUpdated();
}

void WidgetFLIM::mouseHover(int x, int y)
{
    mapHover(labels[0], x, y);
    updatePixelInfo();
}

void WidgetFLIM::updatePixelInfo()
{
    const QPoint shown = axisLabeler->toSensorUnclamped(hoverX, hoverY);
    infoFLIM->setPixel(shown.x(), shown.y());
    const QPoint p = axisLabeler->toSensor(hoverX, hoverY);
    infoFLIM->setMga(valueAt(*samples->partField(0), p));
    infoFLIM->setMgb(valueAt(*samples->partField(1), p));
}

void WidgetFLIM::updatePixelScope()
{
    const DataPixelfield& mga = *samples->partField(0);
    const DataPixelfield& mgb = *samples->partField(1);
    int minimum = pixelScope->getMinimum();
    int maximum = pixelScope->getMaximum();
    qint64 mgaSum = 0;
    qint64 mgbSum = 0;
    int mgaCount = 0;
    int mgbCount = 0;
    mgaValues.resize(0);
    mgbValues.resize(0);
    for (int column = pixelScope->topLeftX(); column <= pixelScope->bottomRightX(); ++column) {
        for (int row = pixelScope->topLeftY(); row <= pixelScope->bottomRightY(); ++row) {
            const bool inside = mga.contains(column, row);
            const int a = inside ? mga.value(column, row) : DataPixelfield::kNoData;
            const int b = inside ? mgb.value(column, row) : DataPixelfield::kNoData;
            mgaValues.append(a);
            mgbValues.append(b);
            minimum = std::min({minimum, a, b});
            maximum = std::max({maximum, a, b});
            if (a < DataPixelfield::kLowAmplitude) {
                mgaSum += a;
                ++mgaCount;
            }
            if (b < DataPixelfield::kLowAmplitude) {
                mgbSum += b;
                ++mgbCount;
            }
        }
    }
    pixelScope->setData(mgaValues, mgbValues);
    if (mgaCount != 0)
        pixelScope->setAverage(int(mgaSum / mgaCount));
    if (mgbCount != 0)
        pixelScope->setAverage1(int(mgbSum / mgbCount));
    pixelScope->setMinimum(minimum);
    pixelScope->setMaximum(maximum);
}

void WidgetFLIM::selectMarker(bool state)
{
    // No marker cross on the gate images: the marker only freezes the readout.
    markerSet = state;
}

void WidgetFLIM::setPixelInfoVisible(bool visible)
{
    pixelInfoShown = visible;
    for (ZelLabel* label : labels) {
        if (visible) {
            connect(label, &ZelLabel::mouseHover, this, &WidgetFLIM::mouseHover, Qt::UniqueConnection);
            connect(label, &ZelLabel::selectMarker, this, &WidgetFLIM::selectMarker, Qt::UniqueConnection);
        } else {
            disconnect(label, &ZelLabel::mouseHover, this, &WidgetFLIM::mouseHover);
            disconnect(label, &ZelLabel::selectMarker, this, &WidgetFLIM::selectMarker);
        }
    }
    if (visible)
        infoFLIM->show();
    else
        infoFLIM->close();
}

void WidgetFLIM::setPixelScopeVisible(bool visible)
{
    pixelScope->setShown(visible);
}
