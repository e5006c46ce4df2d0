#pragma once

#include "views/ImageViewBase.h"

#include <QImage>
#include <QVector>

class ApplicationContext;
class DataInformationSample;
class DistanceLabeler;
class InfoDistance;
class InfoPixelScope;
class InfoPixelTimeScope;

namespace Ui {
class WidgetDistance;
}

// The distance image (view mode 1): the filtered distance field painted on the reversed
// ramp, near red and far blue, with its legend in metres, the corner numbers, the marker
// cross and the Shift-drag ROI selection. Owns the pixel statistics window, the pixel scope
// and the time scope of the marked pixel.
class WidgetDistance final : public ImageViewBase
{
    Q_OBJECT

public:
    explicit WidgetDistance(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetDistance() override;

    // Arms the view for the next frame and sends the frame command.
    void startView() override;
    void setPixelInfoVisible(bool visible);
    void setPixelScopeVisible(bool visible);
    void setTimeScopeVisible(bool visible);

    DataInformationSample* informationSample() const { return sample; }
    InfoDistance* pixelInfo() const { return infoDistance; }
    InfoPixelScope* pixelScopeWindow() const { return pixelScope; }
    InfoPixelTimeScope* timeScopeWindow() const { return timeScope; }
    const QImage& displayed() const { return displayedImage; }
    ZelLabel* imageLabel() const;

signals:
    void markerSelected(bool state);
    void timeScopeChecked(bool state);

public slots:
    void updateGUI();
    void disconnectSlots();
    void mouseHover(int x, int y);
    void select(int x1, int x2, int y1, int y2);
    void enableSelect(bool state);
    void selectMarker(bool state);
    void checkTimeScope(bool state);

private:
    void updatePixelInfo();
    void updatePixelScope();
    void updateLegendLabels(int minimumCm, int maximumCm);

    Ui::WidgetDistance* ui;
    DataInformationSample* sample;
    DistanceLabeler* distanceLabeler;
    QImage displayedImage;
    InfoDistance* infoDistance;
    InfoPixelScope* pixelScope;
    InfoPixelTimeScope* timeScope;
    int timeScopeCount = 0;
    // The legend's end labels are rewritten only when the range changes.
    int legendMinimumCm = -1;
    int legendMaximumCm = -1;
    QVector<int> scopeValues;
};
