#include "views/WidgetPointCloud.h"

#include "acquisition/ControllerPicture.h"
#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "link/Commands.h"
#include "recording/PlyWriter.h"
#include "render/DistanceLabeler.h"
#include "render/EdgeFilter.h"
#include "render/ImageFilter.h"
#include "ui_WidgetPointCloud.h"
#include "views/FunctionDistance.h"
#include "views/UserColor.h"
#include "views/WindowControls.h"
#include "widgets/DialogOK.h"

#include <QFileDialog>
#include <QMouseEvent>
#include <QVBoxLayout>

#include <qwt3d_color.h>
#include <qwt3d_enrichment_std.h>
#include <qwt3d_surfaceplot.h>

#include <cmath>

namespace {
const Qwt3D::RGBA kAxesColor(0.75, 0.75, 0.75, 1.0);
} // namespace

WidgetPointCloud::WidgetPointCloud(ApplicationContext* context, QWidget* parent)
    : ImageViewBase(context, Commands::getDistanceAndAmplitudeSorted(), parent)
    , ui(new Ui::WidgetPointCloud)
    , sample(new DataInformationSample(settings, this))
    , distanceLabeler(new DistanceLabeler(settings, this))
    , plot(nullptr)
{
    ui->setupUi(this);
    plot = new Qwt3D::SurfacePlot(ui->widget3D);
    // The plot fills widget3D and follows its size.
    auto* layout = new QVBoxLayout(ui->widget3D);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(plot);
    plot->setBackgroundColor(Qwt3D::RGBA(0, 0, 0, 1));
    plot->coordinates()->setAxesColor(kAxesColor);
    plot->coordinates()->setNumberColor(kAxesColor);
    plot->coordinates()->setLabelColor(kAxesColor);
    plot->coordinates()->setGridLinesColor(Qwt3D::RGBA(0.35, 0.35, 0.35, 1.0));
    plot->installEventFilter(this);

    rotationTimer.setInterval(30);
    connect(&rotationTimer, &QTimer::timeout, this, &WidgetPointCloud::updateRotation);
    // The view panel's field-of-view box: the Cartesian cloud follows at once.
    connect(settings->calibration(), &SettingsCalibration::updateFOV, this, [this] {
        if (settings->pointCloudTransformation())
            drawCloud();
    });
    geometry.reserve(sensorWidth(), sensorHeight());

    ui->sbSurfaceInterconnect->setValue(settings->pcFilterIterations(false));
    on_sbSurfaceInterconnect_valueChanged(ui->sbSurfaceInterconnect->value());
    ui->dbPointSize->setValue(2.5);
    if (settings->pcFilter() && !ui->cbSurfaceInterconnect->isChecked()) {
        ZTRACE() << "initialize surface gray";
        ui->cbSurfaceInterconnect->setChecked(true);
        ui->cbGrayPointCloud->setChecked(true);
    } else {
        ZTRACE() << "initialize points";
        ui->cbSurfaceInterconnect->setChecked(false);
        // The box may have been unticked already: points mode must still come on.
        ui->cbPoints->setChecked(true);
    }
    initPlot(true);
}

WidgetPointCloud::~WidgetPointCloud()
{
    ZTRACE() << "----------WidgetPointCloud destroying";
    rotationTimer.stop();
    delete controlsWindow;
    delete function;
    delete ui;
    ZTRACE() << "----------WidgetPointCloud destroyed";
}

void WidgetPointCloud::startView()
{
    updateControls();
    ImageViewBase::startView();
}

void WidgetPointCloud::connectDecoder()
{
    armDecoder(sample);
}

void WidgetPointCloud::initPlot(bool resetView)
{
    delete controlsWindow;
    controlsWindow = nullptr;
    delete function;
    function = nullptr;
    if (pointsMode)
        plot->setPlotStyle(Qwt3D::Dot(ui->dbPointSize->value(), false));
    else
        plot->setPlotStyle(Qwt3D::FILLED);
    plot->coordinates()->setGridLines(true, true, Qwt3D::NOSIDEGRID);
    plot->setCoordinateStyle(Qwt3D::BOX);
    setColor();
    int minimumCm = 0;
    int maximumCm = 0;
    rangeCm(minimumCm, maximumCm);
    plot->legend()->setLimits(minimumCm, maximumCm);
    showLegend(!grayMode);
    if (resetView)
        loadDefault();
    function = new FunctionDistance(&geometry, distanceLabeler);
    function->assign(plot);
    controlsWindow = new WindowControls;
    plot->coordinates()->setAutoScale(false);
    // Unique: initPlot runs again on every gray-mode switch.
    const auto unique = Qt::UniqueConnection;
    connect(settings, &Settings::paused, this, &WidgetPointCloud::disconnectSlots, unique);
    connect(settings->settings3D(), &Settings3D::distanceMinChanged, this, &WidgetPointCloud::setLegendMin,
            unique);
    connect(settings->settings3D(), &Settings3D::distanceMaxChanged, this, &WidgetPointCloud::setLegendMax,
            unique);
    ui->cbAxis->setChecked(true);
}

void WidgetPointCloud::rangeCm(int& minimumCm, int& maximumCm)
{
    minimumCm = settings->settings3D()->distanceMin();
    maximumCm = settings->settings3D()->distanceMax();
    // A range that was never configured shows the whole unambiguous range, as the distance
    // view does.
    if (maximumCm <= minimumCm) {
        minimumCm = 0;
        maximumCm = distanceLabeler->updateRangeCm();
    }
}

void WidgetPointCloud::paintFrame()
{
    DataPixelfield& distance = *sample->distanceField(false);
    DataPixelfield& amplitude = *sample->amplitudeField(false);
    firstPostProcessor->replaceBadPixels(distance);
    firstPostProcessor->median(distance);
    firstPostProcessor->gauss3x3(distance, settings->gaussFilter1(), settings->gaussFilterIterations1());
    secondPostProcessor->detectEdges(distance, amplitude);
    if (settings->distanceCalculation()->amplitudeHdr())
        firstPostProcessor->mergeHdrRows(amplitude, &distance);
    hasFrame = true;
    drawCloud();
}

void WidgetPointCloud::drawCloud()
{
    if (!hasFrame)
        return;
    const SettingsROI* roi = settings->roi();
    const int width = roi->x2() - roi->x1() + 1;
    const int height = roi->y2() - roi->y1() + 1;
    geometry.extract(*sample->distanceField(false), *sample->amplitudeField(false), roi->x1(), roi->y1(),
                     width, height, settings->transformation()->horizontalFlip(),
                     settings->transformation()->verticalFlip());
    int minimumCm = 0;
    int maximumCm = 0;
    rangeCm(minimumCm, maximumCm);
    const bool cartesian = settings->pointCloudTransformation();
    const double fov = settings->calibration()->fov();
    function->fitToGrid(width, height, minimumCm, maximumCm);
    if (cartesian) {
        geometry.computeCartesian(fov, *distanceLabeler);
        if (grayMode)
            ZTRACE() << "tranformation done";
    }
    if (pointsMode) {
        // The points go in as vertices of one cell that nothing draws but the dots: the
        // plot's grid input would allocate every point anew on every frame.
        if (cartesian)
            pointNodes = geometry.cartesianPoints();
        else
            function->sample(pointNodes);
        if (pointCell.empty() || pointCell[0].size() != pointNodes.size()) {
            pointCell.assign(1, std::vector<unsigned>(pointNodes.size()));
            for (size_t k = 0; k < pointNodes.size(); ++k)
                pointCell[0][k] = unsigned(k);
        }
        // A grid too narrow to sample has no points: the plot keeps what it shows rather than
        // taking an empty cloud, whose box would span the whole range of a double.
        if (!pointNodes.empty())
            plot->loadFromData(pointNodes, pointCell);
    } else {
        if (grayMode)
            ZTRACE() << (cartesian ? "loadData2" : "loadData1");
        geometry.triangulate(cartesian, distanceLabeler->cmToLsb(minimumCm),
                             distanceLabeler->cmToLsb(maximumCm), settings->pcFilter(),
                             settings->pcFilterIterations(true), *distanceLabeler);
        const std::vector<PointCloudGeometry::Triangle>& triangles = geometry.triangles();
        cells.resize(triangles.size());
        for (size_t k = 0; k < triangles.size(); ++k)
            cells[k].assign(triangles[k].begin(), triangles[k].end());
        if (grayMode && userColor) {
            ZTRACE() << "field size: " << triangles.size();
            userColor->setCells(triangles);
            userColor->setGridSize(width, height);
            Qwt3D::ColorVector grays;
            geometry.grayColors(grays);
            userColor->setColors(grays);
            // The plot asks for the colours while it loads the data: the walker starts at
            // triangle 0 for every frame.
            userColor->resetWalker();
        }
        plot->loadFromData(geometry.vertices(), cells);
    }
    plot->updateGL();
}

void WidgetPointCloud::showLegend(bool show)
{
    plot->showColorLegend(show);
    // The legend draws one band per colour on every repaint: the 30000-entry distance ramp
    // cost more than the cloud. A few hundred bands sampled from it look the same on a legend
    // a few hundred pixels tall.
    Qwt3D::ColorVector& bands = plot->legend()->colors;
    constexpr size_t kBands = 512;
    if (bands.size() <= kBands)
        return;
    Qwt3D::ColorVector sampled(kBands);
    for (size_t k = 0; k < kBands; ++k)
        sampled[k] = bands[k * (bands.size() - 1) / (kBands - 1)];
    bands.swap(sampled);
}

void WidgetPointCloud::setColor()
{
    if (grayMode) {
        userColor = new UserColor(UserColor::startingRamp(100));
        const int width = settings->roi()->x2() - settings->roi()->x1() + 1;
        const int height = settings->roi()->y2() - settings->roi()->y1() + 1;
        userColor->setGridSize(width, height);
        userColor->setColors(UserColor::placeholderGray(width, height));
        standardColor = nullptr;
        plot->setDataColor(userColor);
    } else {
        standardColor = new Qwt3D::StandardColor(plot, 100);
        standardColor->setColorVector(UserColor::distanceRamp());
        userColor = nullptr;
        plot->setDataColor(standardColor);
    }
}

void WidgetPointCloud::loadDefault()
{
    const int chip = settings->chipType();
    if (chip == 2 || chip == 3)
        plot->setScale(4, 4, 12);
    else
        plot->setScale(3, 4, 12);
    plot->setRotation(-67, 17, 181);
    plot->setZoom(0.25);
}

void WidgetPointCloud::on_tbShowControls_clicked()
{
    controlsWindow->hide();
    controlsWindow->show();
    controlsWindow->raise();
    controlsWindow->activateWindow();
}

void WidgetPointCloud::on_tbReset_clicked()
{
    loadDefault();
}

void WidgetPointCloud::setLegendMax(int value)
{
    int minimumCm = 0;
    int maximumCm = 0;
    rangeCm(minimumCm, maximumCm);
    function->setMaxZ(value);
    plot->legend()->setLimits(minimumCm, value);
    plot->updateGL();
}

void WidgetPointCloud::setLegendMin(int value)
{
    int minimumCm = 0;
    int maximumCm = 0;
    rangeCm(minimumCm, maximumCm);
    function->setMinZ(value);
    plot->legend()->setLimits(value, maximumCm);
    plot->updateGL();
}

void WidgetPointCloud::on_cbPoints_toggled(bool checked)
{
    // Points have no gray variant: the gray surface ends with the surface.
    if (checked && ui->cbGrayPointCloud->isChecked())
        ui->cbGrayPointCloud->setChecked(false);
    settings->setPcFilter(!checked);
    ui->cbGrayPointCloud->setEnabled(!checked);
    ui->dbPointSize->setEnabled(checked);
    ui->dbPointSize->setVisible(checked);
    ui->sbSurfaceInterconnect->setVisible(!checked);
    pointsMode = checked;
    if (checked) {
        plot->setPlotStyle(Qwt3D::Dot(ui->dbPointSize->value(), false));
        if (ui->cbSurfaceInterconnect->isChecked())
            ui->cbSurfaceInterconnect->setChecked(false);
    } else {
        plot->setPlotStyle(Qwt3D::FILLED);
        if (!ui->cbSurfaceInterconnect->isChecked())
            ui->cbSurfaceInterconnect->setChecked(true);
    }
    drawCloud();
}

void WidgetPointCloud::on_cbSurfaceInterconnect_toggled(bool checked)
{
    settings->setPcFilter(checked);
    ui->sbSurfaceInterconnect->setVisible(checked);
    if (checked) {
        if (ui->cbPoints->isChecked())
            ui->cbPoints->setChecked(false);
    } else if (!ui->cbPoints->isChecked()) {
        if (ui->cbGrayPointCloud->isChecked())
            ui->cbGrayPointCloud->setChecked(false);
        ui->cbPoints->setChecked(true);
    }
}

void WidgetPointCloud::on_cbGrayPointCloud_toggled(bool checked)
{
    grayMode = checked;
    initPlot(false);
    if (checked) {
        showLegend(false);
        ui->cbPoints->setEnabled(false);
        ui->dbPointSize->setEnabled(false);
        ui->dbPointSize->setVisible(false);
    } else {
        showLegend(true);
        ui->cbPoints->setEnabled(true);
        ui->cbCartesian->setEnabled(true);
    }
    drawCloud();
}

void WidgetPointCloud::on_cbAutoRotating_toggled(bool checked)
{
    if (checked)
        rotationTimer.start();
    else
        rotationTimer.stop();
}

void WidgetPointCloud::on_sbSurfaceInterconnect_valueChanged(int arg1)
{
    const int lsb = int(std::trunc(distanceLabeler->cmToLsb(arg1) / 10.0 + 0.5));
    ZTRACE() << "distPCLfilterLSB: " << lsb;
    settings->setPcFilterIterations(lsb, true);
    settings->setPcFilterIterations(arg1, false);
}

void WidgetPointCloud::updateRotation()
{
    if (!rotationStarted) {
        rotationStarted = true;
        rotationY = 17;
    } else if (rotationY > 95) {
        rotationDirection = -1;
        rotationY -= 1;
    } else if (rotationY < -95) {
        rotationDirection = 1;
        rotationY += 1;
    } else {
        rotationY += rotationDirection;
    }
    plot->setRotation(-67, rotationY, 181);
}

void WidgetPointCloud::on_dbPointSize_valueChanged(double arg1)
{
    if (!pointsMode)
        return;
    plot->setPlotStyle(Qwt3D::Dot(arg1, false));
    plot->updateData();
    plot->updateGL();
}

void WidgetPointCloud::on_cbAxis_toggled(bool checked)
{
    plot->setCoordinateStyle(checked ? Qwt3D::BOX : Qwt3D::NOCOORD);
    plot->updateGL();
}

void WidgetPointCloud::on_cbCartesian_toggled(bool checked)
{
    settings->setPointCloudTransformation(checked);
    drawCloud();
}

void WidgetPointCloud::updateControls()
{
    {
        const QSignalBlocker blocker(ui->sbSurfaceInterconnect);
        ui->sbSurfaceInterconnect->setValue(settings->pcFilterIterations(false));
    }
    // The threshold in LSB follows the current frequency (a loaded configuration or a new
    // frequency leaves the stored one stale).
    on_sbSurfaceInterconnect_valueChanged(ui->sbSurfaceInterconnect->value());
    // The view panel's transformation box sets the same switch.
    if (ui->cbCartesian->isChecked() != settings->pointCloudTransformation()) {
        const QSignalBlocker cartesianBlocker(ui->cbCartesian);
        ui->cbCartesian->setChecked(settings->pointCloudTransformation());
        drawCloud();
    }
}

bool WidgetPointCloud::exportPly(const QString& path, QString* error)
{
    if (!hasFrame) {
        if (error)
            *error = QStringLiteral("No frame to export yet.");
        return false;
    }
    int minimumCm = 0;
    int maximumCm = 0;
    rangeCm(minimumCm, maximumCm);
    PlyWriter::Options options;
    options.cartesian = settings->pointCloudTransformation();
    options.fovDegrees = settings->calibration()->fov();
    options.withFaces = !pointsMode;
    options.gray = grayMode;
    options.lo = distanceLabeler->cmToLsb(minimumCm);
    options.hi = distanceLabeler->cmToLsb(maximumCm);
    PlyWriter::Cloud cloud;
    PlyWriter::build(geometry, options, *distanceLabeler, cloud);
    return PlyWriter::save(path, cloud, error);
}

void WidgetPointCloud::on_tbExportPly_clicked()
{
    QString path = QFileDialog::getSaveFileName(this, QStringLiteral("Export PLY"), QString(),
                                                QStringLiteral("PLY point cloud (*.ply)"));
    if (path.isEmpty())
        return;
    if (!path.endsWith(QLatin1String(".ply"), Qt::CaseInsensitive))
        path += QStringLiteral(".ply");
    QString error;
    if (!exportPly(path, &error)) {
        DialogOK dialog(1, QStringLiteral("The point cloud could not be saved: ") + error, this);
        dialog.exec();
    }
}

void WidgetPointCloud::savePicture()
{
    const QString name = QFileDialog::getSaveFileName(this, QStringLiteral("save image as"), QString(),
                                                      QStringLiteral(".png"));
    if (!name.isEmpty())
        plot->savePixmap(name, QStringLiteral("png"));
}

bool WidgetPointCloud::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == plot && event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::RightButton) {
        savePicture();
        return true;
    }
    return ImageViewBase::eventFilter(watched, event);
}
