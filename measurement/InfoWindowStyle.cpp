#include "measurement/InfoWindowStyle.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QWidget>

namespace InfoWindowStyle {

namespace {
const char* const averageRowStyle = "background-color: rgb(202,202,202);";

QLabel* valueLabel(QWidget* window, const QString& name)
{
    auto* value = new QLabel(window);
    value->setObjectName(name);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(90);
    return value;
}
} // namespace

QGridLayout* setUp(QWidget* window, const QString& title, int columns)
{
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_QuitOnClose, false);
    window->setWindowTitle(title);
    window->setStyleSheet(QStringLiteral("background-color: rgb(250, 250, 250);"));
    auto* grid = new QGridLayout(window);
    grid->setVerticalSpacing(2);
    auto* header = new QLabel(QStringLiteral("Pixel data (x, y)"), window);
    header->setObjectName(QStringLiteral("lHeader"));
    QFont font(QStringLiteral("Arial"), 9);
    font.setBold(true);
    header->setFont(font);
    header->setStyleSheet(QStringLiteral("color: white; background-color: rgb(41, 87, 126);"));
    grid->addWidget(header, HeaderRow, 0, 1, columns);
    return grid;
}

QLabel* addRow(QWidget* window, QGridLayout* grid, int row, const QString& title, const QString& valueName)
{
    grid->addWidget(new QLabel(title, window), row, 0);
    QLabel* value = valueLabel(window, valueName);
    grid->addWidget(value, row, 1);
    return value;
}

void addRowTitles(QWidget* window, QGridLayout* grid, bool withColons)
{
    static const char* const titles[] = {"Current", "Minimum", "Maximum", "Average", "σ"};
    static const char* const names[] = {"lCurrentTitle", "lMinTitle", "lMaxTitle", "lAverageTitle",
                                        "lDistanceVariationTitle"};
    for (int i = 0; i < 5; ++i) {
        QString text = QString::fromUtf8(titles[i]);
        if (withColons)
            text += QLatin1Char(':');
        auto* title = new QLabel(text, window);
        title->setObjectName(QLatin1String(names[i]));
        if (FirstStatisticsRow + i == AverageRow)
            title->setStyleSheet(QLatin1String(averageRowStyle));
        grid->addWidget(title, FirstStatisticsRow + i, 0);
    }
}

StatisticsLabels addStatisticsColumn(QWidget* window, QGridLayout* grid, int column, const QString& name)
{
    StatisticsLabels labels{valueLabel(window, name), valueLabel(window, name + QStringLiteral("Min")),
                            valueLabel(window, name + QStringLiteral("Max")),
                            valueLabel(window, name + QStringLiteral("Average")),
                            valueLabel(window, name + QStringLiteral("Variation"))};
    labels.average->setStyleSheet(QLatin1String(averageRowStyle));
    QLabel* const rows[] = {labels.current, labels.minimum, labels.maximum, labels.average, labels.deviation};
    for (int i = 0; i < 5; ++i)
        grid->addWidget(rows[i], FirstStatisticsRow + i, column);
    return labels;
}

QLabel* addLine(QWidget* window, QGridLayout* grid, int row, int columns, const QString& text,
                const QString& objectName)
{
    auto* line = new QLabel(text, window);
    line->setObjectName(objectName);
    grid->addWidget(line, row, 0, 1, columns);
    return line;
}

void addHints(QWidget* window, QGridLayout* grid, int row, int columns, const QString& setHint,
              const QString& deleteHint)
{
    QFont small = window->font();
    small.setPointSizeF(small.pointSizeF() * 0.9);
    addLine(window, grid, row, columns, setHint, QStringLiteral("label_3"))->setFont(small);
    addLine(window, grid, row + 1, columns, deleteHint, QStringLiteral("label_4"))->setFont(small);
}

QString headerText(int x, int y)
{
    return QStringLiteral("Pixel data (") + QString::number(x) + QStringLiteral(", ") + QString::number(y) +
           QLatin1Char(')');
}

QString notAvailable()
{
    return QStringLiteral("N/A");
}

} // namespace InfoWindowStyle
