#include "measurement/InfoDRNUCurve.h"

#include "app/Trace.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

namespace {
constexpr int steps = Replies::drnuTableCount / 2;
}

InfoDRNUCurve::InfoDRNUCurve(QWidget* parent) : QWidget(parent), figures(new QLabel(this))
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("DRNU Average"));
    figures->setObjectName(QStringLiteral("lFigures"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(figures);
    resize(574, 354);
}

InfoDRNUCurve::~InfoDRNUCurve()
{
    ZTRACE() << "-----InfoDRNUCurve destroying";
    ZTRACE() << "-----InfoDRNUCurve destroyed";
}

void InfoDRNUCurve::plotValues()
{
    const int t = values[steps] / 10;
    ZTRACE() << "temp[50]= " << t << "t0= " << t - 5 << "t1= " << t + 5;
    const auto range = std::minmax_element(values, values + steps);
    figures->setText(QStringLiteral("distance correction %1 ... %2 mm over %3 dll steps\ntemperature %4 °C")
                         .arg(*range.first)
                         .arg(*range.second)
                         .arg(steps)
                         .arg(values[steps] / 10.0, 0, 'f', 1));
}
