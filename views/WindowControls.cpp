#include "views/WindowControls.h"

#include "app/Trace.h"
#include "ui_WindowControls.h"

WindowControls::WindowControls(QWidget* parent) : QMainWindow(parent), ui(new Ui::WindowControls)
{
    ui->setupUi(this);
    setAttribute(Qt::WA_QuitOnClose, false);
}

WindowControls::~WindowControls()
{
    ZTRACE() << "---------------WindowControls destroying";
    delete ui;
    ZTRACE() << "---------------WindowControls destroyed";
}
