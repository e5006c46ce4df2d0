#pragma once

#include <QWidget>

class ApplicationContext;
class QWidget;
class Settings;
class WidgetAmplitude;
class WidgetDCS;
class WidgetDifDCS;
class WidgetDistance;
class WidgetFLIM;
class WidgetGrayscale;
class WindowDemo;
class ZelTcp;

namespace Ui {
class WidgetView;
}

// The view panel: the view-mode selector, Start/Stop and the snapshot button, the
// measurement-window switches, and the acquisition loop. While video runs exactly one
// exchange is in flight: the view of the selected mode is armed and requests a frame, draws
// it and emits ready() on the channel, which issues the next request (a failed exchange
// too). A FLIM chip sends every request to the FLIM view whatever the selector shows.
//
// The panel creates the image views and the image window that shows them.
class WidgetView final : public QWidget
{
    Q_OBJECT

public:
    explicit WidgetView(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetView() override;

    WindowDemo* windowDemo() const { return demo; }
    WidgetGrayscale* grayscaleView() const { return grayscale; }
    WidgetDistance* distanceView() const { return distance; }
    WidgetAmplitude* amplitudeView() const { return amplitude; }
    WidgetDCS* dcsView() const { return dcs; }
    WidgetDifDCS* difDcsView() const { return difDcs; }
    WidgetFLIM* flimView() const { return flim; }
    // The image-window page of a view mode (-1 for none).
    static int pageOfMode(int modeIndex);

signals:
    // Any view has shown a new picture.
    void pictureShown();

public slots:
    void getPicture();
    void on_cbViewMode_currentIndexChanged(int index);
    void on_cbPixelInfo_clicked(bool checked);
    void on_cbPixelScope_toggled(bool checked);
    void startVideo();
    void stopVideo();
    void pauseVideo();
    void ready();
    void on_pbGetVideo_clicked();
    void on_pbGetPicture_clicked();
    void on_cbTemperatures_toggled(bool checked);
    void on_cbTimeScope_toggled(bool checked);
    void hideInfoWindows();

private:
    void updateWarning();
    // Shows or hides the pixel statistics window of the view of `modeIndex` (the FLIM view
    // on a FLIM chip).
    void setPixelInfoOfMode(int modeIndex, bool visible);
    void setPixelScopeOfMode(int modeIndex, bool visible);

    Ui::WidgetView* ui;
    Settings* settings;
    ZelTcp* tcp;
    WindowDemo* demo;
    WidgetGrayscale* grayscale;
    WidgetDistance* distance;
    WidgetAmplitude* amplitude;
    WidgetDCS* dcs;
    WidgetDifDCS* difDcs;
    WidgetFLIM* flim;
    // minAmplitude while the pixel scope shows every pixel.
    int savedMinAmplitude = 0;
};
