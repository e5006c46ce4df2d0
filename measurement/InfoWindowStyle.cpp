#include "measurement/InfoWindowStyle.h"

#include <QFont>
#include <QGridLayout>
#include <QLabel>
#include <QWidget>

namespace InfoWindowStyle {

QGridLayout* setUp(QWidget* window, const QString& title)
{
    window->setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                           Qt::WindowStaysOnTopHint);
    window->setAttribute(Qt::WA_QuitOnClose, false);
    window->setWindowTitle(title);
    window->setStyleSheet(QStringLiteral("background-color: rgb(250, 250, 250);"));
    auto* grid = new QGridLayout(window);
    auto* header = new QLabel(QStringLiteral("Pixel data (x, y)"), window);
    header->setObjectName(QStringLiteral("lHeader"));
    QFont font(QStringLiteral("Arial"), 9);
    font.setBold(true);
    header->setFont(font);
    header->setStyleSheet(QStringLiteral("color: white; background-color: rgb(41, 87, 126);"));
    grid->addWidget(header, 0, 0, 1, 2);
    return grid;
}

QLabel* addRow(QWidget* window, QGridLayout* grid, int row, const QString& title, const QString& valueName)
{
    grid->addWidget(new QLabel(title, window), row, 0);
    auto* value = new QLabel(window);
    value->setObjectName(valueName);
    value->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    value->setMinimumWidth(90);
    grid->addWidget(value, row, 1);
    return value;
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
