#include "service/DialogSystemInfo.h"

#include "app/StartupManager.h"
#include "app/Trace.h"
#include "link/Replies.h"
#include "settings/Settings.h"
#include "ui_DialogSystemInfo.h"

DialogSystemInfo::DialogSystemInfo(Settings* settings, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
    , ui(new Ui::DialogSystemInfo)
    , settings(settings)
{
    ui->setupUi(this);
}

DialogSystemInfo::~DialogSystemInfo()
{
    ZTRACE() << "-----DialogSystemInfo destroying";
    delete ui;
    ZTRACE() << "-----DialogSystemInfo destroyed";
}

QString DialogSystemInfo::chipName(int partType)
{
    switch (partType) {
    case 1:
    case 3:
        return QStringLiteral("zc210");
    case 2:
        return QStringLiteral("zc320");
    case 4:
        return QStringLiteral("zc310");
    case 5:
        return QStringLiteral("zc220");
    default:
        return QStringLiteral("unknown");
    }
}

void DialogSystemInfo::setInformation(QVector<uint16_t> information)
{
    information.resize(Replies::chipInfoCount);
    ui->lChipNumber->setText(
        chipName(information[Replies::PartType]) + QLatin1Char('-') +
        QStringLiteral("%1").arg(information[Replies::PartVersion], 3, 10, QLatin1Char('0')));
    QLabel* const values[] = {ui->lICTypeNumber,      ui->lICVersionNumber, ui->lCustomerIDNumber,
                              ui->lWaferIDNumber,     ui->lChipIDNumber,    ui->lPartTypeNumber,
                              ui->lPartVersionNumber, ui->lSeqVersionNumber};
    for (int i = 0; i < Replies::chipInfoCount; ++i)
        values[i]->setText(QString::number(information[i]));
    ui->lGUIVersionNumber->setText(QLatin1String(StartupManager::clientVersion));
    ui->lServerVersionNumber->setText(settings->serverVersionText());
}
