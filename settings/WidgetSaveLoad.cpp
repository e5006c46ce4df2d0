#include "settings/WidgetSaveLoad.h"

#include "app/Trace.h"
#include "link/Commands.h"
#include "link/ZelTcp.h"
#include "settings/Settings.h"
#include "settings/SettingsManager.h"
#include "ui_WidgetSaveLoad.h"
#include "widgets/DialogOK.h"

#include <QFileDialog>

namespace {
QString caption()
{
    return QStringLiteral("Open Configuration");
}
QString startDirectory()
{
    return QStringLiteral("./preConfig");
}
QString filter()
{
    return QStringLiteral("XML Files (*.xml)");
}
} // namespace

WidgetSaveLoad::WidgetSaveLoad(Settings* settings, ZelTcp* tcp, SettingsManager* manager, QWidget* parent)
    : QWidget(parent), ui(new Ui::WidgetSaveLoad), settings(settings), tcp(tcp), manager(manager)
{
    ui->setupUi(this);
}

WidgetSaveLoad::~WidgetSaveLoad()
{
    ZTRACE() << "-----WidgetSaveLoad destroying";
    delete ui;
    ZTRACE() << "-----WidgetSaveLoad destroyed";
}

void WidgetSaveLoad::on_tbSave_clicked()
{
    settings->requestStop();
    const QString name = QFileDialog::getSaveFileName(this, caption(), startDirectory(), filter());
    if (name.isEmpty())
        return;
    if (!manager->saveConfig(name))
        showMessage(DialogOK::Failure, QStringLiteral("Could not save the configuration."),
                    QStringLiteral("Error"));
}

void WidgetSaveLoad::on_tbLoad_clicked()
{
    settings->requestStop();
    tcp->setCommand(Commands::version());
    if (!tcp->sendCommand(Commands::Timeout::settings)) {
        showMessage(DialogOK::Failure, QStringLiteral("Could not connect to server."),
                    QStringLiteral("Error"));
        return;
    }
    const QString name = QFileDialog::getOpenFileName(this, caption(), startDirectory(), filter());
    if (name.isEmpty())
        return;
    if (manager->loadConfig(name))
        showMessage(DialogOK::Success, QStringLiteral("Configuration successfully loaded."),
                    QStringLiteral("Success"));
    else
        showMessage(DialogOK::Failure, QStringLiteral("Could not load the configuration."),
                    QStringLiteral("Error"));
}

void WidgetSaveLoad::showMessage(int kind, const QString& message, const QString& title)
{
    DialogOK dialog(kind, message, this);
    dialog.setWindowTitle(title);
    dialog.exec();
}
