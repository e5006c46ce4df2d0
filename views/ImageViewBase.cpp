#include "views/ImageViewBase.h"

#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataPixelfield.h"
#include "render/AxisLabeler.h"
#include "views/ZelLabel.h"
#include "widgets/DialogOK.h"

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
}

ImageViewBase::~ImageViewBase()
{
    delete picture;
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

void ImageViewBase::mirror(const QImage& source, QImage& target) const
{
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
}

void ImageViewBase::drawMarkerCross(QPixmap& pixmap, const QColor& color) const
{
    // Smaller cross on the small sensors, whose pictures are scaled up more.
    const int gap = isSmallSensor() ? 1 : 2;
    const int end = isSmallSensor() ? 4 : 8;
    QPainter painter(&pixmap);
    painter.setPen(QPen(color, 1, Qt::SolidLine, Qt::SquareCap, Qt::BevelJoin));
    const int x = hoverX;
    const int y = hoverY;
    painter.drawLine(x, y - gap, x, y - end);
    painter.drawLine(x - gap, y, x - end, y);
    painter.drawLine(x, y + gap, x, y + end);
    painter.drawLine(x + gap, y, x + end, y);
}

void ImageViewBase::showPicture(ZelLabel* label, const QImage& image, bool drawMarker,
                                const QColor& markerColor, bool fitWidth)
{
    QPixmap pixmap = QPixmap::fromImage(image);
    if (drawMarker)
        drawMarkerCross(pixmap, markerColor);
    if (fitWidth && label->width() > 0)
        pixmap = pixmap.scaledToWidth(label->width(), Qt::FastTransformation);
    label->setPixmap(pixmap);
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

void ImageViewBase::setCorners(QLabel* top, QLabel* bottom, QLabel* left, QLabel* right) const
{
    top->setText(axisLabeler->topLabel());
    bottom->setText(axisLabeler->bottomLabel());
    left->setText(axisLabeler->leftLabel());
    right->setText(axisLabeler->rightLabel());
}

void ImageViewBase::showLegend(QLabel* legendLabel, int type)
{
    if (type == legendType && !legendLabel->pixmap(Qt::ReturnByValue).isNull())
        return;
    legendType = type;
    legendLabel->setPixmap(QPixmap::fromImage(imageCreator->legend()));
}

void ImageViewBase::mapHover(const QWidget* label, int x, int y)
{
    const int width = std::max(1, label->width());
    const int height = std::max(1, label->height());
    hoverX = x * sensorWidth() / width;
    hoverY = y * sensorHeight() / height;
}

void ImageViewBase::selectRegion(const QWidget* label, int x1, int x2, int y1, int y2)
{
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

void ImageViewBase::setMarker(bool state)
{
    markerSet = state;
    if (!settings->running() && markerSet)
        startView();
}
