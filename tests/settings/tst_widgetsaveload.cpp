#include "settings/WidgetSaveLoad.h"

#include "ConfigFixture.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"
#include "settings/SettingsManager.h"
#include "support/ScriptedServer.h"
#include "support/TestMain.h"
#include "widgets/DialogOK.h"

#include <QFileDialog>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTimer>
#include <QToolButton>
#include <QtTest>

namespace {

struct SeenDialog
{
    QString title;
    QString message;
    QString directory;
    QStringList filters;
    bool saveMode = false;
};

// Answers the file dialog with a path (or cancels it with an empty one) and records what it
// showed; then records and closes the message dialog if one follows.
class ModalAnswerer final : public QObject
{
public:
    QString path;
    SeenDialog fileDialog;
    SeenDialog message;
    int fileDialogs = 0;
    int messages = 0;

    void arm()
    {
        QTimer::singleShot(50, this, [this] { answer(); });
    }

private:
    void answer()
    {
        QWidget* modal = QApplication::activeModalWidget();
        if (auto* files = qobject_cast<QFileDialog*>(modal)) {
            ++fileDialogs;
            fileDialog.title = files->windowTitle();
            fileDialog.directory = files->directory().absolutePath();
            fileDialog.filters = files->nameFilters();
            fileDialog.saveMode = files->acceptMode() == QFileDialog::AcceptSave;
            if (path.isEmpty()) {
                files->reject();
            } else {
                files->selectFile(path);
                QMetaObject::invokeMethod(files, "done", Q_ARG(int, QDialog::Accepted));
            }
            arm();
        } else if (auto* ok = qobject_cast<DialogOK*>(modal)) {
            ++messages;
            message.title = ok->windowTitle();
            message.message = ok->message();
            QTest::mouseClick(ok->findChild<QToolButton*>(QStringLiteral("tbOK")), Qt::LeftButton);
        } else {
            arm();
        }
    }
};

} // namespace

class TestWidgetSaveLoad : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();
    void loadWithoutServer();
    void loadChosenFile_data();
    void loadChosenFile();
    void saveChosenFile();
    void saveFailureIsShown();
    void cancelledDialogsDoNothing();

private:
    QTemporaryDir dir;
    Settings* settings = nullptr;
    ZelTcp* tcp = nullptr;
    SettingsManager* manager = nullptr;
    WidgetSaveLoad* page = nullptr;
};

void TestWidgetSaveLoad::init()
{
    settings = new Settings;
    ConfigFixture::identify(*settings, 2);
    settings->socket()->setIp(QStringLiteral("127.0.0.1"));
    settings->socket()->setPort(ScriptedServer::unusedPort());
    tcp = new ZelTcp(settings->socket());
    manager = new SettingsManager(settings);
    page = new WidgetSaveLoad(settings, tcp, manager);
    page->show();
    QVERIFY(QTest::qWaitForWindowExposed(page));
}

void TestWidgetSaveLoad::cleanup()
{
    delete page;
    delete manager;
    delete tcp;
    delete settings;
}

void TestWidgetSaveLoad::loadWithoutServer()
{
    QSignalSpy stop(settings, &Settings::stopRequested);
    ModalAnswerer answerer;
    answerer.path = dir.filePath(QStringLiteral("never.xml"));
    answerer.arm();
    page->findChild<QToolButton*>(QStringLiteral("tbLoad"))->click();
    QCOMPARE(stop.count(), 1);
    QCOMPARE(answerer.fileDialogs, 0);
    QCOMPARE(answerer.messages, 1);
    QCOMPARE(answerer.message.message, QStringLiteral("Could not connect to server."));
    QCOMPARE(answerer.message.title, QStringLiteral("Error"));
    QVERIFY(!settings->configLoaded());
}

void TestWidgetSaveLoad::loadChosenFile_data()
{
    QTest::addColumn<QByteArray>("contents");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("title");
    QTest::addRow("a configuration") << ConfigFixture::document(ConfigFixture::value("range_max", "350"))
                                     << "Configuration successfully loaded."
                                     << "Success";
    QTest::addRow("not a configuration") << QByteArray("<settings/>") << "Could not load the configuration."
                                         << "Error";
}

void TestWidgetSaveLoad::loadChosenFile()
{
    QFETCH(QByteArray, contents);
    QFETCH(QString, message);
    QFETCH(QString, title);
    ScriptedServer server({ScriptedServer::Step::answer(QByteArray("\x4c\x4f", 2))});
    settings->socket()->setPort(server.port());
    const QString path = dir.filePath(QStringLiteral("mine.xml"));
    QVERIFY(ConfigFixture::writeFile(path, contents));

    ModalAnswerer answerer;
    answerer.path = path;
    answerer.arm();
    page->findChild<QToolButton*>(QStringLiteral("tbLoad"))->click();
    QCOMPARE(server.commands(), QStringList{QStringLiteral("version")});
    QCOMPARE(answerer.fileDialogs, 1);
    QCOMPARE(answerer.fileDialog.title, QStringLiteral("Open Configuration"));
    QCOMPARE(answerer.fileDialog.filters, QStringList{QStringLiteral("XML Files (*.xml)")});
    QVERIFY(!answerer.fileDialog.saveMode);
    QCOMPARE(answerer.messages, 1);
    QCOMPARE(answerer.message.message, message);
    QCOMPARE(answerer.message.title, title);
    QCOMPARE(settings->settings3D()->distanceMax(), title == QLatin1String("Success") ? 350 : 0);
}

void TestWidgetSaveLoad::saveChosenFile()
{
    QSignalSpy stop(settings, &Settings::stopRequested);
    settings->settings3D()->setDistanceMax(1234);
    const QString path = dir.filePath(QStringLiteral("saved.xml"));
    ModalAnswerer answerer;
    answerer.path = path;
    answerer.arm();
    page->findChild<QToolButton*>(QStringLiteral("tbSave"))->click();
    QCOMPARE(stop.count(), 1);
    QCOMPARE(answerer.fileDialogs, 1);
    // The save dialog carries the same caption as the open dialog.
    QCOMPARE(answerer.fileDialog.title, QStringLiteral("Open Configuration"));
    QVERIFY(answerer.fileDialog.saveMode);
    QCOMPARE(answerer.fileDialog.filters, QStringList{QStringLiteral("XML Files (*.xml)")});
    QCOMPARE(answerer.messages, 0);
    QVERIFY(QFile::exists(path));

    Settings other;
    ConfigFixture::identify(other, 2);
    SettingsManager reader(&other);
    QVERIFY(reader.loadConfig(path));
    QCOMPARE(other.settings3D()->distanceMax(), 1234);
}

void TestWidgetSaveLoad::saveFailureIsShown()
{
    // Nothing can be created in the process file system, not even by the superuser.
    ModalAnswerer answerer;
    answerer.path = QStringLiteral("/proc/kestrane_config.xml");
    answerer.arm();
    page->findChild<QToolButton*>(QStringLiteral("tbSave"))->click();
    QCOMPARE(answerer.fileDialogs, 1);
    QCOMPARE(answerer.messages, 1);
    QCOMPARE(answerer.message.message, QStringLiteral("Could not save the configuration."));
    QCOMPARE(answerer.message.title, QStringLiteral("Error"));
}

void TestWidgetSaveLoad::cancelledDialogsDoNothing()
{
    ScriptedServer server({ScriptedServer::Step::answer(QByteArray("\x4c\x4f", 2))});
    settings->socket()->setPort(server.port());
    const int files = QDir(dir.path()).entryList(QDir::Files).size();
    ModalAnswerer answerer; // empty path: cancel; it keeps watching for the next dialog
    answerer.arm();
    page->findChild<QToolButton*>(QStringLiteral("tbLoad"))->click();
    page->findChild<QToolButton*>(QStringLiteral("tbSave"))->click();
    QCOMPARE(answerer.fileDialogs, 2);
    QCOMPARE(answerer.messages, 0);
    QVERIFY(!settings->configLoaded());
    QCOMPARE(QDir(dir.path()).entryList(QDir::Files).size(), files);
}

KESTRANE_TEST_MAIN(TestWidgetSaveLoad)
#include "tst_widgetsaveload.moc"
