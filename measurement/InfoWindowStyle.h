#pragma once

#include <QString>

class QLabel;
class QWidget;

// What every measurement window shares beyond its form: a floating window with a title bar
// but no buttons that never ends the application, the pixel windows' header text and the
// "N/A" of values outside a window's valid range.
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

// Title bar only (no close, minimise or maximise button), optionally on top of other
// windows, and quit-on-close off: flags a form cannot state.
void setUpWindow(QWidget* window, bool staysOnTop);
QString headerText(int x, int y);
// "N/A", shown for values outside a window's valid range.
QString notAvailable();
} // namespace InfoWindowStyle
