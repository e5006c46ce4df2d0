#include "measurement/InfoFLIM.h"

#include "app/Trace.h"
#include "measurement/InfoWindowStyle.h"

#include <QGridLayout>
#include <QLabel>

namespace {
QString gateText(int value)
{
    // Unsigned, so that negative values fail too.
    return unsigned(value) <= 2047u ? QString::number(value) + QStringLiteral(" LSB")
                                    : InfoWindowStyle::notAvailable();
}
} // namespace

InfoFLIM::InfoFLIM(QWidget* parent) : QWidget(parent)
{
    QGridLayout* grid = InfoWindowStyle::setUp(this, QStringLiteral("Form"));
    header = findChild<QLabel*>(QStringLiteral("lHeader"));
    mga = InfoWindowStyle::addRow(this, grid, 1, QStringLiteral("Mga"), QStringLiteral("lMga"));
    mgb = InfoWindowStyle::addRow(this, grid, 2, QStringLiteral("Mgb"), QStringLiteral("lMgb"));
    grid->itemAtPosition(1, 0)->widget()->setObjectName(QStringLiteral("lMgaTitle"));
    QWidget* mgbTitle = grid->itemAtPosition(2, 0)->widget();
    mgbTitle->setObjectName(QStringLiteral("lMgbTitle"));
    // The second sample sits on the grey panel, as the average row of the other windows.
    for (QWidget* cell : {mgbTitle, static_cast<QWidget*>(mgb)})
        cell->setStyleSheet(QStringLiteral("background-color: rgb(202,202,202);"));
    setMinimumWidth(240);
    resize(240, 58);
}

InfoFLIM::~InfoFLIM()
{
    ZTRACE() << "-----infoFLIM destroying";
    ZTRACE() << "-----infoFLIM destroyed";
}

void InfoFLIM::setPixel(int x, int y)
{
    header->setText(InfoWindowStyle::headerText(x, y));
}

void InfoFLIM::setMga(int value)
{
    mga->setText(gateText(value));
}

void InfoFLIM::setMgb(int value)
{
    mgb->setText(gateText(value));
}
