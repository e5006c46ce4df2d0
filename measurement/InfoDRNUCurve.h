#pragma once

#include <QWidget>

#include <cstdint>

class QwtPlot;
class QwtPlotCurve;
namespace Ui {
class InfoDRNUCurve;
}

// The camera's DRNU table as a curve over the DLL step: the distance correction of each of
// the 50 steps and the temperature it was measured at. The owner (the view panel, the
// console) writes the 100 values with setTable() and shows the window.
class InfoDRNUCurve final : public QWidget
{
    Q_OBJECT

public:
    static constexpr int stepCount = 50;
    static constexpr int valueCount = 2 * stepCount;

    explicit InfoDRNUCurve(QWidget* parent = nullptr);
    ~InfoDRNUCurve() override;

    // Entries 0 ... 49: distance corrections in mm of DLL steps 0 ... 49; entries 50 ... 99:
    // the matching temperatures in tenths of a degree Celsius.
    int16_t values[valueCount] = {};

    // Converts a table as the camera sends it (corrections in 1/30000 of the unambiguous
    // range) into `values`, in 64-bit arithmetic so that long ranges cannot overflow, and
    // plots it. Corrections beyond 16 bits are held at the limit.
    void setTable(const int16_t* cameraTable, int rangeMm);
    // Plots `values`: the right axis spans ten degrees around the first temperature.
    void plotValues();

    QwtPlot* plotWidget() const { return plot; }

private:
    Ui::InfoDRNUCurve* ui;
    QwtPlot* plot;
    QwtPlotCurve* drnuCurve;
    QwtPlotCurve* temperatureCurve;
};
