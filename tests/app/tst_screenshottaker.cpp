#include "app/ScreenshotTaker.h"
#include "support/TestMain.h"

#include <QSignalSpy>
#include <QTemporaryDir>
#include <QWidget>
#include <QtTest>

namespace {
QWidget* colouredWindow(const QColor& colour, const QSize& size)
{
    auto* window = new QWidget;
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setAutoFillBackground(true);
    QPalette palette = window->palette();
    palette.setColor(QPalette::Window, colour);
    window->setPalette(palette);
    window->setFixedSize(size);
    return window;
}
} // namespace

class TestScreenshotTaker : public QObject
{
    Q_OBJECT

private slots:
    void composesSideBySide();
    void shootsOnceAfterTheFirstPaint();
    void unwritablePathIsReported();
};

void TestScreenshotTaker::composesSideBySide()
{
    std::unique_ptr<QWidget> red(colouredWindow(Qt::red, QSize(40, 30)));
    std::unique_ptr<QWidget> blue(colouredWindow(Qt::blue, QSize(20, 50)));
    const QImage image = ScreenshotTaker::compose({red.get(), blue.get()});
    QCOMPARE(image.size(), QSize(60, 50));
    QCOMPARE(image.pixelColor(5, 5), QColor(Qt::red));
    QCOMPARE(image.pixelColor(39, 29), QColor(Qt::red));
    // Below the shorter window: background.
    QCOMPARE(image.pixelColor(5, 45), QColor(Qt::white));
    QCOMPARE(image.pixelColor(45, 45), QColor(Qt::blue));
    QCOMPARE(ScreenshotTaker::compose({}).size(), QSize(1, 1));
}

void TestScreenshotTaker::shootsOnceAfterTheFirstPaint()
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("shot.png"));
    std::unique_ptr<QWidget> main(colouredWindow(Qt::green, QSize(80, 60)));
    std::unique_ptr<QWidget> other(colouredWindow(Qt::blue, QSize(30, 30)));
    std::unique_ptr<QWidget> hidden(colouredWindow(Qt::red, QSize(30, 30)));
    ScreenshotTaker taker(path);
    QSignalSpy spy(&taker, &ScreenshotTaker::taken);
    taker.watch(main.get());
    other->show();
    main->show();
    QTRY_COMPARE_WITH_TIMEOUT(spy.count(), 1, ScreenshotTaker::settleMs + 5000);
    QCOMPARE(spy.first().first().toBool(), true);
    QImage image(path);
    QVERIFY(!image.isNull());
    // The main window first, then the other visible one; the hidden one is left out.
    QCOMPARE(image.size(), QSize(110, 60));
    QCOMPARE(image.pixelColor(10, 10), QColor(Qt::green));
    QCOMPARE(image.pixelColor(90, 10), QColor(Qt::blue));
    taker.shootNow();
    QCOMPARE(spy.count(), 1);
}

void TestScreenshotTaker::unwritablePathIsReported()
{
    QTemporaryDir dir;
    std::unique_ptr<QWidget> main(colouredWindow(Qt::green, QSize(20, 20)));
    ScreenshotTaker taker(dir.filePath(QStringLiteral("no/such/folder/shot.png")));
    QSignalSpy spy(&taker, &ScreenshotTaker::taken);
    taker.watch(main.get());
    main->show();
    taker.shootNow();
    QCOMPARE(spy.count(), 1);
    QCOMPARE(spy.first().first().toBool(), false);
}

KESTRANE_TEST_MAIN(TestScreenshotTaker)
#include "tst_screenshottaker.moc"
