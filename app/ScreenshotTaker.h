#pragma once

#include <QImage>
#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>

class QPixmap;

class QWidget;

// Saves a picture of the application's windows for demos and smoke tests
// (command line "--screenshot PATH"): once the watched main window has painted and a
// settling delay has passed, or as soon as shootNow() is called (for example when the first
// frames are shown), every visible top-level window is grabbed into one PNG, side by side.
class ScreenshotTaker final : public QObject
{
    Q_OBJECT

public:
    static constexpr int settleMs = 1500;
    // A window that never paints (no display to expose it) is grabbed after this anyway.
    static constexpr int paintWaitMs = 20000;

    explicit ScreenshotTaker(const QString& path, QObject* parent = nullptr);
    ~ScreenshotTaker() override;

    // Starts the settling delay at the window's first paint (at the latest after paintWaitMs).
    void watch(QWidget* mainWindow);
    // The window pictured first (on the left) when shootNow() is called without watch().
    void setMainWindow(QWidget* window) { mainWindow = window; }

    QString path() const { return m_path; }

    // The windows placed left to right in the order given, top-aligned, on white.
    static QImage compose(const QList<QWidget*>& windows);
    // Paints the frame buffers of the OpenGL widgets inside `window` over its grabbed picture.
    static void paintOpenGlChildren(QWidget* window, QPixmap& picture);
    // Visible top-level windows of the application, the main window first.
    static QList<QWidget*> visibleWindows(QWidget* first);

signals:
    // After the file was written (ok) or could not be (not ok).
    void taken(bool ok);

public slots:
    void shootNow();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QString m_path;
    QPointer<QWidget> mainWindow;
    QTimer settle;
    QTimer paintWait;
    bool done = false;
};
