#include "measurement/StatisticsColumn.h"

#include <QLabel>

namespace {
QString suffix(StatisticsColumn::Unit unit)
{
    return unit == StatisticsColumn::Unit::Centimetres ? QStringLiteral(" cm") : QStringLiteral(" LSB");
}

double scaled(StatisticsColumn::Unit unit, double value)
{
    return unit == StatisticsColumn::Unit::Centimetres ? value / 10.0 : value;
}
} // namespace

QString StatisticsColumn::general(double value) const
{
    return QString::number(scaled(unit, value), 'g', 6) + suffix(unit);
}

QString StatisticsColumn::fixed(double value) const
{
    return QString::number(scaled(unit, value), 'f', 1) + suffix(unit);
}

void StatisticsColumn::show(int value)
{
    history.append(value);
    const StatisticsBuffer::Summary figures = history.summary();
    labels.current->setText(unit == Unit::Centimetres ? general(value)
                                                      : QString::number(value) + suffix(unit));
    labels.average->setText(fixed(figures.mean));
    labels.deviation->setText(fixed(figures.standardDeviation));
    labels.minimum->setText(general(figures.minimum));
    labels.maximum->setText(general(figures.maximum));
}

void StatisticsColumn::showNotAvailable()
{
    const QString text = InfoWindowStyle::notAvailable();
    for (QLabel* label : {labels.current, labels.average, labels.deviation, labels.minimum, labels.maximum})
        label->setText(text);
}
