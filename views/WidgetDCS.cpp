#include "views/WidgetDCS.h"

#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoDCS.h"
#include "render/AxisLabeler.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetDCS.h"

namespace {
constexpr int kSampleMaximum = 4095;
// The zero level of a sample; the pixel window shows each sample less it.
constexpr int kSampleZero = 2048;
} // namespace

WidgetDCS::WidgetDCS(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getDCSSorted(), parent)
    , ui(new Ui::WidgetDCS)
    , samples(new DataCorrelationSamples(settings, this))
    , infoDCS(new InfoDCS)
{
    ui->setupUi(this);
    labels = {ui->lImageDCS0, ui->lImageDCS1, ui->lImageDCS2, ui->lImageDCS3};
    corners[0] = {ui->lYDCS0Top, ui->lYDCS0Bottom, ui->lXDCS0Left, ui->lXDCS0Right};
    corners[1] = {ui->lYDCS1Top, ui->lYDCS1Bottom, ui->lXDCS1Left, ui->lXDCS1Right};
    corners[2] = {ui->lYDCS2Top, ui->lYDCS2Bottom, ui->lXDCS2Left, ui->lXDCS2Right};
    corners[3] = {ui->lYDCS3Top, ui->lYDCS3Bottom, ui->lXDCS3Left, ui->lXDCS3Right};
    for (ZelLabel* label : labels)
        label->setChipType(settings->chipType());
    connect(settings, &Settings::paused, this, &WidgetDCS::disconnectSlots);
}

WidgetDCS::~WidgetDCS()
{
    ZTRACE() << "----------WidgetDCS destroying";
    delete infoDCS;
    delete ui;
    ZTRACE() << "----------WidgetDCS destroyed";
}

void WidgetDCS::startView()
{
    const auto unique = Qt::UniqueConnection;
    connect(picture, &ControllerPicture::pictureReady, samples, &DataCorrelationSamples::updateData, unique);
    connect(samples, &DataCorrelationSamples::finished, this, &WidgetDCS::updateGUI, unique);
    requestFrame();
}

void WidgetDCS::disconnectSlots()
{
    disconnect(picture, &ControllerPicture::pictureReady, samples, &DataCorrelationSamples::updateData);
    disconnect(samples, &DataCorrelationSamples::finished, this, &WidgetDCS::updateGUI);
}

bool WidgetDCS::isPainted(int index) const
{
    const bool dual = settings->distanceCalculation()->dualMGX();
    const bool piDelay = settings->distanceCalculation()->piDelay();
    if (index == 0)
        return true;
    if (index == 1)
        return !(dual && !piDelay);
    return piDelay && !dual;
}

void WidgetDCS::updateGUI()
{
    const bool interpolation = settings->calibration()->pixelInterpolation();
    const bool marker = pixelInfoShown && markerSet;
    for (int i = 0; i < kPictureCount; ++i) {
        if (isPainted(i)) {
            DataPixelfield& part = *samples->partField(i);
            firstPostProcessor->replaceBadPixels(part);
            QImage& image = imageCreator->createImage(part, 0, kSampleMaximum, ZelImageCreator::Grayscale);
            if (interpolation)
                firstPostProcessor->paintBadPixels(image, viewBadPixelColor());
            mirror(image, displayedImages[size_t(i)]);
        } else {
            mirror(imageCreator->clearImage(), displayedImages[size_t(i)]);
        }
        showPicture(labels[size_t(i)], displayedImages[size_t(i)], marker, viewMarkerColor());
    }
    showLegend(ui->lImageLegendDCS, ZelImageCreator::Grayscale);
    if (cornersChanged()) {
        for (const auto& group : corners)
            setCorners(group[0], group[1], group[2], group[3]);
    }

    disconnectSlots();
    releaseLoop();
    if (pixelInfoShown)
        updatePixelInfo();
    emit pictureUpdated();
}

void WidgetDCS::mouseHover(int x, int y)
{
    mapHover(labels[0], x, y);
    updatePixelInfo();
}

void WidgetDCS::updatePixelInfo()
{
    const QPoint shown = axisLabeler->toSensorUnclamped(hoverX, hoverY);
    infoDCS->setPixel(shown.x(), shown.y());
    const QPoint p = axisLabeler->toSensor(hoverX, hoverY);
    infoDCS->setDCS0(valueAt(*samples->partField(0), p) - kSampleZero);
    infoDCS->setDCS1(valueAt(*samples->partField(1), p) - kSampleZero);
    infoDCS->setDCS2(valueAt(*samples->partField(2), p) - kSampleZero);
    infoDCS->setDCS3(valueAt(*samples->partField(3), p) - kSampleZero);
}

void WidgetDCS::selectMarker(bool state)
{
    setMarker(state);
}

void WidgetDCS::setPixelInfoVisible(bool visible)
{
    pixelInfoShown = visible;
    for (ZelLabel* label : labels) {
        if (visible) {
            connect(label, &ZelLabel::mouseHover, this, &WidgetDCS::mouseHover, Qt::UniqueConnection);
            connect(label, &ZelLabel::selectMarker, this, &WidgetDCS::selectMarker, Qt::UniqueConnection);
        } else {
            disconnect(label, &ZelLabel::mouseHover, this, &WidgetDCS::mouseHover);
            disconnect(label, &ZelLabel::selectMarker, this, &WidgetDCS::selectMarker);
        }
    }
    if (visible)
        infoDCS->show();
    else
        infoDCS->close();
}
