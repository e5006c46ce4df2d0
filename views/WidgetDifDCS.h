#pragma once

#include "views/ImageViewBase.h"

class ApplicationContext;
class DataCorrelationSamples;
class InfoDifDCS;

namespace Ui {
class WidgetDifDCS;
}

// The sample differences (view mode 7): DCS2 - DCS0 and DCS3 - DCS1 in gray, 0 ... 8191 with
// mid-gray for no difference. Only frames with all four samples (pi-delay without dual-MGX)
// have differences; otherwise both pictures are white. The pictures are fitted to the label
// width, keeping their aspect ratio.
class WidgetDifDCS final : public ImageViewBase
{
    Q_OBJECT

public:
    static constexpr int kPictureCount = 2;

    explicit WidgetDifDCS(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetDifDCS() override;

    DataCorrelationSamples* correlationSamples() const { return samples; }
    InfoDifDCS* pixelInfo() const { return infoDifDCS; }

protected:
    void connectDecoder() override;
    void paintFrame() override;
    void updatePixelInfo() override;

private:
    bool hasFourSamples() const;

    Ui::WidgetDifDCS* ui;
    DataCorrelationSamples* samples;
    InfoDifDCS* infoDifDCS;
};
