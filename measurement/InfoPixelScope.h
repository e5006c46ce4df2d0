#pragma once

#include "measurement/MovingWindow.h"

#include <QPointF>
#include <QRectF>
#include <QVector>
#include <QWidget>

#include <cstdint>

class DistanceLabeler;
class QwtPlot;
class QwtPlotCurve;
class QwtPlotPicker;
class QwtPlotZoomer;
class Settings;
namespace Ui {
class InfoPixelScope;
}

// The pixel scope of a view: the values of a small rectangle of pixels (a row, a column or
// any part of the ROI) plotted frame by frame as a step curve over the pixel index, with the
// running minimum, maximum and average, an optional moving window, an average line and two
// marker lines Y1 and Y2. The view reads the rectangle from the scope, collects the values of
// every frame (column by column, each column top to bottom) and hands them over; the scope
// never reads frames. The FLIM view's scope (signal level while the FLIM mode is selected)
// plots the two gate samples and their difference.
class InfoPixelScope final : public QWidget
{
    Q_OBJECT

public:
    // Scope types: signal level (grayscale and FLIM views), distance (mm), amplitude (LSB).
    enum ScopeType
    {
        SignalLevel = 0,
        Distance = 1,
        Amplitude = 2
    };

    InfoPixelScope(Settings* settings, int scopeType, QWidget* parent = nullptr);
    ~InfoPixelScope() override;

    int scopeType() const { return type; }

    // Takes the rectangle kept in the settings and sets the boxes' ranges from the ROI.
    void loadRegion();
    void connectSignals();
    void disconnectSignals();
    // Opens the scope on the rectangle kept in the settings, or closes it.
    void setShown(bool shown);
    // Resets average, minimum, maximum and the moving window.
    void reset();

    int topLeftX() const;
    int topLeftY() const;
    int bottomRightX() const;
    int bottomRightY() const;
    unsigned pixelCount() const;
    bool isMovingWindowEnabled() const;

    int getMinimum() const;
    int getMaximum() const;
    int average() const;
    int average1() const;
    void setMinimum(int value);
    void setMaximum(int value);
    void setAverage(int value);
    void setAverage1(int value);
    // One frame: at least pixelCount() values.
    void setData(const QVector<int>& values);
    // One FLIM frame: the mga and mgb values, at least pixelCount() each.
    void setData(const QVector<int>& mga, const QVector<int>& mgb);

    int frameCount() const { return frames; }
    const QVector<int>& lastValues() const { return values; }
    const MovingWindow& movingWindowState() const { return movingWindow; }
    QwtPlot* plotWidget() const { return plot; }
    int horizontalLine1() const { return hLine1; }
    int horizontalLine2() const { return hLine2; }

public slots:
    void on_sbTopLeftX_valueChanged(int TopLeftX);
    void on_sbTopLeftY_valueChanged(int TopLeftY);
    void on_sbBottomRightX_valueChanged(int BottomRightX);
    void on_sbBottomRightY_valueChanged(int BottomRightY);
    void on_sbYAxisMin_valueChanged(int yMin);
    void on_sbYAxisMax_valueChanged(int yMax);
    void onHLine1Selected(const QPointF& point);
    void onHLine2Selected(const QPointF& point);
    void on_sbHLine1_valueChanged(int hLine1Y);
    void on_sbHLine2_valueChanged(int hLine2Y);
    void on_cbSingleRow_toggled(bool checked);
    void on_cbSingleColumn_toggled(bool checked);
    void on_pbReset_clicked();
    void on_sbWindowLength_valueChanged(int value);
    void on_cbEnableMovingWindow_toggled(bool checked);
    void onROIChanged();
    void onModulationFrequencyChanged();
    void onModulationIndexChanged();
    void onTransformation();
    void onZoomed(const QRectF& rectangleCoordinates);
    void on_cbShowCurve_toggled(bool checked);
    void on_cbShowCurve1_toggled(bool checked);
    void on_sbMaximumDiff_valueChanged(int arg1);
    void on_cbShowDifference_toggled(bool checked);
    void on_cbShowAverage_clicked();
    void on_cbTrackMinMax_toggled(bool checked);

private:
    void buildPlot();
    void setTypeTexts();
    bool flimMode() const;
    void setFlimControlsVisible(bool flim);
    void updateXAxis();
    void updateYAxis();
    void updateLines();
    void setZoomBase();
    void storeColumns();
    void showMovingWindow(const QVector<int>& values);
    void showAverageLines();
    void trackMinMax();
    // Step points of `v`'s first N values: (-0.5, v[0]), then (i + 0.5, v[i]).
    void setStepPoints(QwtPlotCurve* curve, const QVector<int>& v);
    void setLinePoints(QwtPlotCurve* curve, double height);
    void setCurveShown(QwtPlotCurve* curve, bool shown);
    static void copyInto(const QVector<int>& from, QVector<int>& to);

    Settings* settings;
    uint8_t type;
    DistanceLabeler* distanceLabeler;
    MovingWindow movingWindow;
    int16_t hLine1 = 0;
    int16_t hLine2 = 0;
    bool showDifference = false;
    bool showCurve = true;
    bool showCurve1 = true;
    int frames = 0;
    QVector<int> values;
    QVector<int> values1;
    QVector<int> differences;

    Ui::InfoPixelScope* ui;
    QwtPlot* plot;
    QwtPlotCurve* currentCurve;
    QwtPlotCurve* mgbCurve;
    QwtPlotCurve* differenceCurve;
    QwtPlotCurve* y1Line;
    QwtPlotCurve* y2Line;
    QwtPlotCurve* averageLine;
    QwtPlotCurve* mgbAverageLine;
    QwtPlotCurve* averageDifferenceLine;
    QwtPlotCurve* movingAverageCurve;
    QwtPlotPicker* y1Picker;
    QwtPlotPicker* y2Picker;
    QwtPlotZoomer* zoomer = nullptr;
};
