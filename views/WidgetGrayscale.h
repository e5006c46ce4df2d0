#pragma once

#include "views/ImageViewBase.h"

#include <QImage>
#include <QVector>

class ApplicationContext;
class DataPixelfield;
class InfoGrayscale;
class InfoPixelScope;

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

    void startView() override;
    void setPixelInfoVisible(bool visible);
    void setPixelScopeVisible(bool visible);

    DataPixelfield* pixelField() const { return field; }
    InfoGrayscale* pixelInfo() const { return infoGrayscale; }
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

    Ui::WidgetGrayscale* ui;
    DataPixelfield* field;
    QImage displayedImage;
    InfoGrayscale* infoGrayscale;
    InfoPixelScope* pixelScope;
    QVector<int> scopeValues;
};
