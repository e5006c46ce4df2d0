#include "app/ApplicationContext.h"
#include "service/WidgetCalibration.h"
#include "support/CameraScript.h"
#include "support/ScriptedServer.h"
#include "support/TestMain.h"
#include "widgets/DialogOK.h"
#include "widgets/DialogProgress.h"
#include "widgets/DialogYesNo.h"

#include <QLabel>
#include <QSpinBox>
#include <QTableView>
#include <QToolButton>
#include <QtTest>

#include <memory>

namespace {

// Answers the question (OK or Cancel) and then the result message, recording what they said.
struct Answers : QObject
{
    bool confirm = true;
    QString questionTitle;
    int questionWidth = 0;
    QString title;
    QString text;
    bool busyShown = false;

    void arm()
    {
        QTimer::singleShot(20, this, [this] { answer(); });
    }
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* question = qobject_cast<DialogYesNo*>(modal)) {
            questionTitle = question->windowTitle();
            questionWidth = question->width();
            confirm ? question->accept() : question->reject();
        } else if (auto* message = qobject_cast<DialogOK*>(modal)) {
            title = message->windowTitle();
            text = message->message();
            message->accept();
            return;
        } else if (qobject_cast<DialogProgress*>(modal)) {
            busyShown = true;
        }
        arm();
    }
};

struct Page
{
    explicit Page(quint16 port)
    {
        context.settings()->socket()->setIp(QStringLiteral("127.0.0.1"));
        context.settings()->socket()->setPort(port);
        context.settings()->setReadOffsetOnResume(false);
        page = std::make_unique<WidgetCalibration>(&context);
    }
    Settings* settings() { return context.settings(); }
    QSpinBox* fov() const { return page->findChild<QSpinBox*>(QStringLiteral("sbFOV")); }

    ApplicationContext context;
    std::unique_ptr<WidgetCalibration> page;
};

} // namespace

class TestCalibration : public QObject
{
    Q_OBJECT

private slots:
    void form();
    void defaultFrequencies();
    void calibrations_data();
    void calibrations();
};

void TestCalibration::form()
{
    Page p(ScriptedServer::unusedPort());
    p.page->show();
    for (const char* name : {"lDistanceCalibration", "lDistance", "sbDistance", "tbFPN", "line_2",
                             "lStoredCalibrations", "tableView", "tbRestoreCalibration"}) {
        auto* widget = p.page->findChild<QWidget*>(QLatin1String(name));
        QVERIFY2(widget && !widget->isVisible() && !widget->isEnabled(), name);
    }
    QVERIFY(p.page->findChild<QToolButton*>(QStringLiteral("tbDRNUCalibration"))->isVisible());
    QCOMPARE(p.fov()->value(), 94);

    // A loaded configuration shows its field of view; the value already stored is not
    // written again.
    p.settings()->calibration()->setFov(108);
    QCOMPARE(p.fov()->value(), 108);
    QSignalSpy written(p.settings()->calibration(), &SettingsCalibration::updateFOV);
    p.page->on_sbFOV_valueChanged(108);
    QCOMPARE(written.count(), 0);
    p.fov()->setValue(120);
    QCOMPARE(p.settings()->calibration()->fov(), 120);
    QCOMPARE(written.count(), 1);
}

void TestCalibration::defaultFrequencies()
{
    {
        Page offline(ScriptedServer::unusedPort());
        SettingsModulation* modulation = offline.settings()->modulation();
        QCOMPARE(modulation->frequencyCount(), 0);
        offline.page->show();
        QCOMPARE(modulation->frequencyCount(), 6);
        QCOMPARE(modulation->frequencyHz(0), 20000000);
        QCOMPARE(modulation->frequencyHz(5), 625000);
    }
    ApplicationContext context;
    context.settings()->modulation()->addFrequency(QStringLiteral("10 MHz"), 10000000);
    WidgetCalibration page(&context);
    page.show();
    QCOMPARE(context.settings()->modulation()->frequencyCount(), 1);
}

void TestCalibration::calibrations_data()
{
    QTest::addColumn<QString>("button");
    QTest::addColumn<bool>("confirm");
    QTest::addColumn<QByteArray>("reply");
    QTest::addColumn<QString>("questionTitle");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");

    QTest::addRow("DRNU calibration")
        << "tbDRNUCalibration" << true << CameraScript::int16(0) << "DRNU Calibration"
        << "Dialog"
        << "DRNU calibration successfully completed.";
    QTest::addRow("DRNU status -1") << "tbDRNUCalibration" << true << QByteArray("\xff\xff", 2)
                                    << "DRNU Calibration"
                                    << "Dialog"
                                    << "DRNU calibration failed.";
    QTest::addRow("DRNU refused") << "tbDRNUCalibration" << false << CameraScript::int16(0)
                                  << "DRNU Calibration"
                                  << ""
                                  << "";
    QTest::addRow("bad pixels") << "tbSearchBadPixels" << true << CameraScript::int16(0)
                                << "Search Bad Pixels"
                                << "Success"
                                << "Searching bad pixels successfully completed.";
    QTest::addRow("bad pixels status -1")
        << "tbSearchBadPixels" << true << CameraScript::int16(-1) << "Search Bad Pixels"
        << "Error"
        << "Searching bad pixels failed.";
}

void TestCalibration::calibrations()
{
    QFETCH(QString, button);
    QFETCH(bool, confirm);
    QFETCH(QByteArray, reply);
    QFETCH(QString, questionTitle);
    QFETCH(QString, title);
    QFETCH(QString, text);

    ScriptedServer server({ScriptedServer::Step::answer(reply, 300)});
    Page p(server.port());
    Settings* settings = p.settings();
    settings->pauseAcquisition();
    QSignalSpy locks(settings, &Settings::fieldsLocked);
    QSignalSpy started(settings, &Settings::started);
    Answers answers;
    answers.confirm = confirm;
    answers.arm();
    p.page->findChild<QToolButton*>(button)->click();
    QCOMPARE(answers.questionTitle, questionTitle);
    QCOMPARE(answers.questionWidth, 450);

    if (!confirm) {
        QTest::qWait(400);
        QCOMPARE(server.connectionCount(), 0);
        QCOMPARE(locks.count(), 0);
        return;
    }
    QVERIFY(p.page->progressDialog()->isVisible());
    QTRY_COMPARE_WITH_TIMEOUT(answers.text, text, 5000);
    QCOMPARE(answers.title, title);
    QVERIFY(answers.busyShown);
    QVERIFY(!p.page->progressDialog()->isVisible());
    QCOMPARE(server.commands(),
             QStringList{button == QLatin1String("tbDRNUCalibration") ? "calibrateDRNU" : "searchBadPixels"});
    // Locked for the whole operation; video stays paused afterwards.
    QCOMPARE(locks.count(), 2);
    QCOMPARE(locks.at(1).at(0).toBool(), false);
    QCOMPARE(started.count(), 0);
}

KESTRANE_TEST_MAIN(TestCalibration)
#include "tst_calibration.moc"
