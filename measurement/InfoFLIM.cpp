#include "measurement/InfoFLIM.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"

#include "ui_InfoFLIM.h"

namespace {
QString gateText(int value)
{
    // Unsigned, so that negative values fail too.
    return unsigned(value) <= 2047u ? QString::number(value) + QStringLiteral(" LSB")
                                    : InfoWindowStyle::notAvailable();
}
} // namespace

InfoFLIM::InfoFLIM(QWidget* parent) : QWidget(parent), ui(new Ui::InfoFLIM)
{
    InfoWindowStyle::setUpWindow(this, true);
    ui->setupUi(this);
}

InfoFLIM::~InfoFLIM()
{
    ZTRACE() << "-----infoFLIM destroying";
    ZTRACE() << "-----infoFLIM destroyed";
    delete ui;
}

void InfoFLIM::setPixel(int x, int y)
{
    ui->lHeader->setText(InfoWindowStyle::headerText(x, y));
}

void InfoFLIM::setMga(int value)
{
    ui->lMga->setText(gateText(value));
}

void InfoFLIM::setMgb(int value)
{
    ui->lMgb->setText(gateText(value));
}
