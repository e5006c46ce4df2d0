#include "views/WidgetGrayscale.h"

#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoGrayscale.h"
#include "measurement/InfoPixelScope.h"
#include "render/AxisLabeler.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetGrayscale.h"
#include "views/ScopeFeed.h"

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
    , pixelScope(new InfoPixelScope(settings, InfoPixelScope::SignalLevel))
{
    ui->setupUi(this);
    ui->lImageGrayscale->setChipType(settings->chipType());
    field->setOffset(kGrayscaleOffset);
    connect(settings, &Settings::paused, this, &WidgetGrayscale::disconnectSlots);
    connect(ui->lImageGrayscale, &ZelLabel::regionSelected, this, &WidgetGrayscale::select);
    connect(settings->roi(), &SettingsROI::emulationDisabled, this, &WidgetGrayscale::enableSelect);
}

WidgetGrayscale::~WidgetGrayscale()
{
    ZTRACE() << "----------WidgetGrayscale destroying";
    delete pixelScope;
    delete infoGrayscale;
    delete ui;
    ZTRACE() << "----------WidgetGrayscale destroyed";
}

ZelLabel* WidgetGrayscale::imageLabel() const
{
    return ui->lImageGrayscale;
}

void WidgetGrayscale::startView()
{
    const auto unique = Qt::UniqueConnection;
    connect(picture, &ControllerPicture::pictureReady, field, &DataPixelfield::updateData, unique);
    connect(field, &DataPixelfield::finished, this, &WidgetGrayscale::updateGUI, unique);
    requestFrame();
}

void WidgetGrayscale::disconnectSlots()
{
    disconnect(picture, &ControllerPicture::pictureReady, field, &DataPixelfield::updateData);
    disconnect(field, &DataPixelfield::finished, this, &WidgetGrayscale::updateGUI);
}

void WidgetGrayscale::updateGUI()
{
    firstPostProcessor->replaceBadPixels(*field);
    QImage& image = imageCreator->createImage(*field, 0, kGrayscaleMaximum, ZelImageCreator::Grayscale);
    if (settings->calibration()->pixelInterpolation())
        firstPostProcessor->paintBadPixels(image, viewBadPixelColor());
    showLegend(ui->lImageLegendGrayscale, ZelImageCreator::Grayscale);
    mirror(image, displayedImage);
    showPicture(ui->lImageGrayscale, displayedImage, pixelInfoShown && markerSet, viewMarkerColor());
    if (cornersChanged())
        setCorners(ui->lYGrayscaleTop, ui->lYGrayscaleBottom, ui->lXGrayscaleLeft, ui->lXGrayscaleRight);

    disconnectSlots();
    releaseLoop();
    if (pixelInfoShown)
        updatePixelInfo();
    if (settings->pixelScopeEnabled())
        updatePixelScope();
    emit pictureUpdated();
}

void WidgetGrayscale::mouseHover(int x, int y)
{
    mapHover(ui->lImageGrayscale, x, y);
    updatePixelInfo();
}

void WidgetGrayscale::updatePixelInfo()
{
    const QPoint shown = axisLabeler->toSensorUnclamped(hoverX, hoverY);
    infoGrayscale->setPixel(shown.x(), shown.y());
    const QPoint p = axisLabeler->toSensor(hoverX, hoverY);
    infoGrayscale->setValue(valueAt(*field, p));
}

void WidgetGrayscale::updatePixelScope()
{
    ScopeFeed::feed(*pixelScope, *field, scopeValues);
}

void WidgetGrayscale::select(int x1, int x2, int y1, int y2)
{
    selectRegion(ui->lImageGrayscale, x1, x2, y1, y2);
}

void WidgetGrayscale::enableSelect(bool state)
{
    ui->lImageGrayscale->enableSelect(state);
}

void WidgetGrayscale::selectMarker(bool state)
{
    setMarker(state);
}

void WidgetGrayscale::setPixelInfoVisible(bool visible)
{
    if (visible) {
        pixelInfoShown = true;
        infoGrayscale->show();
        connect(ui->lImageGrayscale, &ZelLabel::mouseHover, this, &WidgetGrayscale::mouseHover,
                Qt::UniqueConnection);
        connect(ui->lImageGrayscale, &ZelLabel::selectMarker, this, &WidgetGrayscale::selectMarker,
                Qt::UniqueConnection);
        connect(settings, &Settings::fieldsLocked, infoGrayscale, &InfoGrayscale::statisticsClear,
                Qt::UniqueConnection);
    } else {
        disconnect(ui->lImageGrayscale, &ZelLabel::mouseHover, this, &WidgetGrayscale::mouseHover);
        disconnect(ui->lImageGrayscale, &ZelLabel::selectMarker, this, &WidgetGrayscale::selectMarker);
        disconnect(settings, &Settings::fieldsLocked, infoGrayscale, &InfoGrayscale::statisticsClear);
        pixelInfoShown = false;
        infoGrayscale->close();
    }
}

void WidgetGrayscale::setPixelScopeVisible(bool visible)
{
    pixelScope->setShown(visible);
}
