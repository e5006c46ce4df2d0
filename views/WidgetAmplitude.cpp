#include "views/WidgetAmplitude.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoAmplitude.h"
#include "measurement/InfoPixelScope.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetAmplitude.h"

WidgetAmplitude::WidgetAmplitude(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getAmplitudeSorted(), parent)
    , ui(new Ui::WidgetAmplitude)
    , field(new DataPixelfield(settings, this))
    , infoAmplitude(new InfoAmplitude)
{
    ui->setupUi(this);
    addPicture(ui->lImageAmplitude, ui->lYAmplitudeTop, ui->lYAmplitudeBottom, ui->lXAmplitudeLeft,
               ui->lXAmplitudeRight);
    enableRegionSelection();
    setPixelWindow(infoAmplitude, [this](bool state) { infoAmplitude->statisticsClear(state); });
    setPixelScope(new InfoPixelScope(settings, InfoPixelScope::Amplitude), field);
}

WidgetAmplitude::~WidgetAmplitude()
{
    ZTRACE() << "----------WidgetAmplitude destroying";
    deleteWindows();
    delete ui;
    ZTRACE() << "----------WidgetAmplitude destroyed";
}

void WidgetAmplitude::connectDecoder()
{
    armDecoder(field);
}

void WidgetAmplitude::paintFrame()
{
    firstPostProcessor->replaceBadPixels(*field);
    // Acts only when the amplitude HDR option is on.
    firstPostProcessor->mergeHdrRows(*field);
    const int maximum = settings->distanceCalculation()->maxAmplitude();
    const int type = colorType == Ramp ? ZelImageCreator::ForwardRamp : ZelImageCreator::Grayscale;
    showField(0, *field, 0, maximum, type);
    showLegend(ui->lImageLegendAmplitude, type);
    if (maximum != legendMaximum) {
        legendMaximum = maximum;
        ui->lLegendAmplitudeEnd->setText(QString::number(maximum));
    }
}

void WidgetAmplitude::updatePixelInfo()
{
    infoAmplitude->setPixel(shownPixel().x(), shownPixel().y());
    infoAmplitude->setAmplitude(valueAt(*field, hoveredPixel()),
                                settings->distanceCalculation()->maxAmplitude());
}
