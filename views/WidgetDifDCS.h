#pragma once

#include "views/ImageViewBase.h"

#include <QImage>

#include <array>

class ApplicationContext;
class DataCorrelationSamples;
class InfoDifDCS;
class QLabel;

namespace Ui {
class WidgetDifDCS;
}

// The sample differences (view mode 7): DCS2 - DCS0 and DCS3 - DCS1 in gray, 0 ... 8191 with
// mid-gray for no difference. Only frames with all four samples (pi-delay without dual-MGX)
// have differences; otherwise both pictures are white.
class WidgetDifDCS final : public ImageViewBase
{
    Q_OBJECT

public:
    static constexpr int kPictureCount = 2;

    explicit WidgetDifDCS(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetDifDCS() override;

    void startView() override;
    void setPixelInfoVisible(bool visible);

    DataCorrelationSamples* correlationSamples() const { return samples; }
    InfoDifDCS* pixelInfo() const { return infoDifDCS; }
    const QImage& displayed(int index) const { return displayedImages[size_t(index)]; }
    ZelLabel* imageLabel(int index) const { return labels[size_t(index)]; }

public slots:
    void updateGUI();
    void disconnectSlots();
    void mouseHover(int x, int y);
    void selectMarker(bool state);

protected:
    // The pictures follow the label width: a resize of a label refits the last pictures.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool hasFourSamples() const;
    void updatePixelInfo();

    Ui::WidgetDifDCS* ui;
    DataCorrelationSamples* samples;
    InfoDifDCS* infoDifDCS;
    std::array<ZelLabel*, kPictureCount> labels{};
    std::array<std::array<QLabel*, 4>, kPictureCount> corners{};
    std::array<QImage, kPictureCount> displayedImages;
};
