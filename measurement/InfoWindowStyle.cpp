#include "measurement/InfoWindowStyle.h"

#include <QWidget>

namespace InfoWindowStyle {

void setUpWindow(QWidget* window, bool staysOnTop)
{
    Qt::WindowFlags flags = Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
    if (staysOnTop)
        flags |= Qt::WindowStaysOnTopHint;
    window->setWindowFlags(flags);
    window->setAttribute(Qt::WA_QuitOnClose, false);
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
