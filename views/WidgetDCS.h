#pragma once

#include "views/ImageViewBase.h"

#include <QImage>

#include <array>

class ApplicationContext;
class DataCorrelationSamples;
class InfoDCS;
class QLabel;

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

    void startView() override;
    void setPixelInfoVisible(bool visible);

    DataCorrelationSamples* correlationSamples() const { return samples; }
    InfoDCS* pixelInfo() const { return infoDCS; }
    const QImage& displayed(int index) const { return displayedImages[size_t(index)]; }
    ZelLabel* imageLabel(int index) const { return labels[size_t(index)]; }
    // Whether the current settings deliver sample `index` (0 always; 1 unless dual-MGX runs
    // without pi-delay; 2 and 3 only with pi-delay and without dual-MGX).
    bool isPainted(int index) const;

public slots:
    void updateGUI();
    void disconnectSlots();
    void mouseHover(int x, int y);
    void selectMarker(bool state);

private:
    void updatePixelInfo();

    Ui::WidgetDCS* ui;
    DataCorrelationSamples* samples;
    InfoDCS* infoDCS;
    std::array<ZelLabel*, kPictureCount> labels{};
    std::array<std::array<QLabel*, 4>, kPictureCount> corners{};
    std::array<QImage, kPictureCount> displayedImages;
};
