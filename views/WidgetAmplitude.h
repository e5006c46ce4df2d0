#pragma once

#include "views/ImageViewBase.h"

#include <QImage>
#include <QVector>

class ApplicationContext;
class DataPixelfield;
class InfoAmplitude;
class InfoPixelScope;

namespace Ui {
class WidgetAmplitude;
}

// The amplitude image (view modes 2, 3 and 4): 0 ... maxAmplitude() on the forward ramp in
// mode 2 and in gray in modes 3 and 4 (mode 4 decodes on the logarithmic scale). Owns the
// pixel statistics window and the pixel scope; the hover and marker are followed only while
// the statistics window is open.
class WidgetAmplitude final : public ImageViewBase
{
    Q_OBJECT

public:
    explicit WidgetAmplitude(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetAmplitude() override;

    // Colour types: gray (modes 3 and 4) or the forward ramp (mode 2); set before each request.
    enum ColorType
    {
        Gray = 0,
        Ramp = 1
    };
    void setColorType(int type) { colorType = type; }
    int currentColorType() const { return colorType; }

    void startView() override;
    void setPixelInfoVisible(bool visible);
    void setPixelScopeVisible(bool visible);

    DataPixelfield* pixelField() const { return field; }
    InfoAmplitude* pixelInfo() const { return infoAmplitude; }
    InfoPixelScope* pixelScopeWindow() const { return pixelScope; }
    const QImage& displayed() const { return displayedImage; }
    ZelLabel* imageLabel() const;

public slots:
    void updateGUI();
    void disconnectSlots();
    void mouseHover(int x, int y);
    void select(int x1, int x2, int y1, int y2);
    void enableSelect(bool state);
    void selectMarker(bool state);

private:
    void updatePixelInfo();
    void updatePixelScope();

    Ui::WidgetAmplitude* ui;
    DataPixelfield* field;
    QImage displayedImage;
    InfoAmplitude* infoAmplitude;
    InfoPixelScope* pixelScope;
    QVector<int> scopeValues;
    int colorType = Ramp;
    int legendMaximum = -1;
};
