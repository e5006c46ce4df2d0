#include "app/Trace.h"
#include "support/TestMain.h"

#include <QFile>
#include <QImage>
#include <QtTest>

class TestResources : public QObject
{
    Q_OBJECT

private slots:
    void everyNamedPictureLoads_data();
    void everyNamedPictureLoads();
    void styleSheetCarriesTheBindingLook();
    void tracesAreQuietUntilEnabled();
};

void TestResources::everyNamedPictureLoads_data()
{
    QTest::addColumn<QString>("path");
    const char* const icons[] = {"videoStop", "videoStart",   "vertical",   "successful", "shift",
                                 "picture",   "mouse_middle", "mouse_left", "key_alt",    "key_ctrl",
                                 "info",      "important",    "horizontal", "failed"};
    for (const char* icon : icons)
        QTest::addRow("icon %s", icon)
            << QStringLiteral(":/icons/images/icons/%1.png").arg(QLatin1String(icon));
    const char* const tools[] = {"settings", "command", "view", "log", "calibration", "save_load"};
    for (const char* tool : tools) {
        for (const char* state : {"", "_disabled", "_hover"}) {
            QTest::addRow("tool bar %s%s", tool, state)
                << QStringLiteral(":/toolbar/images/toolbar/%1%2.png")
                       .arg(QLatin1String(tool), QLatin1String(state));
        }
    }
    QTest::addRow("splash screen") << QStringLiteral(
        ":/splash_screen/images/splash_screen/splash_screen.png");
    QTest::addRow("crosshair cursor") << QStringLiteral(":/cursors/cursor_crosshair.png");
    QTest::addRow("logo") << QStringLiteral(":/images/logo.png");
    for (const char* arrow : {"spin_up", "spin_down", "spin_up_disabled", "spin_down_disabled"})
        QTest::addRow("%s", arrow) << QStringLiteral(":/images/%1.png").arg(QLatin1String(arrow));
}

void TestResources::everyNamedPictureLoads()
{
    QFETCH(QString, path);
    const QImage image(path);
    QVERIFY2(!image.isNull(), qPrintable(path));
    // A picture that is one flat colour would be a drawing that failed silently.
    const QRgb first = image.pixel(0, 0);
    bool varies = false;
    for (int y = 0; y < image.height() && !varies; ++y)
        for (int x = 0; x < image.width() && !varies; ++x)
            varies = image.pixel(x, y) != first;
    QVERIFY2(varies, qPrintable(path));
}

void TestResources::styleSheetCarriesTheBindingLook()
{
    QFile file(QStringLiteral(":/stylesheets/main.qss"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    QVERIFY(text.contains(QLatin1String("font-family: Arial")));
    QVERIFY(text.contains(QLatin1String("font-size: 8pt")));
    QVERIFY(text.contains(QLatin1String("rgb(237, 239, 238)")));
    QVERIFY(text.contains(QLatin1String("rgb(35, 142, 194)")));
    QVERIFY(text.contains(QLatin1String("rgb(123, 212, 9)")));
    QVERIFY(text.contains(QLatin1String("url(:/images/spin_up.png)")));
    QVERIFY(text.contains(QLatin1String("url(:/images/spin_down.png)")));
    // Every url() in the sheet must name a resource that exists.
    int from = 0;
    while ((from = text.indexOf(QLatin1String("url("), from)) >= 0) {
        const int end = text.indexOf(QLatin1Char(')'), from);
        const QString path = text.mid(from + 4, end - from - 4);
        QVERIFY2(QFile::exists(path), qPrintable(path));
        from = end;
    }
}

void TestResources::tracesAreQuietUntilEnabled()
{
    QVERIFY(!lcTrace().isDebugEnabled());
    qputenv("KESTRANE_TRACE", "0");
    Trace::enableFromEnvironment();
    QVERIFY(!lcTrace().isDebugEnabled());
    qputenv("KESTRANE_TRACE", "1");
    Trace::enableFromEnvironment();
    QVERIFY(lcTrace().isDebugEnabled());
    QLoggingCategory::setFilterRules(QStringLiteral("kestrane.trace.debug=false"));
    qunsetenv("KESTRANE_TRACE");
}

KESTRANE_TEST_MAIN(TestResources)
#include "tst_resources.moc"
