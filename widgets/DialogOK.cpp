#include "widgets/DialogOK.h"

#include "app/Trace.h"
#include "ui_DialogOK.h"

#include <QPixmap>

DialogOK::DialogOK(int kind, const QString& message, QWidget* parent) : QDialog(parent), ui(new Ui::DialogOK)
{
    ui->setupUi(this);
    ui->lMessage->setText(message);
    switch (kind) {
    case Success:
        ui->lPicture->setPixmap(QPixmap(QStringLiteral(":/icons/images/icons/successful.png")));
        break;
    case Failure:
        ui->lPicture->setPixmap(QPixmap(QStringLiteral(":/icons/images/icons/failed.png")));
        break;
    case Important:
        ui->lPicture->setPixmap(QPixmap(QStringLiteral(":/icons/images/icons/important.png")));
        break;
    default:
        // Unknown kinds keep the form's placeholder text instead of a picture.
        break;
    }
}

DialogOK::~DialogOK()
{
    ZTRACE() << "-----DialogOK destroying";
    delete ui;
    ZTRACE() << "-----DialogOK destroyed";
}

QString DialogOK::message() const
{
    return ui->lMessage->text();
}

void DialogOK::on_tbOK_clicked()
{
    close();
}
