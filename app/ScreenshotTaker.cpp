#include "app/ScreenshotTaker.h"

#include "app/Trace.h"

#include <QApplication>
#include <QEvent>
#include <QGLWidget>
#include <QPainter>
#include <QPixmap>
#include <QWidget>

ScreenshotTaker::ScreenshotTaker(const QString& path, QObject* parent) : QObject(parent), m_path(path)
{
    settle.setSingleShot(true);
    settle.setInterval(settleMs);
    connect(&settle, &QTimer::timeout, this, &ScreenshotTaker::shootNow);
    paintWait.setSingleShot(true);
    paintWait.setInterval(paintWaitMs);
    connect(&paintWait, &QTimer::timeout, this, &ScreenshotTaker::shootNow);
}

ScreenshotTaker::~ScreenshotTaker()
{
    ZTRACE() << "***ScreenshotTaker destroyed";
}

void ScreenshotTaker::watch(QWidget* window)
{
    mainWindow = window;
    window->installEventFilter(this);
    paintWait.start();
}

bool ScreenshotTaker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == mainWindow && event->type() == QEvent::Paint && !settle.isActive() && !done) {
        mainWindow->removeEventFilter(this);
        paintWait.stop();
        settle.start();
    }
    return QObject::eventFilter(watched, event);
}

QList<QWidget*> ScreenshotTaker::visibleWindows(QWidget* first)
{
    QList<QWidget*> windows;
    if (first && first->isVisible())
        windows.append(first);
    const QWidgetList all = QApplication::topLevelWidgets();
    for (QWidget* widget : all) {
        if (widget != first && widget->isWindow() && widget->isVisible() &&
            widget->windowType() != Qt::ToolTip && widget->windowType() != Qt::Popup)
            windows.append(widget);
    }
    return windows;
}

void ScreenshotTaker::paintOpenGlChildren(QWidget* window, QPixmap& picture)
{
    // An OpenGL widget draws into its own frame buffer, which a grab of the window does not
    // see (it comes out black): its frame buffer is painted over its place.
    const QList<QGLWidget*> glWidgets = window->findChildren<QGLWidget*>();
    if (glWidgets.isEmpty())
        return;
    QPainter painter(&picture);
    for (QGLWidget* gl : glWidgets) {
        if (!gl->isVisible())
            continue;
        const QPoint at = gl->mapTo(window, QPoint(0, 0));
        painter.drawImage(QRect(at, gl->size()), gl->grabFrameBuffer());
    }
}

QImage ScreenshotTaker::compose(const QList<QWidget*>& windows)
{
    QList<QPixmap> pictures;
    int width = 0;
    int height = 0;
    for (QWidget* window : windows) {
        QPixmap picture = window->grab();
        paintOpenGlChildren(window, picture);
        // Device-independent size, so that the pictures line up on high-density screens.
        const QSize size = picture.size() / picture.devicePixelRatio();
        width += size.width();
        height = qMax(height, size.height());
        pictures.append(picture);
    }
    QImage image(qMax(width, 1), qMax(height, 1), QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter painter(&image);
    int x = 0;
    for (const QPixmap& picture : qAsConst(pictures)) {
        const QSize size = picture.size() / picture.devicePixelRatio();
        painter.drawPixmap(QRect(QPoint(x, 0), size), picture);
        x += size.width();
    }
    return image;
}

void ScreenshotTaker::shootNow()
{
    if (done)
        return;
    done = true;
    settle.stop();
    paintWait.stop();
    const QImage image = compose(visibleWindows(mainWindow));
    const bool ok = image.save(m_path, "PNG");
    ZTRACE() << "screenshot" << m_path << (ok ? "written" : "could not be written");
    emit taken(ok);
}
