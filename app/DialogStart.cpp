#include "app/DialogStart.h"

#include "app/MakerWebSite.h"
#include "app/StartupManager.h"
#include "app/Trace.h"
#include "ui_DialogStart.h"
#include "widgets/DialogOK.h"

#include <QKeySequence>
#include <QShortcut>

namespace {
const QString defaultAddress = QStringLiteral("192.168.7.2");
const QString versionErrorTitle = QStringLiteral("Version Error");
const QString wrongVersionText =
    QStringLiteral("Wrong server version. Please update server or use the client ");
const QString serverTooOldText =
    QStringLiteral("Server version not compatible. Please update the server to 1.6.0 or newer.");
} // namespace

DialogStart::DialogStart(StartupManager* startupManager, QWidget* parent)
    : QDialog(parent), startupManager(startupManager), ui(new Ui::DialogStart)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setWindowTitle(QStringLiteral("Connect ") + QLatin1String(StartupManager::clientVersion));

    const QString last = startupManager->lastIp();
    ui->leIP->setText(last.isEmpty() ? defaultAddress : last);

    // Enter anywhere in the dialog, the address field included, means "Load default".
    for (const int key : {int(Qt::Key_Return), int(Qt::Key_Enter)}) {
        auto* shortcut = new QShortcut(QKeySequence(key), this);
        shortcut->setContext(Qt::WindowShortcut);
        connect(shortcut, &QShortcut::activated, ui->tbDefault, &QToolButton::click);
    }

    // The offline path stays reachable for the program, without a visible button.
    ui->tbOffline->hide();
}

DialogStart::~DialogStart()
{
    ZTRACE() << "-----DialogStart destroying";
    delete ui;
    ZTRACE() << "-----DialogStart destroyed";
}

QString DialogStart::address() const
{
    return ui->leIP->text();
}

void DialogStart::overrideAddress(const QString& ip)
{
    ui->leIP->setText(ip);
    rememberAddress = false;
}

void DialogStart::on_tbDefault_clicked()
{
    connectAndAccept(Button::Default);
}

void DialogStart::on_tbLast_clicked()
{
    connectAndAccept(Button::Last);
}

void DialogStart::on_tbLogo_clicked()
{
    MakerWebSite::open();
}

void DialogStart::on_tbOffline_clicked()
{
    startupManager->setServerIp(QStringLiteral("127.0.0.1"));
    startupManager->setConfigMode(StartupManager::Offline);
    accept();
}

void DialogStart::connectAndAccept(Button button)
{
    const bool loadDefault = button == Button::Default;
    const QString ip = ui->leIP->text();
    startupManager->setServerIp(ip);
    switch (startupManager->connectToCamera()) {
    case StartupManager::Success:
        if (loadDefault)
            ZTRACE() << "connection successful";
        close();
        if (rememberAddress)
            startupManager->storeLastIp(ip);
        if (loadDefault)
            startupManager->resetImageAveraging();
        startupManager->setConfigMode(loadDefault ? StartupManager::LoadDefault : StartupManager::LoadLast);
        accept();
        break;
    case StartupManager::WrongServerVersion:
        if (loadDefault)
            ZTRACE() << "wrong version";
        showMessage(DialogOK::Important, versionErrorTitle,
                    wrongVersionText + startupManager->serverVersionHint() +
                        (loadDefault ? QStringLiteral(".") : QString()));
        break;
    case StartupManager::ServerTooOld:
        showMessage(DialogOK::Important, versionErrorTitle, serverTooOldText);
        break;
    case StartupManager::ChipTooOld:
        showMessage(DialogOK::Important, versionErrorTitle,
                    loadDefault ? QStringLiteral("Chip version is too old and not supported. Please use the "
                                                 "latest software release 2.12.x.")
                                : QStringLiteral("Chip version is too old and not supported. Please use the "
                                                 "latest software release 1.12.x."));
        break;
    default:
        if (loadDefault)
            ZTRACE() << "connection failed";
        showMessage(
            DialogOK::Failure, QStringLiteral("Connection Failure"),
            QStringLiteral("Could not reach server. \nMake sure the server is running and the drivers "
                           "are installed. \ndrivers and instructions can be found under "
                           "\\installationPath\\install\\drivers."));
        break;
    }
}

void DialogStart::showMessage(int kind, const QString& title, const QString& text)
{
    delete message;
    message = new DialogOK(kind, text, this);
    message->setWindowTitle(title);
    // Above the splash screen, which stays on top while a start with arguments connects: a
    // message hidden behind it would block the start unseen.
    message->setWindowFlag(Qt::WindowStaysOnTopHint);
    message->exec();
}
