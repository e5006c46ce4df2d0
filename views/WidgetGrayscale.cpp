#include "views/WidgetGrayscale.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoGrayscale.h"
#include "measurement/InfoPixelScope.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetGrayscale.h"

namespace {
// Grayscale words are centred on this level; the view shows them less it.
constexpr int kGrayscaleOffset = 2048;
constexpr int kGrayscaleMaximum = 2047;
} // namespace

WidgetGrayscale::WidgetGrayscale(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getBWSorted(), parent)
    , ui(new Ui::WidgetGrayscale)
    , field(new DataPixelfield(settings, this))
    , infoGrayscale(new InfoGrayscale)
{
    ui->setupUi(this);
    field->setOffset(kGrayscaleOffset);
    addPicture(ui->lImageGrayscale, ui->lYGrayscaleTop, ui->lYGrayscaleBottom, ui->lXGrayscaleLeft,
               ui->lXGrayscaleRight);
    enableRegionSelection();
    setPixelWindow(infoGrayscale, [this](bool state) { infoGrayscale->statisticsClear(state); });
    setPixelScope(new InfoPixelScope(settings, InfoPixelScope::SignalLevel), field);
}

WidgetGrayscale::~WidgetGrayscale()
{
    ZTRACE() << "----------WidgetGrayscale destroying";
    deleteWindows();
    delete ui;
    ZTRACE() << "----------WidgetGrayscale destroyed";
}

void WidgetGrayscale::connectDecoder()
{
    armDecoder(field);
}

void WidgetGrayscale::paintFrame()
{
    firstPostProcessor->replaceBadPixels(*field);
    showField(0, *field, 0, kGrayscaleMaximum, ZelImageCreator::Grayscale);
    showLegend(ui->lImageLegendGrayscale, ZelImageCreator::Grayscale);
}

void WidgetGrayscale::updatePixelInfo()
{
    infoGrayscale->setPixel(shownPixel().x(), shownPixel().y());
    infoGrayscale->setValue(valueAt(*field, hoveredPixel()));
}
