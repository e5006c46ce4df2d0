#pragma once

#include "views/ImageViewBase.h"

class ApplicationContext;
class DataHDR;
class DistanceLabeler;

namespace Ui {
class WidgetHDR;
}

// The HDR view (view mode 9): the distance half-images of the two integration times, the
// frame as read out and the combined image, in which each row pair takes the row its
// amplitudes choose. Each picture is fitted to its label's width; a resize refits them.
class WidgetHDR final : public ImageViewBase
{
    Q_OBJECT

public:
    explicit WidgetHDR(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetHDR() override;

    DataHDR* data() const { return hdr; }

protected:
    void connectDecoder() override;
    void paintFrame() override;

private:
    Ui::WidgetHDR* ui;
    DataHDR* hdr;
    DistanceLabeler* distanceLabeler;
};
