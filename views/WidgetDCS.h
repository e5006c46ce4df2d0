#pragma once

#include "views/ImageViewBase.h"

class ApplicationContext;
class DataCorrelationSamples;
class InfoDCS;

namespace Ui {
class WidgetDCS;
}

// The correlation samples (view mode 6): DCS0 to DCS3 in gray, 0 ... 4095, on four labels.
// Which samples a frame holds follows from dual-MGX and pi-delay; the pictures a frame does
// not hold are white.
class WidgetDCS final : public ImageViewBase
{
    Q_OBJECT

public:
    static constexpr int kPictureCount = 4;

    explicit WidgetDCS(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetDCS() override;

    DataCorrelationSamples* correlationSamples() const { return samples; }
    InfoDCS* pixelInfo() const { return infoDCS; }
    // Whether the current settings deliver sample `index` (0 always; 1 unless dual-MGX runs
    // without pi-delay; 2 and 3 only with pi-delay and without dual-MGX).
    bool isPainted(int index) const;
    // Shows the four samples at a stored position, less their zero level, in the pixel window
    // (the pixel as shown, mirrored, is its title).
    static void showSamples(InfoDCS* window, const DataCorrelationSamples& samples, const QPoint& shown,
                            const QPoint& stored);

protected:
    void connectDecoder() override;
    void paintFrame() override;
    void updatePixelInfo() override;

private:
    Ui::WidgetDCS* ui;
    DataCorrelationSamples* samples;
    InfoDCS* infoDCS;
};
