#pragma once

#include "views/ImageViewBase.h"

class ApplicationContext;
class DataPixelfield;
class InfoGrayscale;

namespace Ui {
class WidgetGrayscale;
}

// The grayscale image (view mode 0): raw words less the grayscale offset of 2048, 0 ... 2047
// in gray. Owns the pixel statistics window and the pixel scope; the hover and marker are
// followed only while the statistics window is open.
class WidgetGrayscale final : public ImageViewBase
{
    Q_OBJECT

public:
    explicit WidgetGrayscale(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetGrayscale() override;

    DataPixelfield* pixelField() const { return field; }
    InfoGrayscale* pixelInfo() const { return infoGrayscale; }

protected:
    void connectDecoder() override;
    void paintFrame() override;
    void updatePixelInfo() override;

private:
    Ui::WidgetGrayscale* ui;
    DataPixelfield* field;
    InfoGrayscale* infoGrayscale;
};
