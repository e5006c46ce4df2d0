#include "measurement/InfoPixelScope.h"

#include "app/Trace.h"
#include "settings/Settings.h"

#include <QLabel>
#include <QVBoxLayout>

#include <algorithm>

InfoPixelScope::InfoPixelScope(Settings* settings, int scopeType, QWidget* parent)
    : QWidget(parent), settings(settings), type(scopeType), figures(new QLabel(this))
{
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setAttribute(Qt::WA_QuitOnClose, false);
    setWindowTitle(QStringLiteral("Pixel Scope"));
    figures->setObjectName(QStringLiteral("lFigures"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(figures);
    resize(320, 120);
}

InfoPixelScope::~InfoPixelScope()
{
    ZTRACE() << "-----InfoPixelScope destroying";
    ZTRACE() << "-----InfoPixelScope destroyed";
}

void InfoPixelScope::loadRegion()
{
    const SettingsPixelScope* scope = settings->pixelScope();
    const int lastColumn = settings->roi()->sensorWidth() - 1;
    const int lastRow = settings->roi()->sensorHeight() - 1;
    // A rectangle from a configuration file is cut to the sensor, so the views never read
    // outside their fields.
    x1 = std::clamp(scope->x1(), 0, lastColumn);
    x2 = std::clamp(scope->x2(), x1, lastColumn);
    y1 = std::clamp(scope->y1(), 0, lastRow);
    y2 = std::clamp(scope->y2(), y1, lastRow);
    values.reserve(int(pixelCount()));
    values1.reserve(int(pixelCount()));
}

void InfoPixelScope::connectSignals()
{
    reset();
}

void InfoPixelScope::disconnectSignals()
{
}

void InfoPixelScope::setShown(bool shown)
{
    if (shown) {
        loadRegion();
        show();
        connectSignals();
    } else {
        close();
        disconnectSignals();
    }
}

void InfoPixelScope::reset()
{
    minimum = 0;
    maximum = 0;
    averageValue = 0;
    averageValue1 = 0;
    frames = 0;
}

unsigned InfoPixelScope::pixelCount() const
{
    return unsigned(x2 - x1 + 1) * unsigned(y2 - y1 + 1);
}

void InfoPixelScope::setMinimum(int value)
{
    ZTRACE() << "setMinimum" << value;
    minimum = value;
}

void InfoPixelScope::setMaximum(int value)
{
    ZTRACE() << "setMaximum" << value;
    maximum = value;
}

void InfoPixelScope::setAverage(int value)
{
    ZTRACE() << "setAverage" << value;
    averageValue = value;
}

void InfoPixelScope::setAverage1(int value)
{
    ZTRACE() << "setAverage1" << value;
    averageValue1 = value;
}

void InfoPixelScope::copyInto(const QVector<int>& from, QVector<int>& to)
{
    // Element by element into the scope's own buffer: sharing the view's buffer would make
    // the view's next frame detach (allocate) it.
    to.resize(from.size());
    std::copy(from.cbegin(), from.cend(), to.begin());
}

void InfoPixelScope::setData(const QVector<int>& data)
{
    copyInto(data, values);
    ++frames;
    showFigures();
}

void InfoPixelScope::setData(const QVector<int>& mga, const QVector<int>& mgb)
{
    copyInto(mga, values);
    copyInto(mgb, values1);
    ++frames;
    showFigures();
}

void InfoPixelScope::showFigures()
{
    if (!isVisible())
        return;
    figures->setText(QStringLiteral("Pixels: %1   Minimum: %2   Maximum: %3   Average: %4")
                         .arg(pixelCount())
                         .arg(minimum)
                         .arg(maximum)
                         .arg(averageValue));
}
