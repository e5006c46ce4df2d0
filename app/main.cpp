#include "app/ApplicationContext.h"
#include "app/CommandLineOptions.h"
#include "app/DialogStart.h"
#include "app/EventLoopWatch.h"
#include "app/MessageAutoCloser.h"
#include "app/Resources.h"
#include "app/ScreenshotTaker.h"
#include "app/ShutdownSignals.h"
#include "app/StartupManager.h"
#include "app/Trace.h"
#include "app/WidgetView.h"
#include "app/WindowMain.h"
#include "recording/WidgetLog.h"

#include <QApplication>
#include <QFile>
#include <QPixmap>
#include <QSplashScreen>
#include <QTimer>

#include <cstdio>
#include <memory>

namespace {
QStringList argumentList(int argc, char* argv[])
{
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    return arguments;
}

// Help, version and option errors need no display: answered by a core application.
int answerWithoutWindows(int argc, char* argv[], const CommandLineOptions& options, bool ok)
{
    QCoreApplication core(argc, argv);
    if (!ok) {
        std::fprintf(stderr, "kestrane: %s\nTry 'kestrane --help'.\n", qPrintable(options.errorText()));
        return 2;
    }
    if (options.helpRequested())
        std::fputs(qPrintable(options.helpText()), stdout);
    else
        std::printf("Kestrane TOF Imager %s\n", StartupManager::clientVersion);
    return 0;
}

void installStyleSheet(QApplication* application)
{
    QFile styleSheet(QStringLiteral(":/stylesheets/main.qss"));
    if (!styleSheet.open(QIODevice::ReadOnly))
        return;
    const QByteArray bytes = styleSheet.readAll();
    const int nul = bytes.indexOf('\0');
    application->setStyleSheet(QString::fromUtf8(nul >= 0 ? bytes.left(nul) : bytes));
}
std::unique_ptr<QSplashScreen> showSplashScreen()
{
    auto splash = std::make_unique<QSplashScreen>(QPixmap());
    splash->setPixmap(QPixmap(QStringLiteral(":/splash_screen/images/splash_screen/splash_screen.png")));
    splash->show();
    // Painted before blocking exchanges hold the event loop.
    QCoreApplication::processEvents();
    return splash;
}
} // namespace

int main(int argc, char* argv[])
{
    CommandLineOptions options;
    const bool parsed = options.parse(argumentList(argc, argv));
    if (!parsed || options.helpRequested() || options.versionRequested())
        return answerWithoutWindows(argc, argv, options, parsed);

    QApplication application(argc, argv);
    Trace::enableFromEnvironment();
    Resources::initialize();
    installStyleSheet(&application);

    // From here on SIGTERM and SIGINT close the program as the window's close does; one that
    // arrives before the main window exists closes it as soon as it is shown.
    ShutdownSignals shutdownSignals;
    bool closeRequested = false;
    std::unique_ptr<WindowMain> window;
    QObject::connect(&shutdownSignals, &ShutdownSignals::received, &application, [&] {
        closeRequested = true;
        if (window && window->isVisible())
            window->close();
    });

    MessageAutoCloser autoCloser;
    // A headless capture never waits for a click.
    if (MessageAutoCloser::requested() || options.capture() > 0)
        autoCloser.install();

    // Destroyed in reverse: splash screen, start dialog, start-up manager, context (the main
    // window, declared above for the signals, is destroyed explicitly before them).
    ApplicationContext context;
    StartupManager startupManager(&context);
    DialogStart dialog(&startupManager);
    std::unique_ptr<QSplashScreen> splash;

    bool loadDefault = options.loadDefault();
    if (options.skipStartDialog()) {
        if (options.hasPort())
            context.settings()->socket()->setPort(options.port());
        if (options.hasIp())
            dialog.overrideAddress(options.ip());
        window = std::make_unique<WindowMain>(&context, &startupManager);
        splash = showSplashScreen();
        // The dialog stays hidden; the outcome only decides the messages: the main window
        // opens in any case, without a working connection after a failure.
        if (loadDefault)
            dialog.on_tbDefault_clicked();
        else
            dialog.on_tbLast_clicked();
    } else {
        if (dialog.exec() != QDialog::Accepted)
            return 0;
        window = std::make_unique<WindowMain>(&context, &startupManager);
        splash = showSplashScreen();
        loadDefault = startupManager.configMode() != StartupManager::LoadLast;
    }
    // Unattended starts with the default configuration offer no pre-configuration file.
    window->setOfferPreConfiguration(!options.loadDefault());
    window->initialize(loadDefault);
    window->setStartVideoWhenShown(options.startVideo());
    auto* view = window->findChild<WidgetView*>(QStringLiteral("view"));
    if (options.viewMode() >= 0)
        view->selectViewMode(options.viewMode());
    // --start-video presses "Start" once the window is up.
    QObject::connect(window.get(), &WindowMain::videoStartRequested, view,
                     &WidgetView::on_pbGetVideo_clicked);

    bool captureFailed = false;
    if (options.capture() > 0) {
        if (dialog.result() != QDialog::Accepted) {
            std::fprintf(stderr, "kestrane: cannot reach the camera at %s:%d\n",
                         qPrintable(context.settings()->socket()->ip()),
                         context.settings()->socket()->port());
            window.reset();
            return 1;
        }
        Settings* settings = context.settings();
        if (!options.logPath().isEmpty())
            settings->setLogPath(options.logPath());
        if (!options.logName().isEmpty())
            settings->setLogFilename(options.logName());
        settings->setLogNumberOfPictures(options.capture());
        // Always N pictures, whatever the capture panel left.
        settings->setLogUnlimited(false);
        auto* page = window->findChild<WidgetLog*>();
        page->setUnattended(true);
        settings->announceUpdateLog();
        QObject::connect(
            page, &WidgetLog::runFinished, window.get(), [&, page](bool ok, const QString& reason) {
                captureFailed = !ok;
                if (!ok)
                    std::fprintf(stderr, "kestrane: %s\n",
                                 qPrintable(QString(reason).replace(QLatin1Char('\n'), QLatin1String(": "))));
                else
                    std::fprintf(stderr, "kestrane: captured %d pictures to %s\n", page->picturesWritten(),
                                 qPrintable(page->runPath() + QLatin1Char('/') + page->runBaseName()));
                window->close();
            });
        QTimer::singleShot(0, page, &WidgetLog::startLogging);
    }

    // With traces on, every long hold of the event loop from here on is traced (the fault
    // matrix reads them); the splash screen's own loop below already runs frames.
    EventLoopWatch eventLoopWatch;
    eventLoopWatch.start();
    window->show();
    // The splash screen waits here for the main window to be exposed, running the event loop:
    // live video may already start and the first frames arrive. The screenshot is armed only
    // after it is gone, so that it never pictures the splash screen, and a close requested in
    // this loop cannot be lost before the application's own loop runs.
    splash->finish(window.get());
    splash.reset();

    std::unique_ptr<ScreenshotTaker> screenshot;
    bool screenshotFailed = false;
    if (options.hasScreenshot()) {
        screenshot = std::make_unique<ScreenshotTaker>(options.screenshotPath());
        if (options.startVideo()) {
            screenshot->setMainWindow(window.get());
            // With live video the picture is taken once a frame is shown (queued, so that the
            // image window has painted it), or after a grace period without frames.
            QObject::connect(view, &WidgetView::pictureShown, screenshot.get(), &ScreenshotTaker::shootNow,
                             Qt::QueuedConnection);
            QTimer::singleShot(15000, screenshot.get(), &ScreenshotTaker::shootNow);
        } else {
            screenshot->watch(window.get());
            window->update();
        }
        QObject::connect(screenshot.get(), &ScreenshotTaker::taken, window.get(), [&](bool ok) {
            screenshotFailed = !ok;
            if (!ok)
                std::fprintf(stderr, "kestrane: could not write the screenshot %s\n",
                             qPrintable(options.screenshotPath()));
            window->close();
        });
    }

    if (closeRequested)
        window->close();
    // A window already closed (by a message's own event loop, for example) has asked the
    // application to quit before its loop ran; that request would be lost.
    const int exitCode = window->isVisible() ? application.exec() : 0;
    screenshot.reset();
    window.reset();
    return screenshotFailed || captureFailed ? 1 : exitCode;
}
