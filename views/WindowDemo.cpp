#include "views/WindowDemo.h"

#include "app/Trace.h"
#include "settings/Settings.h"

#include <QGridLayout>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QStackedWidget>

#include <algorithm>

WindowDemo::WindowDemo(Settings* settings, QWidget* parent)
    : QMainWindow(parent), settings(settings), stackedWidget(new QStackedWidget)
{
    setObjectName(QStringLiteral("WindowDemo"));
    setWindowTitle(QStringLiteral("Image"));
    setAttribute(Qt::WA_QuitOnClose, false);
    auto* central = new QWidget(this);
    central->setObjectName(QStringLiteral("centralwidget"));
    auto* grid = new QGridLayout(central);
    stackedWidget->setObjectName(QStringLiteral("stackedWidget"));
    grid->addWidget(stackedWidget, 0, 0);
    margin = grid->contentsMargins().left();
    setCentralWidget(central);
    resize(344, 259);
}

WindowDemo::~WindowDemo()
{
    ZTRACE() << "-----WindowDemo destroying";
    ZTRACE() << "-----WindowDemo destroyed";
}

int WindowDemo::addPage(QWidget* page)
{
    return stackedWidget->addWidget(page);
}

int WindowDemo::currentPage() const
{
    return stackedWidget->currentIndex();
}

void WindowDemo::setPage(int index)
{
    if (index < 0 || index >= stackedWidget->count())
        return;
    stackedWidget->setCurrentIndex(index);
    if (pageWidthNeeded() > stackedWidget->minimumWidth())
        fitToSensor();
    switch (index) {
    case 0:
        setWindowTitle(QStringLiteral("Grayscale Image"));
        break;
    case 1:
        setWindowTitle(QStringLiteral("Distance Image"));
        break;
    case 2:
        setWindowTitle(QStringLiteral("Amplitude Image"));
        break;
    case 3:
        setWindowTitle(QStringLiteral("Point Cloud"));
        break;
    case 4:
        setWindowTitle(QStringLiteral("Differential Correlation Samples"));
        break;
    case 5:
        setWindowTitle(QStringLiteral("DCS Difference"));
        break;
    case 6:
        setWindowTitle(QStringLiteral("DCS + Grayscale"));
        break;
    case 8:
        setWindowTitle(QStringLiteral("HDR Distance Images"));
        break;
    default:
        // The FLIM page keeps the current title.
        break;
    }
}

int WindowDemo::pageWidthNeeded() const
{
    const QWidget* page = stackedWidget->currentWidget();
    return page ? page->minimumSizeHint().width() : 0;
}

void WindowDemo::fitToSensor()
{
    const SettingsROI* roi = settings->roi();
    const bool dcsGrayscale = settings->modeIndex() == 8;
    double factor;
    if (settings->chipType() == 2)
        factor = dcsGrayscale ? 2.0 : 1.4;
    else
        factor = dcsGrayscale ? 2.5 : 1.5;
    // A page whose own row of controls needs more (the point cloud's, on the small sensor)
    // gets that width.
    const int width = std::max(int((roi->sensorWidth() + 50) * 1.4), pageWidthNeeded());
    const int height = int((roi->sensorHeight() + 20) * factor);
    stackedWidget->setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    stackedWidget->setMinimumSize(width, height);
    stackedWidget->setGeometry(0, 0, width, height);
    ratio = double(width) / double(height);
    const QRect area = stackedWidget->geometry();
    resize(area.width() + 2 + 1, area.height() + 2 + 1);
}

void WindowDemo::resizeEvent(QResizeEvent* event)
{
    QMainWindow::resizeEvent(event);
    const QSize size = event->size();
    if (ratio > 0.0 && size.width() > 0 && size.height() > 0) {
        int width;
        int height;
        if (double(size.width()) / double(size.height()) > ratio) {
            height = size.height() - 2 * margin;
            width = int(ratio * height);
        } else {
            width = size.width() - 2 * margin;
            height = int(width / ratio);
        }
        if (width > 0 && height > 0) {
            stackedWidget->setMaximumSize(width, height);
            stackedWidget->setGeometry(stackedWidget->x(), stackedWidget->y(), width, height);
        }
    }
    storeGeometry();
}

void WindowDemo::moveEvent(QMoveEvent* event)
{
    QMainWindow::moveEvent(event);
    storeGeometry();
}

void WindowDemo::storeGeometry()
{
    settings->setWindDemoPosX(x());
    settings->setWindDemoPosY(y());
    settings->setWindDemoWidth(width());
    settings->setWindDemoHeight(height());
}

void WindowDemo::setWindowSize()
{
    if (settings->windDemoWidth() != 0 && settings->windDemoHeight() != 0)
        setGeometry(settings->windDemoPosX(), settings->windDemoPosY(), settings->windDemoWidth(),
                    settings->windDemoHeight());
}
