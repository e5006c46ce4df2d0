#include "app/ApplicationContext.h"
#include "recording/WidgetLog.h"
#include "recording/WidgetLogging.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QToolButton>
#include <QtTest>

// The capture panel beside the live image and the Logging page, on one settings hub.
class TestWidgetLogging : public QObject
{
    Q_OBJECT

private slots:
    void staysInStepWithThePage();
    void layoutFollowsTheViewMode();
    void captureFromThePanel_data();
    void captureFromThePanel();
};

namespace {

template <class T>
T* child(QWidget& parent, const char* name)
{
    T* found = parent.findChild<T*>(QLatin1String(name));
    if (!found)
        qFatal("no %s", name);
    return found;
}

// Answers the page's confirmation question with "OK" as soon as it is up.
void answerOk(QObject* guard)
{
    QTimer::singleShot(50, guard, [guard] {
        auto* box =
            QApplication::activeModalWidget()
                ? QApplication::activeModalWidget()->findChild<QDialogButtonBox*>(QStringLiteral("bbYesNo"))
                : nullptr;
        if (box)
            box->button(QDialogButtonBox::Ok)->click();
        else
            answerOk(guard);
    });
}

} // namespace

void TestWidgetLogging::staysInStepWithThePage()
{
    ApplicationContext context;
    Settings* settings = context.settings();
    settings->setModeIndex(1);
    WidgetLog page(&context);
    WidgetLogging panel(settings);

    // The panel's changes reach the page.
    child<QLineEdit>(panel, "leFileName")->setText(QStringLiteral("scene"));
    QCOMPARE(child<QLineEdit>(page, "leFilename")->text(), QStringLiteral("scene"));
    child<QSpinBox>(panel, "sbNumberOfPictures")->setValue(7);
    QCOMPARE(child<QSpinBox>(page, "sbNumberOfPictures")->value(), 7);
    child<QRadioButton>(panel, "rbLSB")->setChecked(true);
    QVERIFY(child<QRadioButton>(page, "rbLSB")->isChecked());

    // The page's changes reach the panel.
    child<QLineEdit>(page, "leFilename")->setText(QStringLiteral("other"));
    QCOMPARE(child<QLineEdit>(panel, "leFileName")->text(), QStringLiteral("other"));
    child<QSpinBox>(page, "sbNumberOfPictures")->setValue(12);
    QCOMPARE(child<QSpinBox>(panel, "sbNumberOfPictures")->value(), 12);
    child<QCheckBox>(page, "cbSaveCSV")->click();
    QVERIFY(!child<QCheckBox>(panel, "cbCSV")->isChecked());

    // An empty path shows and stores the current directory.
    settings->setLogPath(QString());
    panel.updateControls();
    QCOMPARE(settings->logPath(), QDir::currentPath());

    // Clearing the name stores it empty; a capture stores "unnamed" and leaves the field empty.
    child<QLineEdit>(panel, "leFileName")->clear();
    QCOMPARE(settings->logFilename(), QString());
    QSignalSpy capture(settings, &Settings::captureLogImages);
    QObject::disconnect(settings, &Settings::captureLogImages, &page, nullptr);
    child<QToolButton>(panel, "tbCapture")->click();
    QCOMPARE(capture.count(), 1);
    QCOMPARE(settings->logFilename(), QStringLiteral("unnamed"));
    QCOMPARE(child<QLineEdit>(panel, "leFileName")->text(), QString());
}

void TestWidgetLogging::layoutFollowsTheViewMode()
{
    Settings settings;
    WidgetLogging panel(&settings);
    panel.show();
    QVERIFY(settings.logUnlimited());
    const QStringList content{"cbDistanceUnfiltered",
                              "cbAmplitude",
                              "cbDistanceFiltered",
                              "lUnit",
                              "rbLSB",
                              "rbMM",
                              "cbPNG",
                              "cbCSV"};
    for (int mode : {8, 1, 8, 0}) {
        settings.setModeIndex(mode);
        settings.announceUpdateCaptureLog();
        const bool raw = mode == 8;
        QCOMPARE(settings.logUnlimited(), raw);
        for (const QString& name : content)
            QVERIFY2(panel.findChild<QWidget*>(name)->isVisible() == !raw, qPrintable(name));
        QVERIFY(!child<QCheckBox>(panel, "cbBin")->isVisible());
        QVERIFY(child<QSpinBox>(panel, "sbNumberOfPictures")->isVisible());
        QVERIFY(child<QLineEdit>(panel, "leFileName")->isVisible());
    }
}

void TestWidgetLogging::captureFromThePanel_data()
{
    QTest::addColumn<int>("mode");
    QTest::addRow("distance: three pictures") << 1;
    QTest::addRow("DCS + grayscale: rounds of three until stopped") << 8;
}

void TestWidgetLogging::captureFromThePanel()
{
    QFETCH(int, mode);

    SimulatorProcess sim;
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    ApplicationContext context;
    Settings* settings = context.settings();
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
    settings->socket()->setPort(sim.port());
    settings->setChipType(2);
    settings->roi()->setChipType(2);
    settings->setReadOffsetOnResume(false);
    settings->setModeIndex(mode);
    QTemporaryDir dir;
    WidgetLog page(&context);
    WidgetLogging panel(settings);
    // As the main window wires them: the panel's button stops a run in rounds.
    connect(&page, &WidgetLog::runStarted, &panel, [&] { panel.setRunActive(true); });
    connect(&page, &WidgetLog::runFinished, &panel, [&] { panel.setRunActive(false); });
    settings->setLogPath(dir.path());
    settings->announceUpdateCaptureLog();
    child<QLineEdit>(panel, "leFileName")->setText(QStringLiteral("cap"));
    child<QSpinBox>(panel, "sbNumberOfPictures")->setValue(3);

    QSignalSpy finished(&page, &WidgetLog::runFinished);
    QObject guard;
    answerOk(&guard);
    child<QToolButton>(panel, "tbCapture")->click();
    if (mode == 8) {
        QCOMPARE(child<QToolButton>(panel, "tbCapture")->text(), QStringLiteral("Stop"));
        QTRY_VERIFY_WITH_TIMEOUT(page.picturesWritten() >= 4, 30000);
        QCOMPARE(finished.count(), 0);
        child<QToolButton>(panel, "tbCapture")->click();
    }
    QTRY_COMPARE_WITH_TIMEOUT(finished.count(), 1, 30000);
    QVERIFY2(finished.at(0).at(0).toBool(), qPrintable(finished.at(0).at(1).toString()));
    QCOMPARE(child<QToolButton>(panel, "tbCapture")->text(), QStringLiteral("Capture"));
    const int pictures = page.picturesWritten();
    QCOMPARE(pictures % 3, 0);

    const QString base = page.runBaseName();
    QVERIFY(base.startsWith(QStringLiteral("cap_")));
    QStringList expected{base + ".txt"};
    if (mode == 8) {
        expected << base + ".bin";
        const SettingsROI* roi = settings->roi();
        QCOMPARE(QFileInfo(dir.filePath(base + ".bin")).size(),
                 qint64(pictures) * 5 * 2 * (roi->x2() - roi->x1() + 1) * (roi->y2() - roi->y1() + 1));
    } else {
        QCOMPARE(pictures, 3);
        expected << base + ".csv" << base + "_001.png" << base + "_002.png" << base + "_003.png";
    }
    QStringList written = QDir(dir.path()).entryList(QDir::Files);
    written.sort();
    expected.sort();
    QCOMPARE(written, expected);
}

KESTRANE_TEST_MAIN(TestWidgetLogging)
#include "tst_widgetlogging.moc"
