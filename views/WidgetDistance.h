#pragma once

#include "views/ImageViewBase.h"

class ApplicationContext;
class DataInformationSample;
class DistanceLabeler;
class InfoDistance;
class InfoPixelTimeScope;

namespace Ui {
class WidgetDistance;
}

// The distance image (view mode 1): the filtered distance field painted on the reversed
// ramp, near red and far blue, with its legend in metres, the corner numbers, the marker
// cross and the Shift-drag ROI selection. Owns the pixel statistics window, the pixel scope
// and the time scope of the marked pixel; follows the hover and the marker at all times.
class WidgetDistance final : public ImageViewBase
{
    Q_OBJECT

public:
    explicit WidgetDistance(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetDistance() override;

    void setTimeScopeVisible(bool visible);

    DataInformationSample* informationSample() const { return sample; }
    InfoDistance* pixelInfo() const { return infoDistance; }
    InfoPixelTimeScope* timeScopeWindow() const { return timeScope; }

signals:
    void markerSelected(bool state);
    void timeScopeChecked(bool state);

public slots:
    void selectMarker(bool state) override;
    void checkTimeScope(bool state);

protected:
    void connectDecoder() override;
    void paintFrame() override;
    void updatePixelInfo() override;
    bool pixelInfoDue() const override;

private:
    Ui::WidgetDistance* ui;
    DataInformationSample* sample;
    DistanceLabeler* distanceLabeler;
    InfoDistance* infoDistance;
    InfoPixelTimeScope* timeScope;
    int timeScopeCount = 0;
};
