#include "widgets/DialogProgress.h"

#include "app/Trace.h"
#include "ui_DialogProgress.h"

DialogProgress::DialogProgress(const QString& message, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint)
    , ui(new Ui::DialogProgress)
{
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::CustomizeWindowHint);
    setWindowModality(Qt::ApplicationModal);
    setFixedSize(300, 150);
    ui->lMessage->setText(message);
}

DialogProgress::~DialogProgress()
{
    ZTRACE() << "----------DialogProgress destroying";
    delete ui;
    ZTRACE() << "----------DialogProgress destroyed";
}

void DialogProgress::setMinimum(int minimum)
{
    ui->pbProgress->setMinimum(minimum);
}

void DialogProgress::setMaximum(int maximum)
{
    ui->pbProgress->setMaximum(maximum);
}

void DialogProgress::setValue(int value)
{
    ui->pbProgress->setValue(value);
}
