#include "views/WidgetAmplitude.h"

#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "measurement/InfoAmplitude.h"
#include "measurement/InfoPixelScope.h"
#include "render/AxisLabeler.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "ui_WidgetAmplitude.h"
#include "views/ScopeFeed.h"

WidgetAmplitude::WidgetAmplitude(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getAmplitudeSorted(), parent)
    , ui(new Ui::WidgetAmplitude)
    , field(new DataPixelfield(settings, this))
    , infoAmplitude(new InfoAmplitude)
    , pixelScope(new InfoPixelScope(settings, InfoPixelScope::Amplitude))
{
    ui->setupUi(this);
    ui->lImageAmplitude->setChipType(settings->chipType());
    connect(settings, &Settings::paused, this, &WidgetAmplitude::disconnectSlots);
    connect(ui->lImageAmplitude, &ZelLabel::regionSelected, this, &WidgetAmplitude::select);
    connect(settings->roi(), &SettingsROI::emulationDisabled, this, &WidgetAmplitude::enableSelect);
}

WidgetAmplitude::~WidgetAmplitude()
{
    ZTRACE() << "----------WidgetAmplitude destroying";
    delete pixelScope;
    delete infoAmplitude;
    delete ui;
    ZTRACE() << "----------WidgetAmplitude destroyed";
}

ZelLabel* WidgetAmplitude::imageLabel() const
{
    return ui->lImageAmplitude;
}

void WidgetAmplitude::startView()
{
    const auto unique = Qt::UniqueConnection;
    connect(picture, &ControllerPicture::pictureReady, field, &DataPixelfield::updateData, unique);
    connect(field, &DataPixelfield::finished, this, &WidgetAmplitude::updateGUI, unique);
    requestFrame();
}

void WidgetAmplitude::disconnectSlots()
{
    disconnect(picture, &ControllerPicture::pictureReady, field, &DataPixelfield::updateData);
    disconnect(field, &DataPixelfield::finished, this, &WidgetAmplitude::updateGUI);
}

void WidgetAmplitude::updateGUI()
{
    firstPostProcessor->replaceBadPixels(*field);
    // Acts only when the amplitude HDR option is on.
    firstPostProcessor->mergeHdrRows(*field);
    const int maximum = settings->distanceCalculation()->maxAmplitude();
    const int type = colorType == Ramp ? ZelImageCreator::ForwardRamp : ZelImageCreator::Grayscale;
    QImage& image = imageCreator->createImage(*field, 0, maximum, type);
    if (settings->calibration()->pixelInterpolation())
        firstPostProcessor->paintBadPixels(image, viewBadPixelColor());
    showLegend(ui->lImageLegendAmplitude, type);
    if (maximum != legendMaximum) {
        legendMaximum = maximum;
        ui->lLegendAmplitudeEnd->setText(QString::number(maximum));
    }
    mirror(image, displayedImage);
    showPicture(ui->lImageAmplitude, displayedImage, pixelInfoShown && markerSet, viewMarkerColor());
    if (cornersChanged())
        setCorners(ui->lYAmplitudeTop, ui->lYAmplitudeBottom, ui->lXAmplitudeLeft, ui->lXAmplitudeRight);

    disconnectSlots();
    releaseLoop();
    if (pixelInfoShown)
        updatePixelInfo();
    if (settings->pixelScopeEnabled())
        updatePixelScope();
    emit pictureUpdated();
}

void WidgetAmplitude::mouseHover(int x, int y)
{
    mapHover(ui->lImageAmplitude, x, y);
    updatePixelInfo();
}

void WidgetAmplitude::updatePixelInfo()
{
    const QPoint shown = axisLabeler->toSensorUnclamped(hoverX, hoverY);
    infoAmplitude->setPixel(shown.x(), shown.y());
    const QPoint p = axisLabeler->toSensor(hoverX, hoverY);
    infoAmplitude->setAmplitude(valueAt(*field, p), settings->distanceCalculation()->maxAmplitude());
}

void WidgetAmplitude::updatePixelScope()
{
    ScopeFeed::feed(*pixelScope, *field, scopeValues);
}

void WidgetAmplitude::select(int x1, int x2, int y1, int y2)
{
    selectRegion(ui->lImageAmplitude, x1, x2, y1, y2);
}

void WidgetAmplitude::enableSelect(bool state)
{
    ui->lImageAmplitude->enableSelect(state);
}

void WidgetAmplitude::selectMarker(bool state)
{
    setMarker(state);
}

void WidgetAmplitude::setPixelInfoVisible(bool visible)
{
    if (visible) {
        pixelInfoShown = true;
        infoAmplitude->show();
        connect(ui->lImageAmplitude, &ZelLabel::mouseHover, this, &WidgetAmplitude::mouseHover,
                Qt::UniqueConnection);
        connect(ui->lImageAmplitude, &ZelLabel::selectMarker, this, &WidgetAmplitude::selectMarker,
                Qt::UniqueConnection);
        connect(settings, &Settings::fieldsLocked, infoAmplitude, &InfoAmplitude::statisticsClear,
                Qt::UniqueConnection);
    } else {
        disconnect(ui->lImageAmplitude, &ZelLabel::mouseHover, this, &WidgetAmplitude::mouseHover);
        disconnect(ui->lImageAmplitude, &ZelLabel::selectMarker, this, &WidgetAmplitude::selectMarker);
        disconnect(settings, &Settings::fieldsLocked, infoAmplitude, &InfoAmplitude::statisticsClear);
        pixelInfoShown = false;
        infoAmplitude->close();
    }
}

void WidgetAmplitude::setPixelScopeVisible(bool visible)
{
    pixelScope->setShown(visible);
}
