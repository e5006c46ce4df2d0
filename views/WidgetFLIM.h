#pragma once

#include "views/ImageViewBase.h"

#include <QVector>

class ApplicationContext;
class DataCorrelationSamples;
class InfoFLIM;

namespace Ui {
class WidgetFLIM;
}

// The gate images of a FLIM chip, mga and mgb, in gray, 0 ... 2047. Every request goes to
// this view while a FLIM chip is connected, whatever view mode is selected. No marker cross:
// the marker only freezes the readout.
class WidgetFLIM final : public ImageViewBase
{
    Q_OBJECT

public:
    static constexpr int kPictureCount = 2;

    explicit WidgetFLIM(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetFLIM() override;

    DataCorrelationSamples* correlationSamples() const { return samples; }
    InfoFLIM* pixelInfo() const { return infoFLIM; }

protected:
    void connectDecoder() override;
    void paintFrame() override;
    void updatePixelInfo() override;
    void updatePixelScope() override;

private:
    Ui::WidgetFLIM* ui;
    DataCorrelationSamples* samples;
    InfoFLIM* infoFLIM;
    QVector<int> mgaValues;
    QVector<int> mgbValues;
};
