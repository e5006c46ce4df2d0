#pragma once

#include "views/ImageViewBase.h"

#include <QImage>
#include <QVector>

#include <array>

class ApplicationContext;
class DataCorrelationSamples;
class InfoFLIM;
class InfoPixelScope;
class QLabel;

namespace Ui {
class WidgetFLIM;
}

// The gate images of a FLIM chip, mga and mgb, in gray, 0 ... 2047. Every request goes to
// this view while a FLIM chip is connected, whatever view mode is selected. No marker cross.
class WidgetFLIM final : public ImageViewBase
{
    Q_OBJECT

public:
    static constexpr int kPictureCount = 2;

    explicit WidgetFLIM(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetFLIM() override;

    void startView() override;
    void setPixelInfoVisible(bool visible);
    void setPixelScopeVisible(bool visible);

    DataCorrelationSamples* correlationSamples() const { return samples; }
    InfoFLIM* pixelInfo() const { return infoFLIM; }
    InfoPixelScope* pixelScopeWindow() const { return pixelScope; }
    const QImage& displayed(int index) const { return displayedImages[size_t(index)]; }
    ZelLabel* imageLabel(int index) const { return labels[size_t(index)]; }

public slots:
    void updateGUI();
    void disconnectSlots();
    void mouseHover(int x, int y);
    void selectMarker(bool state);

private:
    void updatePixelInfo();
    void updatePixelScope();

    Ui::WidgetFLIM* ui;
    DataCorrelationSamples* samples;
    InfoFLIM* infoFLIM;
    InfoPixelScope* pixelScope;
    std::array<ZelLabel*, kPictureCount> labels{};
    std::array<std::array<QLabel*, 4>, kPictureCount> corners{};
    std::array<QImage, kPictureCount> displayedImages;
    QVector<int> mgaValues;
    QVector<int> mgbValues;
};
