#include "config/ControllerFLIM.h"

#include "app/Trace.h"
#include "settings/Settings.h"

ControllerFLIM::ControllerFLIM(ApplicationContext* context) : ControllerTransaction(context)
{
}

ControllerFLIM::~ControllerFLIM()
{
    ZTRACE() << "***ControllerFLIM destroyed";
}

void ControllerFLIM::change(Timing timing, int value, Slot slot)
{
    pending[timing] = value;
    begin(slot);
}

void ControllerFLIM::apply(Timing timing, Slot slot)
{
    const int value = pending[timing];
    SettingsFLIM* flim = settings->flim();
    switch (timing) {
    case FlashDelay:
        exchange(slot, Commands::flimSetFlashDelay(value));
        flim->setFlashDelay(value);
        break;
    case FlashWidth:
        exchange(slot, Commands::flimSetFlashWidth(value));
        flim->setFlashWidth(value);
        break;
    case T1:
        exchange(slot, Commands::flimSetT(1, value));
        flim->setMgaDelay(value);
        break;
    case T2:
        exchange(slot, Commands::flimSetT(2, value));
        flim->setMgaWidth(value);
        break;
    case T3:
        exchange(slot, Commands::flimSetT(3, value));
        flim->setMgbDelay(value);
        break;
    case T4:
        exchange(slot, Commands::flimSetT(4, value));
        flim->setMgbWidth(value);
        break;
    case Trep:
        exchange(slot, Commands::flimSetTrep(value));
        flim->setRepetitionTime(value);
        break;
    case Repetitions:
    case TimingCount:
        exchange(slot, Commands::flimSetRepetitions(value));
        flim->setRepetitions(value);
        break;
    }
    controller.resume();
}

void ControllerFLIM::changeFlashDelay(int steps)
{
    change(FlashDelay, steps, &ControllerFLIM::setFlashDelay);
}
void ControllerFLIM::changeFlashWidth(int steps)
{
    change(FlashWidth, steps, &ControllerFLIM::setFlashWidth);
}
void ControllerFLIM::changeT1(int steps)
{
    change(T1, steps, &ControllerFLIM::setT1);
}
void ControllerFLIM::changeT2(int steps)
{
    change(T2, steps, &ControllerFLIM::setT2);
}
void ControllerFLIM::changeT3(int steps)
{
    change(T3, steps, &ControllerFLIM::setT3);
}
void ControllerFLIM::changeT4(int steps)
{
    change(T4, steps, &ControllerFLIM::setT4);
}
void ControllerFLIM::changeTREP(int steps)
{
    change(Trep, steps, &ControllerFLIM::setTREP);
}
void ControllerFLIM::changeRepetitions(int count)
{
    change(Repetitions, count, &ControllerFLIM::setRepetitions);
}

void ControllerFLIM::setFlashDelay()
{
    apply(FlashDelay, &ControllerFLIM::setFlashDelay);
}
void ControllerFLIM::setFlashWidth()
{
    apply(FlashWidth, &ControllerFLIM::setFlashWidth);
}
void ControllerFLIM::setT1()
{
    apply(T1, &ControllerFLIM::setT1);
}
void ControllerFLIM::setT2()
{
    apply(T2, &ControllerFLIM::setT2);
}
void ControllerFLIM::setT3()
{
    apply(T3, &ControllerFLIM::setT3);
}
void ControllerFLIM::setT4()
{
    apply(T4, &ControllerFLIM::setT4);
}
void ControllerFLIM::setTREP()
{
    apply(Trep, &ControllerFLIM::setTREP);
}
void ControllerFLIM::setRepetitions()
{
    apply(Repetitions, &ControllerFLIM::setRepetitions);
}
