#include "views/WidgetDifDCS.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoDifDCS.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetDifDCS.h"

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
    const bool fitWidth = true;
    addPicture(ui->lImageDifDCS0, ui->lYDifDCS0Top, ui->lYDifDCS0Bottom, ui->lXDifDCS0Left,
               ui->lXDifDCS0Right, fitWidth);
    addPicture(ui->lImageDifDCS1, ui->lYDifDCS1Top, ui->lYDifDCS1Bottom, ui->lXDifDCS1Left,
               ui->lXDifDCS1Right, fitWidth);
    setPixelWindow(infoDifDCS);
}

WidgetDifDCS::~WidgetDifDCS()
{
    ZTRACE() << "----------WidgetDifDCS destroying";
    deleteWindows();
    delete ui;
    ZTRACE() << "----------WidgetDifDCS destroyed";
}

void WidgetDifDCS::connectDecoder()
{
    // The difference step runs between the decoder and the painting.
    arm(connect(picture, &ControllerPicture::pictureReady, samples, &DataCorrelationSamples::updateData));
    arm(connect(samples, &DataCorrelationSamples::finished, samples,
                &DataCorrelationSamples::calculateDifference));
    arm(connect(samples, &DataCorrelationSamples::calculatedDifference, this, &WidgetDifDCS::updateGUI));
}

bool WidgetDifDCS::hasFourSamples() const
{
    return settings->distanceCalculation()->piDelay() && !settings->distanceCalculation()->dualMGX();
}

void WidgetDifDCS::paintFrame()
{
    const DataPixelfield& first = *samples->partField(0);
    // The difference arrays have the decoder's size; the picture must have the same.
    const bool fits =
        imageCreator->image().width() == first.width() && imageCreator->image().height() == first.height();
    const bool paint = hasFourSamples() && fits;
    for (int i = 0; i < kPictureCount; ++i) {
        if (!paint) {
            showBlank(i);
            continue;
        }
        int** difference = samples->differenceData(i == 1);
        firstPostProcessor->replaceBadPixels(difference, first.width(), first.height());
        QImage& image =
            imageCreator->createImage(difference, 0, kDifferenceMaximum, ZelImageCreator::Grayscale);
        if (settings->calibration()->pixelInterpolation())
            firstPostProcessor->paintBadPixels(image, viewBadPixelColor());
        showPicture(i, image);
    }
    showLegend(ui->lImageLegendDifDCS, ZelImageCreator::Grayscale);
}

void WidgetDifDCS::updatePixelInfo()
{
    infoDifDCS->setPixel(shownPixel().x(), shownPixel().y());
    const QPoint p = hoveredPixel();
    // The differences have the size of the sample fields.
    if (!samples->partField(0)->contains(p.x(), p.y()))
        return;
    infoDifDCS->setDifDCS0(samples->differenceValue(false, p.x(), p.y()) -
                           DataCorrelationSamples::kDifferenceZero);
    infoDifDCS->setDifDCS1(samples->differenceValue(true, p.x(), p.y()) -
                           DataCorrelationSamples::kDifferenceZero);
}
