#pragma once

#include <QString>

class QGridLayout;
class QLabel;
class QWidget;

// The look every pixel window shares: a floating window with a title bar but no buttons that
// stays on top and never ends the application, a dark header line over a light grid of
// titled values, and the usage hints at the bottom.
namespace InfoWindowStyle {
// The five labels of one statistics column, in the order of their rows.
struct StatisticsLabels
{
    QLabel* current;
    QLabel* minimum;
    QLabel* maximum;
    QLabel* average;
    QLabel* deviation;
};

// The grid rows of a statistics window: header, column titles, the five statistics rows.
enum Row
{
    HeaderRow = 0,
    ColumnTitleRow = 1,
    FirstStatisticsRow = 2,
    AverageRow = 5,
    FooterRow = 7
};

// Window flags, title, background and quit-on-close; returns the grid the values go in,
// with the header "Pixel data (x, y)" already in its first row, spanning `columns` columns.
QGridLayout* setUp(QWidget* window, const QString& title, int columns = 2);
// A title in column 0 and an empty value label named `valueName` in column 1 of `row`.
QLabel* addRow(QWidget* window, QGridLayout* grid, int row, const QString& title, const QString& valueName);
// The five row titles "Current" ... "σ", with or without colons, in column 0.
void addRowTitles(QWidget* window, QGridLayout* grid, bool withColons);
// Five value labels named `name`, `name`Min, `name`Max, `name`Average, `name`Variation in
// `column`, the average one on the average row's darker background.
StatisticsLabels addStatisticsColumn(QWidget* window, QGridLayout* grid, int column, const QString& name);
// Left-aligned text spanning `columns` columns of `row`, named `objectName`.
QLabel* addLine(QWidget* window, QGridLayout* grid, int row, int columns, const QString& text,
                const QString& objectName);
// The two usage hints ("Set position: ..." and "Delete: ...") from `row` on.
void addHints(QWidget* window, QGridLayout* grid, int row, int columns, const QString& setHint,
              const QString& deleteHint);
QString headerText(int x, int y);
// "N/A", shown for values outside a window's valid range.
QString notAvailable();
} // namespace InfoWindowStyle
