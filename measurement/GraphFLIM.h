#pragma once

#include <qwt_plot.h>

#include <array>

class QwtLegend;
class QwtPlotCurve;

// The timing diagram of one FLIM cycle in the FLIM settings panel: the illumination flash and
// the two gate windows mga and mgb as rectangular pulses over time (ns). The panel sets the
// field it edited and asks for a redraw; the gate line ends at the end of the cycle, which
// the flash does not enter.
class GraphFLIM final : public QwtPlot
{
    Q_OBJECT

public:
    // The curves in the order they are attached.
    enum Curve
    {
        Flash,
        FlashTail,
        Mga,
        Mgb,
        GateTail,
        CurveCount
    };

    explicit GraphFLIM(QWidget* parent = nullptr);
    ~GraphFLIM() override;

    void setFlashDelay(int ns) { flashDelay = ns; }
    void setFlashWidth(int ns) { flashWidth = ns; }
    void setMgaDelay(int ns) { mgaDelay = ns; }
    void setMgaWidth(int ns) { mgaWidth = ns; }
    void setMgbDelay(int ns) { mgbDelay = ns; }
    void setMgbWidth(int ns) { mgbWidth = ns; }
    void setRepetitionTime(int ns) { repetitionTime = ns; }

    // Rebuilds the five curves from the fields and replots.
    void redraw();

    int cycleEnd() const { return m_cycleEnd; }
    QwtPlotCurve* curve(Curve which) const { return curves[size_t(which)]; }

private:
    int flashDelay = 0;
    int flashWidth = 0;
    int mgaDelay = 0;
    int mgaWidth = 0;
    int mgbDelay = 0;
    int mgbWidth = 0;
    int repetitionTime = 0;
    int m_cycleEnd = 0;
    std::array<QwtPlotCurve*, CurveCount> curves{};
    QwtLegend* legend;
};
