#include "views/WidgetDCS.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoDCS.h"
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
    addPicture(ui->lImageDCS0, ui->lYDCS0Top, ui->lYDCS0Bottom, ui->lXDCS0Left, ui->lXDCS0Right);
    addPicture(ui->lImageDCS1, ui->lYDCS1Top, ui->lYDCS1Bottom, ui->lXDCS1Left, ui->lXDCS1Right);
    addPicture(ui->lImageDCS2, ui->lYDCS2Top, ui->lYDCS2Bottom, ui->lXDCS2Left, ui->lXDCS2Right);
    addPicture(ui->lImageDCS3, ui->lYDCS3Top, ui->lYDCS3Bottom, ui->lXDCS3Left, ui->lXDCS3Right);
    setPixelWindow(infoDCS);
}

WidgetDCS::~WidgetDCS()
{
    ZTRACE() << "----------WidgetDCS destroying";
    deleteWindows();
    delete ui;
    ZTRACE() << "----------WidgetDCS destroyed";
}

void WidgetDCS::connectDecoder()
{
    armDecoder(samples);
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

void WidgetDCS::paintFrame()
{
    for (int i = 0; i < kPictureCount; ++i) {
        if (isPainted(i)) {
            firstPostProcessor->replaceBadPixels(*samples->partField(i));
            showField(i, *samples->partField(i), 0, kSampleMaximum, ZelImageCreator::Grayscale);
        } else {
            showBlank(i);
        }
    }
    showLegend(ui->lImageLegendDCS, ZelImageCreator::Grayscale);
}

void WidgetDCS::updatePixelInfo()
{
    showSamples(infoDCS, *samples, shownPixel(), hoveredPixel());
}

void WidgetDCS::showSamples(InfoDCS* window, const DataCorrelationSamples& samples, const QPoint& shown,
                            const QPoint& stored)
{
    window->setPixel(shown.x(), shown.y());
    window->setDCS0(valueAt(*samples.partField(0), stored) - kSampleZero);
    window->setDCS1(valueAt(*samples.partField(1), stored) - kSampleZero);
    window->setDCS2(valueAt(*samples.partField(2), stored) - kSampleZero);
    window->setDCS3(valueAt(*samples.partField(3), stored) - kSampleZero);
}
