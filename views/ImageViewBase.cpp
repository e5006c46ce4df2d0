#include "views/ImageViewBase.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "measurement/InfoPixelScope.h"
#include "render/AxisLabeler.h"
#include "render/ImageFilter.h"
#include "render/ZelImageCreator.h"
#include "views/ScopeFeed.h"
#include "views/ZelLabel.h"
#include "widgets/DialogOK.h"

#include <QEvent>
#include <QLabel>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cstring>

ImageViewBase::ImageViewBase(ApplicationContext* context, const QString& command, QWidget* parent)
    : QWidget(parent)
    , settings(context->settings())
    , tcp(context->tcp())
    , imageCreator(context->imageCreator())
    , firstPostProcessor(context->firstPostProcessor())
    , secondPostProcessor(context->secondPostProcessor())
    , picture(new ControllerPicture(settings, tcp))
    , axisLabeler(new AxisLabeler(settings, this))
    , command(command)
{
    connect(settings, &Settings::paused, this, &ImageViewBase::disconnectSlots);
    // The views are made before the chip is known; the labels learn it with the sensor size.
    connect(settings->roi(), &SettingsROI::sensorSizeChanged, this, [this] {
        for (const Picture& shown : pictures)
            shown.label->setChipType(settings->chipType());
    });
}

ImageViewBase::~ImageViewBase()
{
    deleteWindows();
    delete picture;
}

void ImageViewBase::deleteWindows()
{
    delete pixelScope;
    pixelScope = nullptr;
    delete pixelWindow;
    pixelWindow = nullptr;
}

ZelLabel* ImageViewBase::imageLabel(int index) const
{
    return index >= 0 && index < pictureCount() ? pictures[size_t(index)].label : nullptr;
}

const QImage& ImageViewBase::displayed(int index) const
{
    static const QImage none;
    return index >= 0 && index < pictureCount() ? pictures[size_t(index)].displayed : none;
}

void ImageViewBase::addPicture(ZelLabel* label, QLabel* top, QLabel* bottom, QLabel* left, QLabel* right,
                               bool fitWidth)
{
    Picture added;
    added.label = label;
    added.corners = {top, bottom, left, right};
    added.fitWidth = fitWidth;
    pictures.push_back(added);
    label->setChipType(settings->chipType());
    if (fitWidth) {
        label->setScaledContents(false);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // A resize of the label refits the last picture.
        label->installEventFilter(this);
    }
}

void ImageViewBase::setPixelWindow(QWidget* window, std::function<void(bool)> statisticsClear)
{
    pixelWindow = window;
    clearStatistics = std::move(statisticsClear);
}

void ImageViewBase::setPixelScope(InfoPixelScope* scope, const DataPixelfield* field,
                                  std::function<int(int)> convert)
{
    pixelScope = scope;
    scopeField = field;
    scopeConvert = std::move(convert);
}

void ImageViewBase::setMarkerRule(MarkerRule rule, const QColor& color)
{
    markerRule = rule;
    markerColor = color;
}

void ImageViewBase::followPixelAlways()
{
    connectPixelFollowing(true);
    followsAlways = true;
}

void ImageViewBase::enableRegionSelection()
{
    connect(imageLabel(), &ZelLabel::regionSelected, this, &ImageViewBase::select);
    connect(settings->roi(), &SettingsROI::emulationDisabled, this, &ImageViewBase::enableSelect);
}

void ImageViewBase::connectPixelFollowing(bool follow)
{
    for (const Picture& shown : pictures) {
        if (follow) {
            connect(shown.label, &ZelLabel::mouseHover, this, &ImageViewBase::mouseHover,
                    Qt::UniqueConnection);
            connect(shown.label, &ZelLabel::selectMarker, this, &ImageViewBase::selectMarker,
                    Qt::UniqueConnection);
        } else {
            disconnect(shown.label, &ZelLabel::mouseHover, this, &ImageViewBase::mouseHover);
            disconnect(shown.label, &ZelLabel::selectMarker, this, &ImageViewBase::selectMarker);
        }
    }
}

void ImageViewBase::startView()
{
    if (armed.empty())
        connectDecoder();
    requestFrame();
}

void ImageViewBase::disconnectSlots()
{
    for (const QMetaObject::Connection& connection : armed)
        disconnect(connection);
    armed.clear();
}

void ImageViewBase::updateGUI()
{
    paintFrame();
    if (cornersChanged()) {
        for (const Picture& shown : pictures) {
            shown.corners[0]->setText(axisLabeler->topLabel());
            shown.corners[1]->setText(axisLabeler->bottomLabel());
            shown.corners[2]->setText(axisLabeler->leftLabel());
            shown.corners[3]->setText(axisLabeler->rightLabel());
        }
    }

    disconnectSlots();
    releaseLoop();
    if (pixelInfoDue())
        updatePixelInfo();
    if (settings->pixelScopeEnabled())
        updatePixelScope();
    emit pictureUpdated();
}

void ImageViewBase::updatePixelScope()
{
    if (pixelScope && scopeField)
        ScopeFeed::feed(*pixelScope, *scopeField, scopeValues, scopeConvert);
}

void ImageViewBase::setPixelInfoVisible(bool visible)
{
    if (!pixelWindow)
        return;
    pixelInfoShown = visible;
    if (!followsAlways)
        connectPixelFollowing(visible);
    if (visible) {
        pixelWindow->show();
        if (clearStatistics && !statisticsConnection)
            statisticsConnection = connect(settings, &Settings::fieldsLocked, pixelWindow, clearStatistics);
    } else {
        disconnect(statisticsConnection);
        statisticsConnection = {};
        pixelWindow->close();
    }
}

void ImageViewBase::setPixelScopeVisible(bool visible)
{
    if (pixelScope)
        pixelScope->setShown(visible);
}

int ImageViewBase::valueAt(const DataPixelfield& field, const QPoint& position)
{
    return field.contains(position.x(), position.y()) ? field.value(position.x(), position.y())
                                                      : DataPixelfield::kNoData;
}

int ImageViewBase::sensorWidth() const
{
    return settings->roi()->sensorWidth();
}

int ImageViewBase::sensorHeight() const
{
    return settings->roi()->sensorHeight();
}

bool ImageViewBase::isSmallSensor() const
{
    const int chip = settings->chipType();
    return chip == 4 || chip == 5;
}

void ImageViewBase::requestFrame()
{
    picture->requestPicture(command);
}

void ImageViewBase::releaseLoop()
{
    if (!settings->temperaturePolling())
        emit tcp->ready();
}

void ImageViewBase::showPicture(int index, const QImage& source)
{
    Picture& shown = pictures[size_t(index)];
    QImage& target = shown.displayed;
    if (target.size() != source.size() || target.format() != source.format())
        target = QImage(source.size(), source.format());
    const bool horizontal = settings->transformation()->horizontalFlip();
    const bool vertical = settings->transformation()->verticalFlip();
    const int width = source.width();
    const int height = source.height();
    for (int y = 0; y < height; ++y) {
        const auto* from = reinterpret_cast<const QRgb*>(source.constScanLine(vertical ? height - 1 - y : y));
        auto* to = reinterpret_cast<QRgb*>(target.scanLine(y));
        if (horizontal)
            std::reverse_copy(from, from + width, to);
        else
            std::memcpy(to, from, size_t(width) * sizeof(QRgb));
    }
    show(shown);
}

void ImageViewBase::showField(int index, const DataPixelfield& field, int min, int max, int type,
                              const QColor& badPixelColor)
{
    QImage& image = imageCreator->createImage(field, min, max, type);
    if (settings->calibration()->pixelInterpolation())
        firstPostProcessor->paintBadPixels(image, badPixelColor);
    showPicture(index, image);
}

void ImageViewBase::showBlank(int index)
{
    showPicture(index, imageCreator->clearImage());
}

void ImageViewBase::show(Picture& shown)
{
    QPixmap pixmap = QPixmap::fromImage(shown.displayed);
    if (markerDrawn())
        drawMarkerCross(pixmap);
    if (shown.fitWidth && shown.label->width() > 0)
        pixmap = pixmap.scaledToWidth(shown.label->width(), Qt::FastTransformation);
    shown.label->setPixmap(pixmap);
}

bool ImageViewBase::markerDrawn() const
{
    switch (markerRule) {
    case MarkerRule::Always:
        return markerSet;
    case MarkerRule::WithPixelInfo:
        return markerSet && pixelInfoShown;
    case MarkerRule::Never:
        break;
    }
    return false;
}

void ImageViewBase::drawMarkerCross(QPixmap& pixmap) const
{
    // Smaller cross on the small sensors, whose pictures are scaled up more.
    const int gap = isSmallSensor() ? 1 : 2;
    const int end = isSmallSensor() ? 4 : 8;
    QPainter painter(&pixmap);
    painter.setPen(QPen(markerColor, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const int x = hoverX;
    const int y = hoverY;
    painter.drawLine(x, y - gap, x, y - end);
    painter.drawLine(x - gap, y, x - end, y);
    painter.drawLine(x, y + gap, x, y + end);
    painter.drawLine(x + gap, y, x + end, y);
}

bool ImageViewBase::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        for (Picture& shown : pictures) {
            if (watched == shown.label && shown.fitWidth && !shown.displayed.isNull())
                show(shown);
        }
    }
    return QWidget::eventFilter(watched, event);
}

bool ImageViewBase::cornersChanged()
{
    const int key = (settings->transformation()->horizontalFlip() ? 1 : 0) |
                    (settings->transformation()->verticalFlip() ? 2 : 0) | (sensorWidth() << 2) |
                    (sensorHeight() << 14);
    if (key == cornerKey)
        return false;
    cornerKey = key;
    return true;
}

void ImageViewBase::showLegend(QLabel* legendLabel, int type)
{
    if (type == legendType && !legendLabel->pixmap(Qt::ReturnByValue).isNull())
        return;
    legendType = type;
    // The bar of this view's own mapping: a view that painted nothing this frame (white
    // pictures) must not show the bar another view left in the shared creator.
    legendLabel->setPixmap(QPixmap::fromImage(imageCreator->legend(type)));
}

void ImageViewBase::mouseHover(int x, int y)
{
    mapHover(x, y);
    updatePixelInfo();
}

void ImageViewBase::mapHover(int x, int y)
{
    const ZelLabel* label = imageLabel();
    if (!label)
        return;
    // A label that scales its picture shows it over its whole area; a fitted picture covers
    // only the pixmap's size.
    const QPixmap pixmap = label->pixmap(Qt::ReturnByValue);
    const bool fitted = !label->hasScaledContents() && !pixmap.isNull();
    const int width = std::max(1, fitted ? pixmap.width() : label->width());
    const int height = std::max(1, fitted ? pixmap.height() : label->height());
    hoverX = std::clamp(x * sensorWidth() / width, 0, sensorWidth() - 1);
    hoverY = std::clamp(y * sensorHeight() / height, 0, sensorHeight() - 1);
}

QPoint ImageViewBase::shownPixel() const
{
    return axisLabeler->toSensorUnclamped(hoverX, hoverY);
}

QPoint ImageViewBase::hoveredPixel() const
{
    return axisLabeler->toSensor(hoverX, hoverY);
}

void ImageViewBase::select(int x1, int x2, int y1, int y2)
{
    selectRegion(x1, x2, y1, y2);
}

void ImageViewBase::enableSelect(bool state)
{
    for (const Picture& shown : pictures)
        shown.label->enableSelect(state);
}

void ImageViewBase::selectRegion(int x1, int x2, int y1, int y2)
{
    const ZelLabel* label = imageLabel();
    if (!label)
        return;
    const int width = std::max(1, label->width());
    const int height = std::max(1, label->height());
    int sx1 = x1 * (sensorWidth() - 1) / width;
    int sx2 = x2 * (sensorWidth() - 1) / width;
    int sy1 = y1 * (sensorHeight() - 1) / height;
    int sy2 = y2 * (sensorHeight() - 1) / height;
    // The ROI starts on even columns and rows and ends on odd ones.
    if (sx1 % 2 != 0 && sx1 > 0)
        --sx1;
    if (sx2 % 2 == 0)
        ++sx2;
    if (sy1 % 2 != 0 && sy1 > 0)
        --sy1;
    if (sy2 % 2 == 0)
        --sy2;
    const QPoint a = axisLabeler->toSensorUnclamped(sx1, sy2);
    const QPoint b = axisLabeler->toSensorUnclamped(sx2, sy1);
    const int left = std::min(a.x(), b.x());
    const int right = std::max(a.x(), b.x());
    const int top = std::min(a.y(), b.y());
    SettingsROI* roi = settings->roi();
    const int centreRow = sensorHeight() / 2;
    if (right - left + 1 < roi->minRoiWidth() || centreRow - top < roi->minRoiHeight()) {
        ZTRACE() << "ROI selection refused" << left << right << top;
        DialogOK dialog(1, QStringLiteral("Selected ROI is too small."), this);
        dialog.exec();
        return;
    }
    roi->setRoiAndFields(left, right, top, sensorHeight() - 1 - top);
}

void ImageViewBase::selectMarker(bool state)
{
    setMarker(state);
}

void ImageViewBase::setMarker(bool state)
{
    markerSet = state;
    // Without a cross there is nothing to fetch a frame for: the marker only freezes the readout.
    if (markerRule != MarkerRule::Never && !settings->running() && markerSet)
        startView();
}
