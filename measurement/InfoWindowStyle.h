#pragma once

#include <QString>

class QGridLayout;
class QLabel;
class QWidget;

// The look every pixel window shares: a floating window with a title bar but no buttons that
// stays on top and never ends the application, a dark header line over a light grid of
// titled values.
namespace InfoWindowStyle {
// Window flags, title, background and quit-on-close; returns the grid the values go in,
// with the header "Pixel data (x, y)" already in its first row.
QGridLayout* setUp(QWidget* window, const QString& title);
// A title in column 0 and an empty value label named `valueName` in column 1 of `row`.
QLabel* addRow(QWidget* window, QGridLayout* grid, int row, const QString& title, const QString& valueName);
QString headerText(int x, int y);
// "N/A", shown for values outside a window's valid range.
QString notAvailable();
} // namespace InfoWindowStyle
