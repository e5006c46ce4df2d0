#include "link/ZelTcp.h"
#include "recording/ControllerLog.h"
#include "settings/Settings.h"
#include "support/TestMain.h"

#include <QtTest>

class TestControllerLog : public QObject
{
    Q_OBJECT

private slots:
    void readyAtOnceWhenStopped();
    void readyAfterThePauseAndResumeRestartsVideo();
};

void TestControllerLog::readyAtOnceWhenStopped()
{
    Settings settings;
    ZelTcp tcp(settings.socket());
    ControllerLog log(&settings, &tcp);
    QSignalSpy ready(&log, &ControllerLog::loggingReady);
    QSignalSpy pauseRequested(&settings, &Settings::pauseRequested);
    log.start();
    QCOMPARE(ready.count(), 1);
    QCOMPARE(pauseRequested.count(), 0);
}

void TestControllerLog::readyAfterThePauseAndResumeRestartsVideo()
{
    Settings settings;
    settings.setReadOffsetOnResume(false);
    ZelTcp tcp(settings.socket());
    ControllerLog log(&settings, &tcp);
    QSignalSpy ready(&log, &ControllerLog::loggingReady);
    // The view panel answers pauseRequested() by pausing the loop, one event later.
    connect(&settings, &Settings::pauseRequested, &settings, &Settings::pauseAcquisition,
            Qt::QueuedConnection);
    settings.startAcquisition();

    log.start();
    QCOMPARE(ready.count(), 0);
    QTRY_COMPARE(ready.count(), 1);
    QVERIFY(!settings.videoActive());

    // A second run pauses again and reports once: no connection is left over from the first.
    QSignalSpy locked(&settings, &Settings::fieldsLocked);
    log.finish();
    QVERIFY(settings.videoActive());
    QCOMPARE(locked.count(), 1);
    QCOMPARE(locked.at(0).at(0).toBool(), false);
    log.start();
    QTRY_COMPARE(ready.count(), 2);
    QTest::qWait(50);
    QCOMPARE(ready.count(), 2);
}

KESTRANE_TEST_MAIN(TestControllerLog)
#include "tst_controllerlog.moc"
