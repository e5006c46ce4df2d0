#pragma once

#include "views/ImageViewBase.h"
#include "views/PointCloudGeometry.h"

#include <QTimer>

#include <qwt3d_types.h>

class ApplicationContext;
class DataInformationSample;
class DistanceLabeler;
class FunctionDistance;
class UserColor;
class WindowControls;

namespace Qwt3D {
class StandardColor;
class SurfacePlot;
} // namespace Qwt3D

namespace Ui {
class WidgetPointCloud;
}

// The point cloud (view mode 5): distance frames as a rotatable 3D plot, either a cloud of
// points or a surface joining neighbouring pixels of similar distance, coloured by distance
// (near dark red, far dark blue) or, in "TOF amp OV", by amplitude in gray. Grid coordinates
// (column, row, distance) or Cartesian ones from the lens field of view. The geometry lives in
// PointCloudGeometry; this widget filters the frame, hands the geometry to the plot and keeps
// the controls (points and surface are exclusive), the auto-rotation and the PLY export.
class WidgetPointCloud final : public ImageViewBase
{
    Q_OBJECT

public:
    explicit WidgetPointCloud(ApplicationContext* context, QWidget* parent = nullptr);
    ~WidgetPointCloud() override;

    // Arms the view for the next frame and sends the frame command.
    void startView() override;
    // Rebuilds the plot's style, colours, function and controls window.
    void initPlot(bool resetView);

    Qwt3D::SurfacePlot* plotWidget() const { return plot; }
    WindowControls* controls() const { return controlsWindow; }
    const PointCloudGeometry& cloud() const { return geometry; }
    bool isPointsMode() const { return pointsMode; }
    bool isGrayMode() const { return grayMode; }
    double rotation() const { return rotationY; }
    QTimer* rotationTimerObject() { return &rotationTimer; }
    // Writes the last frame as a PLY file; false (with `error`) when it could not be written.
    bool exportPly(const QString& path, QString* error = nullptr);

public slots:
    void loadDefault();
    void on_tbShowControls_clicked();
    void on_tbReset_clicked();
    void setColor();
    void setLegendMax(int value);
    void setLegendMin(int value);
    void on_cbPoints_toggled(bool checked);
    void on_cbGrayPointCloud_toggled(bool checked);
    void on_cbAutoRotating_toggled(bool checked);
    void on_cbSurfaceInterconnect_toggled(bool checked);
    void on_sbSurfaceInterconnect_valueChanged(int arg1);
    void updateRotation();
    void on_dbPointSize_valueChanged(double arg1);
    void on_cbAxis_toggled(bool checked);
    void on_cbCartesian_toggled(bool checked);
    void updateControls();
    void on_tbExportPly_clicked();

protected:
    void connectDecoder() override;
    // Filters the frame and draws the cloud.
    void paintFrame() override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // Hands the last frame's geometry to the plot and redraws it (also after a mode switch,
    // without asking the camera for a frame).
    void drawCloud();
    // settings3D distanceMin and distanceMax in cm, or the whole range when none is set.
    void rangeCm(int& minimumCm, int& maximumCm);
    void savePicture();
    // Shows or hides the colour legend, with its bands thinned for drawing speed.
    void showLegend(bool show);

    Ui::WidgetPointCloud* ui;
    DataInformationSample* sample;
    DistanceLabeler* distanceLabeler;
    Qwt3D::SurfacePlot* plot;
    bool pointsMode = false;
    bool grayMode = false;
    FunctionDistance* function = nullptr;
    // The plot owns its data colour; these point at the one in use.
    Qwt3D::StandardColor* standardColor = nullptr;
    UserColor* userColor = nullptr;
    PointCloudGeometry geometry;
    Qwt3D::CellField cells;
    // Points mode: this frame's points and the single cell naming them all.
    std::vector<Qwt3D::Triple> pointNodes;
    Qwt3D::CellField pointCell;
    QTimer rotationTimer;
    double rotationY = 17.0;
    bool rotationStarted = false;
    int rotationDirection = 1;
    WindowControls* controlsWindow = nullptr;
    bool hasFrame = false;
};
