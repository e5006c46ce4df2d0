#pragma once

#include "config/ControllerTransaction.h"

// Sends the FLIM gate timing: flash delay and width, the gates T1 to T4 (MGA delay and width,
// MGB delay and width), the repetition time, all in FLIM steps, and the repetition count.
class ControllerFLIM final : public ControllerTransaction
{
    Q_OBJECT

public:
    explicit ControllerFLIM(ApplicationContext* context);
    ~ControllerFLIM() override;

    void changeFlashDelay(int steps);
    void changeFlashWidth(int steps);
    void changeT1(int steps);
    void changeT2(int steps);
    void changeT3(int steps);
    void changeT4(int steps);
    void changeTREP(int steps);
    void changeRepetitions(int count);

public slots:
    void setFlashDelay();
    void setFlashWidth();
    void setT1();
    void setT2();
    void setT3();
    void setT4();
    void setTREP();
    void setRepetitions();

private:
    enum Timing
    {
        FlashDelay,
        FlashWidth,
        T1,
        T2,
        T3,
        T4,
        Trep,
        Repetitions,
        TimingCount
    };
    using Slot = void (ControllerFLIM::*)();

    void change(Timing timing, int value, Slot slot);
    void apply(Timing timing, Slot slot);

    int pending[TimingCount] = {};
};
