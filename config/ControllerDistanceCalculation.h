#pragma once

#include "config/ControllerTransaction.h"

// Sends the distance-calculation switches: pi delay, dual MGX, HDR, the modulation mode
// (sinusoidal or a pseudo-noise sequence) and the pseudo-noise polynomial.
class ControllerDistanceCalculation final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit ControllerDistanceCalculation(ApplicationContext* context);
    ~ControllerDistanceCalculation() override;

    void changePiDelay(bool on);
    void changeDualMGX(bool on);
    void changeHdr(bool on);
    // The hub's modulationIndex is written at once, before the command goes out.
    void changeModulationMode(int index);
    // The hub's LFSR and polynomial indices are written at once; the camera counts the LFSR
    // index from 1.
    void changePolynomial(int lfsrIndex, int polynomialIndex);
    // The last index given to changeModulationMode (0 after construction).
    int modulationMode() const { return pendingModulationMode; }

public slots:
    void enablePiDelay();
    void disablePiDelay();
    void enableDualMGX();
    void disableDualMGX();
    void enableHDR();
    void disableHDR();
    void selectMode();
    void selectPolynomial();

private:
    int pendingModulationMode = 0;
    int pendingLfsrIndex = 0;
    int pendingPolynomialIndex = 0;
};
