#include "../settings/TraceLog.h"
#include "app/ApplicationContext.h"
#include "app/DialogStart.h"
#include "app/StartupManager.h"
#include "app/WindowMain.h"
#include "support/TestMain.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

#include <memory>

// What lives for the whole run, and the order in which it goes at shutdown.
class TestApplicationContext : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void channelUsesTheSettingsAddress();
    void shutdownOrder();

private:
    QTemporaryDir storeDir;
};

void TestApplicationContext::initTestCase()
{
    QVERIFY(storeDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storeDir.path());
}

void TestApplicationContext::channelUsesTheSettingsAddress()
{
    ApplicationContext context;
    QVERIFY(context.settings());
    QVERIFY(context.tcp());
    QVERIFY(context.imageCreator());
    QCOMPARE(context.settings()->socket()->ip(), QStringLiteral("192.168.7.2"));
    QCOMPARE(context.settings()->socket()->port(), 50660);
    QCOMPARE(context.tcp()->parent(), nullptr);
    QCOMPARE(context.settings()->parent(), nullptr);
}

void TestApplicationContext::shutdownOrder()
{
    const QStringList traces = TraceLog::tracesOf([] {
        // As the entry point creates them; destroyed in reverse.
        auto context = std::make_unique<ApplicationContext>();
        auto manager = std::make_unique<StartupManager>(context.get());
        auto dialog = std::make_unique<DialogStart>(manager.get());
        auto window = std::make_unique<WindowMain>(context.get(), manager.get());
        window.reset();
        dialog.reset();
        manager.reset();
        context.reset();
    });
    const QStringList expected{
        "-----WindowMain destroying", "-----WindowMain destroyed",   "-----DialogStart destroying",
        "-----DialogStart destroyed", "***StartupManager destroyed", "***ApplicationContext destroyed",
        "***EdgeFilter destroyed",    "***ImageFilter destroyed",    "***ZelImageCreator destroyed",
        "***ZelTcp destroyed",        "***Settings destroyed"};
    int previous = -1;
    for (const QString& trace : expected) {
        const int at = traces.indexOf(trace);
        QVERIFY2(at > previous,
                 qPrintable(trace + QStringLiteral(" out of order in: ") + traces.join(" | ")));
        previous = at;
    }
}

KESTRANE_TEST_MAIN(TestApplicationContext)
#include "tst_applicationcontext.moc"
