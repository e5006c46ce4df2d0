#pragma once

#include "views/ImageViewBase.h"

class ApplicationContext;
class DataPixelfield;
class InfoAmplitude;

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

    DataPixelfield* pixelField() const { return field; }
    InfoAmplitude* pixelInfo() const { return infoAmplitude; }

protected:
    void connectDecoder() override;
    void paintFrame() override;
    void updatePixelInfo() override;

private:
    Ui::WidgetAmplitude* ui;
    DataPixelfield* field;
    InfoAmplitude* infoAmplitude;
    int colorType = Ramp;
    int legendMaximum = -1;
};
