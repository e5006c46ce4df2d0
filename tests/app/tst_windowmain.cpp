#include "app/ApplicationContext.h"
#include "app/ConfigurationChoice.h"
#include "app/StartupManager.h"
#include "app/WindowMain.h"
#include "support/TestMain.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QStackedWidget>
#include <QToolBar>
#include <QtTest>

// The main window as far as the start-up needs it: its frame, the product label and the
// configuration chosen after the connection.
class TestWindowMain : public QObject
{
    Q_OBJECT

private slots:
    void frame();
    void initializeByChipType_data();
    void initializeByChipType();
    void configurationChoice_data();
    void configurationChoice();
    void calibrationAction();
    void startVideoWish();
};

void TestWindowMain::frame()
{
    ApplicationContext context;
    StartupManager manager(&context);
    WindowMain window(&context, &manager);
    QCOMPARE(window.windowTitle(), QStringLiteral("Kestrane TOF Imager"));
    QCOMPARE(window.contextMenuPolicy(), Qt::NoContextMenu);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lProduct"))->text(), QStringLiteral("zc320"));
    QVERIFY(window.findChild<QWidget*>(QStringLiteral("tbLogo")));
    // Page 0 is the view panel.
    auto* pages = window.findChild<QStackedWidget*>(QStringLiteral("stackedView"));
    QCOMPARE(pages->count(), 1);
    QCOMPARE(pages->widget(0)->objectName(), QStringLiteral("view"));
    QVERIFY(window.findChild<QLabel*>(QStringLiteral("lStatus"))->parent() ==
            window.findChild<QWidget*>(QStringLiteral("wStatus")));

    auto* toolBar = window.findChild<QToolBar*>(QStringLiteral("mainToolBar"));
    QVERIFY(toolBar);
    QCOMPARE(window.toolBarArea(toolBar), Qt::LeftToolBarArea);
    QVERIFY(!toolBar->isMovable());
    QVERIFY(!toolBar->isFloatable());
    QStringList onToolBar;
    for (QAction* action : toolBar->actions())
        onToolBar << action->objectName();
    QCOMPARE(onToolBar, (QStringList{"actionView", "actionCommand", "actionLog", "actionCalibration",
                                     "actionSaveLoad"}));

    const struct
    {
        const char* name;
        const char* text;
        const char* icon;
    } actions[] = {{"actionSettings", "Settings", "settings"},
                   {"actionCommand", "Commands", "command"},
                   {"actionView", "View", "view"},
                   {"actionLog", "Log", "log"},
                   {"actionCalibration", "Calibration", "calibration"},
                   {"actionSaveLoad", "Save/Load", "save_load"}};
    for (const auto& expected : actions) {
        auto* action = window.findChild<QAction*>(QLatin1String(expected.name));
        QVERIFY2(action, expected.name);
        QCOMPARE(action->text(), QLatin1String(expected.text));
        QCOMPARE(action->isCheckable(), qstrcmp(expected.name, "actionView") == 0);
        const QString base = QStringLiteral(":/toolbar/images/toolbar/") + QLatin1String(expected.icon);
        const QIcon icon = action->icon();
        QCOMPARE(icon.pixmap(64, QIcon::Normal).toImage(), QPixmap(base + QStringLiteral(".png")).toImage());
        QCOMPARE(icon.pixmap(64, QIcon::Disabled).toImage(),
                 QPixmap(base + QStringLiteral("_disabled.png")).toImage());
        QCOMPARE(icon.pixmap(64, QIcon::Active).toImage(),
                 QPixmap(base + QStringLiteral("_hover.png")).toImage());
    }
}

void TestWindowMain::initializeByChipType_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<bool>("flim");
    QTest::addColumn<QString>("product");
    QTest::addColumn<bool>("statusShown");
    QTest::addColumn<int>("sensorHeight");
    QTest::addRow("zc320") << 2 << false << "zc320" << true << 252;
    QTest::addRow("zc210") << 3 << true << "zc210" << false << 252;
    QTest::addRow("zc310") << 4 << false << "zc310" << true << 72;
    QTest::addRow("zc220") << 5 << true << "zc220" << false << 72;
    QTest::addRow("offline, no chip") << 0 << false << "zc320" << true << 252;
}

void TestWindowMain::initializeByChipType()
{
    QFETCH(int, chipType);
    QFETCH(bool, flim);
    QFETCH(QString, product);
    QFETCH(bool, statusShown);
    QFETCH(int, sensorHeight);
    ApplicationContext context;
    StartupManager manager(&context);
    context.settings()->setChipType(chipType);
    context.settings()->flim()->setFlimChip(flim);
    WindowMain window(&context, &manager);
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    window.initialize(false);
    QCOMPARE(window.findChild<QLabel*>(QStringLiteral("lProduct"))->text(), product);
    QCOMPARE(window.findChild<QWidget*>(QStringLiteral("wStatus"))->isVisible(), statusShown);
    QCOMPARE(context.settings()->readOffsetOnResume(), !flim);
    QCOMPARE(context.settings()->roi()->sensorHeight(), sensorHeight);
    QCOMPARE(window.chosenConfiguration(), ConfigurationChoice::primary(chipType, false));
    window.hide();
}

void TestWindowMain::configurationChoice_data()
{
    QTest::addColumn<int>("chipType");
    QTest::addColumn<bool>("loadDefault");
    QTest::addColumn<QString>("primary");
    QTest::addColumn<QString>("second");
    const QString temp = QDir::tempPath();
    QTest::addRow("zc320 default") << 2 << true << ":/config/zc320_settings_default.xml"
                                   << ":/config/zc320_settings_default2.xml";
    QTest::addRow("zc320 last") << 2 << false << temp + "/zc320_settings_last.xml"
                                << ":/config/zc320_settings_default2.xml";
    QTest::addRow("zc210 default") << 3 << true << ":/config/zc210_settings_default.xml"
                                   << "";
    QTest::addRow("zc210 last") << 3 << false << temp + "/zc210_settings_last.xml"
                                << "";
    QTest::addRow("zc310 default") << 4 << true << ":/config/zc310_settings_default.xml"
                                   << ":/config/zc310_settings_default2.xml";
    QTest::addRow("zc310 last") << 4 << false << temp + "/zc310_settings_last.xml"
                                << ":/config/zc310_settings_default2.xml";
    QTest::addRow("zc220 default") << 5 << true << ":/config/zc220_settings_default.xml"
                                   << "";
    QTest::addRow("zc220 last") << 5 << false << temp + "/zc220_settings_last.xml"
                                << "";
    QTest::addRow("offline default") << 0 << true << ""
                                     << "";
    QTest::addRow("offline last") << 0 << false << ""
                                  << "";
    QTest::addRow("chip type 1") << 1 << true << ""
                                 << "";
    QTest::addRow("chip type 6") << 6 << false << ""
                                 << "";
}

void TestWindowMain::configurationChoice()
{
    QFETCH(int, chipType);
    QFETCH(bool, loadDefault);
    QFETCH(QString, primary);
    QFETCH(QString, second);
    QCOMPARE(ConfigurationChoice::primary(chipType, loadDefault), primary);
    QCOMPARE(ConfigurationChoice::secondDefault(chipType), second);
}

void TestWindowMain::calibrationAction()
{
    ApplicationContext context;
    StartupManager manager(&context);
    WindowMain window(&context, &manager);
    auto* calibration = window.findChild<QAction*>(QStringLiteral("actionCalibration"));
    QVERIFY(!calibration->isVisible());
    QVERIFY(!calibration->isEnabled());
    window.enableCalibration(true);
    QVERIFY(calibration->isVisible() && calibration->isEnabled());
    QVERIFY(context.settings()->enabledCalibration());
    // A FLIM chip has no calibration page.
    context.settings()->setChipType(5);
    context.settings()->flim()->setFlimChip(true);
    window.initialize(true);
    QVERIFY(!calibration->isVisible());

    QSignalSpy logSpy(&window, &WindowMain::showLogDialog);
    window.findChild<QAction*>(QStringLiteral("actionLog"))->trigger();
    QCOMPARE(logSpy.count(), 1);
    QCOMPARE(logSpy.first().first().toBool(), true);
    window.enableLogIcon(false);
    QVERIFY(!window.findChild<QAction*>(QStringLiteral("actionLog"))->isEnabled());
}

void TestWindowMain::startVideoWish()
{
    ApplicationContext context;
    StartupManager manager(&context);
    WindowMain window(&context, &manager);
    QSignalSpy spy(&window, &WindowMain::videoStartRequested);
    window.setStartVideoWhenShown(true);
    window.show();
    QTRY_COMPARE(spy.count(), 1);
    window.hide();
    window.show();
    QTest::qWait(50);
    // Once, at the first showing only.
    QCOMPARE(spy.count(), 1);
    window.hide();
}

KESTRANE_TEST_MAIN(TestWindowMain)
#include "tst_windowmain.moc"
