#include "widgets/DialogYesNo.h"

#include "app/Trace.h"
#include "ui_DialogYesNo.h"

DialogYesNo::DialogYesNo(const QString& message, QWidget* parent) : QDialog(parent), ui(new Ui::DialogYesNo)
{
    ui->setupUi(this);
    resize(320, 200);
    setMinimumSize(320, 200);
    setMaximumSize(320, 200);
    ui->lMessage->setText(message);
}

DialogYesNo::~DialogYesNo()
{
    ZTRACE() << "-----DialogYesNo destroying";
    delete ui;
    ZTRACE() << "-----DialogYesNo destroyed";
}
