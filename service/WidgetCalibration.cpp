#include "service/WidgetCalibration.h"

#include "app/Trace.h"

#include <QLabel>
#include <QVBoxLayout>

WidgetCalibration::WidgetCalibration(ApplicationContext* context, QWidget* parent) : QWidget(parent)
{
    Q_UNUSED(context)
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto* title = new QLabel(QStringLiteral("Calibration"), this);
    title->setObjectName(QStringLiteral("lTitle"));
    title->setStyleSheet(QStringLiteral(
        "padding: 10px; background-color: rgb(51, 51, 51); color: rgb(255, 255, 255); font-family: Arial;"));
    layout->addWidget(title);
    layout->addStretch();
}

WidgetCalibration::~WidgetCalibration()
{
    ZTRACE() << "-----WidgetCalibration destroying";
    ZTRACE() << "-----WidgetCalibration destroyed";
}

void WidgetCalibration::updateCalibrationList()
{
}
