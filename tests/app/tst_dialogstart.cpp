#include "app/ApplicationContext.h"
#include "app/DialogStart.h"
#include "app/StartupManager.h"
#include "link/Commands.h"
#include "support/CameraScript.h"
#include "support/ScriptedServer.h"
#include "support/SimulatorProcess.h"
#include "support/TestMain.h"
#include "widgets/DialogOK.h"

#include <QLabel>
#include <QLineEdit>
#include <QSettings>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

#include <functional>
#include <memory>

Q_DECLARE_METATYPE(ScriptedServer::Step)
Q_DECLARE_METATYPE(QList<ScriptedServer::Step>)

namespace {
const QString connectionFailureText =
    QStringLiteral("Could not reach server. \nMake sure the server is running and the drivers are installed. "
                   "\ndrivers and instructions can be found under \\installationPath\\install\\drivers.");

// What a modal message showed before it was dismissed with OK.
struct SeenMessage
{
    int count = 0;
    QString title;
    QString text;
    QImage picture;
};

// Dismisses every DialogOK that runs modally while `run` executes, recording the last one.
SeenMessage dismissMessages(const std::function<void()>& run)
{
    SeenMessage seen;
    QTimer poll;
    poll.setInterval(20);
    QObject::connect(&poll, &QTimer::timeout, [&seen]() {
        auto* dialog = qobject_cast<DialogOK*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        ++seen.count;
        seen.title = dialog->windowTitle();
        seen.text = dialog->message();
        seen.picture =
            dialog->findChild<QLabel*>(QStringLiteral("lPicture"))->pixmap(Qt::ReturnByValue).toImage();
        QTest::mouseClick(dialog->findChild<QToolButton*>(QStringLiteral("tbOK")), Qt::LeftButton);
    });
    poll.start();
    run();
    poll.stop();
    return seen;
}
} // namespace

// The start dialog: its form, the stored address, and the message of every start-up result.
class TestDialogStart : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void form();
    void noStoredAddressShowsTheCameraDefault();
    void successStoresTheAddressForTheNextStart_data();
    void successStoresTheAddressForTheNextStart();
    void overriddenAddressIsNotStored();
    void messages_data();
    void messages();
    void enterPressesLoadDefault();
    void offlineSendsNothing();

private:
    void clearStore();
    void pointAtLoopback(DialogStart* dialog, quint16 port);

    QTemporaryDir storeDir;
    std::unique_ptr<ApplicationContext> context;
    std::unique_ptr<StartupManager> manager;
};

void TestDialogStart::initTestCase()
{
    QVERIFY(storeDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, storeDir.path());
    QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, storeDir.path());
}

void TestDialogStart::init()
{
    clearStore();
    context = std::make_unique<ApplicationContext>();
    manager = std::make_unique<StartupManager>(context.get());
}

void TestDialogStart::cleanup()
{
    manager.reset();
    context.reset();
}

void TestDialogStart::clearStore()
{
    QSettings store(QStringLiteral("<Zel>"), QStringLiteral("<Vazazazzc320>"));
    QVERIFY(store.fileName().startsWith(storeDir.path()));
    store.clear();
}

void TestDialogStart::pointAtLoopback(DialogStart* dialog, quint16 port)
{
    // Never the camera's own address.
    dialog->findChild<QLineEdit*>(QStringLiteral("leIP"))->setText(QStringLiteral("127.0.0.1"));
    context->settings()->socket()->setPort(port);
}

void TestDialogStart::form()
{
    DialogStart dialog(manager.get());
    QCOMPARE(dialog.windowTitle(), QStringLiteral("Connect 2.12.20"));
    QCOMPARE(dialog.size(), QSize(490, 140));
    QVERIFY(!(dialog.windowFlags() & Qt::WindowContextHelpButtonHint));
    QVERIFY(dialog.windowFlags() & Qt::WindowCloseButtonHint);
    auto* product = dialog.findChild<QLabel*>(QStringLiteral("lProduct"));
    QCOMPARE(product->text(), QStringLiteral("Kestrane TOF Imager"));
    QCOMPARE(product->alignment(), Qt::AlignCenter);
    QCOMPARE(product->minimumSize(), QSize(350, 70));
    QCOMPARE(product->maximumHeight(), 70);
    auto* logo = dialog.findChild<QToolButton*>(QStringLiteral("tbLogo"));
    QCOMPARE(logo->minimumSize(), QSize(140, 70));
    QCOMPARE(logo->maximumSize(), QSize(140, 70));
    QVERIFY(logo->text().isEmpty());
    QVERIFY(logo->styleSheet().contains(QLatin1String(":/images/logo.png")));
    QCOMPARE(dialog.findChild<QLabel*>(QStringLiteral("lIP"))->text(), QStringLiteral("IP address"));

    const struct
    {
        const char* name;
        const char* text;
        const char* tip;
    } buttons[] = {
        {"tbOffline", "Offline mode", "<html><head/><body><p>Loads a demo.</p></body></html>"},
        {"tbDefault", "Load default",
         "<html><head/><body><p>Loads the default configuration.</p></body></html>"},
        {"tbLast", "Load last",
         "<html><head/><body><p>Loads the last known configuration.</p></body></html>"},
    };
    for (const auto& button : buttons) {
        auto* widget = dialog.findChild<QToolButton*>(QLatin1String(button.name));
        QVERIFY2(widget, button.name);
        QCOMPARE(widget->text(), QLatin1String(button.text));
        QCOMPARE(widget->toolTip(), QLatin1String(button.tip));
    }
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    QVERIFY(!dialog.findChild<QToolButton*>(QStringLiteral("tbOffline"))->isVisible());
    QVERIFY(dialog.findChild<QToolButton*>(QStringLiteral("tbDefault"))->isVisible());
}

void TestDialogStart::noStoredAddressShowsTheCameraDefault()
{
    DialogStart dialog(manager.get());
    QCOMPARE(dialog.address(), QStringLiteral("192.168.7.2"));
    QCOMPARE(manager->lastIp(), QString());
}

void TestDialogStart::successStoresTheAddressForTheNextStart_data()
{
    QTest::addColumn<bool>("loadDefault");
    QTest::addColumn<int>("mode");
    QTest::addRow("Load default") << true << int(StartupManager::LoadDefault);
    QTest::addRow("Load last") << false << int(StartupManager::LoadLast);
}

void TestDialogStart::successStoresTheAddressForTheNextStart()
{
    QFETCH(bool, loadDefault);
    QFETCH(int, mode);
    CameraScript camera;
    QList<ScriptedServer::Step> steps = camera.steps();
    steps << ScriptedServer::Step::answer(QByteArray()); // setImageAveraging
    ScriptedServer server(steps);
    {
        DialogStart dialog(manager.get());
        pointAtLoopback(&dialog, server.port());
        manager->setConfigMode(StartupManager::Offline);
        dialog.show();
        const SeenMessage seen = dismissMessages([&] {
            if (loadDefault)
                dialog.on_tbDefault_clicked();
            else
                dialog.on_tbLast_clicked();
        });
        QCOMPARE(seen.count, 0);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(!dialog.isVisible());
        QCOMPARE(int(manager->configMode()), mode);
        QCOMPARE(dialog.lastMessage(), nullptr);
    }
    QStringList expected = camera.commands();
    if (loadDefault)
        expected << Commands::setImageAveraging(0);
    QCOMPARE(server.commands(), expected);
    QCOMPARE(manager->lastIp(), QStringLiteral("127.0.0.1"));
    DialogStart next(manager.get());
    QCOMPARE(next.address(), QStringLiteral("127.0.0.1"));
}

void TestDialogStart::overriddenAddressIsNotStored()
{
    manager->storeLastIp(QStringLiteral("127.0.0.9"));
    CameraScript camera;
    ScriptedServer server(camera.steps());
    DialogStart dialog(manager.get());
    QCOMPARE(dialog.address(), QStringLiteral("127.0.0.9"));
    dialog.overrideAddress(QStringLiteral("127.0.0.1"));
    context->settings()->socket()->setPort(server.port());
    dialog.on_tbLast_clicked();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(context->settings()->socket()->ip(), QStringLiteral("127.0.0.1"));
    QCOMPARE(manager->lastIp(), QStringLiteral("127.0.0.9"));
}

void TestDialogStart::messages_data()
{
    QTest::addColumn<QList<ScriptedServer::Step>>("script");
    QTest::addColumn<bool>("unreachable");
    QTest::addColumn<bool>("loadDefault");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("picture");

    const QString important = QStringLiteral(":/icons/images/icons/important.png");
    const QString failed = QStringLiteral(":/icons/images/icons/failed.png");
    const QString versionError = QStringLiteral("Version Error");
    const QString tooOld =
        QStringLiteral("Server version not compatible. Please update the server to 1.6.0 or newer.");
    CameraScript wrongVersion;
    wrongVersion.version = 21199;
    CameraScript oldServer;
    oldServer.version = -1;
    CameraScript oldChip;
    oldChip.partVersion = 5;
    CameraScript emptyVersion;

    for (const bool loadDefault : {true, false}) {
        const char* button = loadDefault ? "Load default" : "Load last";
        QTest::addRow("%s: unreachable", button) << QList<ScriptedServer::Step>() << true << loadDefault
                                                 << "Connection Failure" << connectionFailureText << failed;
        // An unexpected version counts only when the server gives it twice in a row.
        QList<ScriptedServer::Step> wrongVersionTwice = wrongVersion.steps();
        wrongVersionTwice.prepend(wrongVersionTwice.first());
        QTest::addRow("%s: version 21199", button)
            << wrongVersionTwice << false << loadDefault << versionError
            << (QStringLiteral("Wrong server version. Please update server or use the client 2.11.x") +
                (loadDefault ? QStringLiteral(".") : QString()))
            << important;
        // An empty reply is no version: the camera did not answer.
        QTest::addRow("%s: empty version reply", button)
            << QList<ScriptedServer::Step>{ScriptedServer::Step::answer(QByteArray())} << false << loadDefault
            << "Connection Failure" << connectionFailureText << failed;
        QTest::addRow("%s: version -1", button)
            << oldServer.steps() << false << loadDefault << versionError << tooOld << important;
        QTest::addRow("%s: zc320 part version 5", button)
            << oldChip.steps() << false << loadDefault << versionError
            << (QStringLiteral(
                    "Chip version is too old and not supported. Please use the latest software release ") +
                (loadDefault ? QStringLiteral("2.12.x.") : QStringLiteral("1.12.x.")))
            << important;
    }
}

void TestDialogStart::messages()
{
    QFETCH(QList<ScriptedServer::Step>, script);
    QFETCH(bool, unreachable);
    QFETCH(bool, loadDefault);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QFETCH(QString, picture);

    ScriptedServer server(script);
    DialogStart dialog(manager.get());
    pointAtLoopback(&dialog, unreachable ? ScriptedServer::unusedPort() : server.port());
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));
    const SeenMessage seen = dismissMessages([&] {
        if (loadDefault)
            dialog.on_tbDefault_clicked();
        else
            dialog.on_tbLast_clicked();
    });
    QCOMPARE(seen.count, 1);
    QCOMPARE(seen.title, title);
    QCOMPARE(seen.text, text);
    QCOMPARE(seen.picture, QPixmap(picture).toImage());
    // The dialog stays open under the message; nothing is stored.
    QVERIFY(dialog.isVisible());
    QVERIFY(dialog.result() != QDialog::Accepted);
    QCOMPARE(manager->lastIp(), QString());
    QVERIFY(dialog.lastMessage());
    QCOMPARE(dialog.lastMessage()->message(), text);
    QCOMPARE(dialog.lastMessage()->parent(), &dialog);
    // The user may correct the address and press again: a new message replaces the old one.
    server.setScript(script);
    const SeenMessage again = dismissMessages([&] { dialog.on_tbLast_clicked(); });
    QCOMPARE(again.count, 1);
    QCOMPARE(dialog.findChildren<DialogOK*>().size(), 1);
}

void TestDialogStart::enterPressesLoadDefault()
{
    SimulatorProcess sim({QStringLiteral("--chip"), QStringLiteral("zc310")});
    QVERIFY2(sim.isRunning(), qPrintable(sim.errorString()));
    DialogStart dialog(manager.get());
    pointAtLoopback(&dialog, sim.port());
    QSignalSpy defaultSpy(dialog.findChild<QToolButton*>(QStringLiteral("tbDefault")), &QToolButton::clicked);
    QSignalSpy lastSpy(dialog.findChild<QToolButton*>(QStringLiteral("tbLast")), &QToolButton::clicked);
    dialog.show();
    dialog.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&dialog));
    auto* address = dialog.findChild<QLineEdit*>(QStringLiteral("leIP"));
    address->setFocus();
    QTest::keyClick(address, Qt::Key_Return);
    const int result = dialog.result();
    QCOMPARE(defaultSpy.count(), 1);
    QCOMPARE(lastSpy.count(), 0);
    QCOMPARE(result, int(QDialog::Accepted));
    QCOMPARE(int(manager->configMode()), int(StartupManager::LoadDefault));
    QCOMPARE(context->settings()->chipType(), 4);
}

void TestDialogStart::offlineSendsNothing()
{
    ScriptedServer server;
    DialogStart dialog(manager.get());
    pointAtLoopback(&dialog, server.port());
    context->settings()->socket()->setIp(QStringLiteral("127.0.0.2"));
    dialog.on_tbOffline_clicked();
    QCOMPARE(dialog.result(), int(QDialog::Accepted));
    QCOMPARE(int(manager->configMode()), int(StartupManager::Offline));
    QCOMPARE(context->settings()->socket()->ip(), QStringLiteral("127.0.0.1"));
    QTest::qWait(50);
    QCOMPARE(server.connectionCount(), 0);
    QCOMPARE(manager->lastIp(), QString());
    QCOMPARE(context->settings()->chipType(), 0);
    QCOMPARE(context->settings()->modulation()->frequencyCount(), 0);
}

KESTRANE_TEST_MAIN(TestDialogStart)
#include "tst_dialogstart.moc"
