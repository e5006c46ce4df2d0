#include "views/WidgetDifDCS.h"

#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoDifDCS.h"
#include "render/AxisLabeler.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetDifDCS.h"

#include <QEvent>

namespace {
constexpr int kDifferenceMaximum = 8191;
} // namespace

WidgetDifDCS::WidgetDifDCS(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getDCSSorted(), parent)
    , ui(new Ui::WidgetDifDCS)
    , samples(new DataCorrelationSamples(settings, this))
    , infoDifDCS(new InfoDifDCS)
{
    ui->setupUi(this);
    labels = {ui->lImageDifDCS0, ui->lImageDifDCS1};
    corners[0] = {ui->lYDifDCS0Top, ui->lYDifDCS0Bottom, ui->lXDifDCS0Left, ui->lXDifDCS0Right};
    corners[1] = {ui->lYDifDCS1Top, ui->lYDifDCS1Bottom, ui->lXDifDCS1Left, ui->lXDifDCS1Right};
    for (ZelLabel* label : labels) {
        label->setChipType(settings->chipType());
        // The pixmaps are fitted to the label width here, keeping the aspect ratio.
        label->setScaledContents(false);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->installEventFilter(this);
    }
    connect(settings, &Settings::paused, this, &WidgetDifDCS::disconnectSlots);
}

WidgetDifDCS::~WidgetDifDCS()
{
    ZTRACE() << "----------WidgetDifDCS destroying";
    delete infoDifDCS;
    delete ui;
    ZTRACE() << "----------WidgetDifDCS destroyed";
}

void WidgetDifDCS::startView()
{
    const auto unique = Qt::UniqueConnection;
    connect(picture, &ControllerPicture::pictureReady, samples, &DataCorrelationSamples::updateData, unique);
    connect(samples, &DataCorrelationSamples::finished, samples, &DataCorrelationSamples::calculateDifference,
            unique);
    connect(samples, &DataCorrelationSamples::calculatedDifference, this, &WidgetDifDCS::updateGUI, unique);
    requestFrame();
}

void WidgetDifDCS::disconnectSlots()
{
    disconnect(picture, &ControllerPicture::pictureReady, samples, &DataCorrelationSamples::updateData);
    disconnect(samples, &DataCorrelationSamples::finished, samples,
               &DataCorrelationSamples::calculateDifference);
    disconnect(samples, &DataCorrelationSamples::calculatedDifference, this, &WidgetDifDCS::updateGUI);
}

bool WidgetDifDCS::hasFourSamples() const
{
    return settings->distanceCalculation()->piDelay() && !settings->distanceCalculation()->dualMGX();
}

void WidgetDifDCS::updateGUI()
{
    const DataPixelfield& first = *samples->partField(0);
    // The difference arrays have the decoder's size; the picture must have the same.
    const bool fits =
        imageCreator->image().width() == first.width() && imageCreator->image().height() == first.height();
    const bool paint = hasFourSamples() && fits;
    const bool marker = pixelInfoShown && markerSet;
    for (int i = 0; i < kPictureCount; ++i) {
        if (paint) {
            int** difference = samples->differenceData(i == 1);
            firstPostProcessor->replaceBadPixels(difference, first.width(), first.height());
            QImage& image =
                imageCreator->createImage(difference, 0, kDifferenceMaximum, ZelImageCreator::Grayscale);
            if (settings->calibration()->pixelInterpolation())
                firstPostProcessor->paintBadPixels(image, viewBadPixelColor());
            mirror(image, displayedImages[size_t(i)]);
        } else {
            mirror(imageCreator->clearImage(), displayedImages[size_t(i)]);
        }
        showPicture(labels[size_t(i)], displayedImages[size_t(i)], marker, viewMarkerColor(), true);
    }
    showLegend(ui->lImageLegendDifDCS, ZelImageCreator::Grayscale);
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

bool WidgetDifDCS::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        for (int i = 0; i < kPictureCount; ++i) {
            if (watched == labels[size_t(i)] && !displayedImages[size_t(i)].isNull())
                showPicture(labels[size_t(i)], displayedImages[size_t(i)], pixelInfoShown && markerSet,
                            viewMarkerColor(), true);
        }
    }
    return ImageViewBase::eventFilter(watched, event);
}

void WidgetDifDCS::mouseHover(int x, int y)
{
    // The pixmap is fitted to the label width: map through the shown picture's size.
    const ZelLabel* label = labels[0];
    const QPixmap shown = label->pixmap(Qt::ReturnByValue);
    const int width = shown.isNull() ? label->width() : shown.width();
    const int height = shown.isNull() ? label->height() : shown.height();
    hoverX = std::min(x * sensorWidth() / std::max(1, width), sensorWidth() - 1);
    hoverY = std::min(y * sensorHeight() / std::max(1, height), sensorHeight() - 1);
    updatePixelInfo();
}

void WidgetDifDCS::updatePixelInfo()
{
    const QPoint shown = axisLabeler->toSensorUnclamped(hoverX, hoverY);
    infoDifDCS->setPixel(shown.x(), shown.y());
    const QPoint p = axisLabeler->toSensor(hoverX, hoverY);
    // The differences have the size of the sample fields.
    if (!samples->partField(0)->contains(p.x(), p.y()))
        return;
    infoDifDCS->setDifDCS0(samples->differenceValue(false, p.x(), p.y()) -
                           DataCorrelationSamples::kDifferenceZero);
    infoDifDCS->setDifDCS1(samples->differenceValue(true, p.x(), p.y()) -
                           DataCorrelationSamples::kDifferenceZero);
}

void WidgetDifDCS::selectMarker(bool state)
{
    setMarker(state);
}

void WidgetDifDCS::setPixelInfoVisible(bool visible)
{
    pixelInfoShown = visible;
    for (ZelLabel* label : labels) {
        if (visible) {
            connect(label, &ZelLabel::mouseHover, this, &WidgetDifDCS::mouseHover, Qt::UniqueConnection);
            connect(label, &ZelLabel::selectMarker, this, &WidgetDifDCS::selectMarker, Qt::UniqueConnection);
        } else {
            disconnect(label, &ZelLabel::mouseHover, this, &WidgetDifDCS::mouseHover);
            disconnect(label, &ZelLabel::selectMarker, this, &WidgetDifDCS::selectMarker);
        }
    }
    if (visible)
        infoDifDCS->show();
    else
        infoDifDCS->close();
}
