#include "measurement/InfoTemperature.h"

#include "settings/Settings.h"

#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

InfoTemperature::InfoTemperature(Settings* settings, QWidget* parent) : TemperatureWindow(settings, parent)
{
    QGridLayout* grid = chipGrid();
    QWidget* panel = grid->parentWidget();
    grid->addWidget(new QLabel(QStringLiteral("left"), panel), 1, 1, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("right"), panel), 1, 2, Qt::AlignHCenter);
    grid->addWidget(new QLabel(QStringLiteral("top"), panel), 2, 0);
    grid->addWidget(new QLabel(QStringLiteral("bottom"), panel), 3, 0);
    grid->addWidget(new QLabel(QStringLiteral("average"), panel), 4, 0, 1, 2, Qt::AlignRight);
    topLeft = addField(grid, 2, 1, QStringLiteral("leTl"));
    topRight = addField(grid, 2, 2, QStringLiteral("leTr"));
    bottomLeft = addField(grid, 3, 1, QStringLiteral("leBl"));
    bottomRight = addField(grid, 3, 2, QStringLiteral("leBr"));
    average = addField(grid, 4, 2, QStringLiteral("leTempAvg"));
    resize(216, 198);
}

void InfoTemperature::updateTemperatures()
{
    const QVector<int>& t = settings->temperatures();
    if (t.size() < 6)
        return;
    topLeft->setText(temperatureText(t[0]));
    topRight->setText(temperatureText(t[1]));
    bottomLeft->setText(temperatureText(t[2]));
    bottomRight->setText(temperatureText(t[3]));
    upper->setText(temperatureText(t[4]));
    lower->setText(temperatureText(t[5]));
    average->setText(temperatureText((t[0] + t[1] + t[2] + t[3]) / 4));
}
