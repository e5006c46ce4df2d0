#include "app/WindowMain.h"

#include "app/ApplicationContext.h"
#include "app/ConfigurationChoice.h"
#include "app/MakerWebSite.h"
#include "app/Trace.h"
#include "app/WidgetView.h"
#include "ui_WindowMain.h"

#include <QApplication>
#include <QCloseEvent>
#include <QShowEvent>
#include <QTimer>

WindowMain::WindowMain(ApplicationContext* context, StartupManager* startupManager, QWidget* parent)
    : QMainWindow(parent)
    , ui(new Ui::WindowMain)
    , settings(context->settings())
    , tcp(context->tcp())
    , startupManager(startupManager)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Kestrane TOF Imager"));
    setContextMenuPolicy(Qt::NoContextMenu);
    // Offered only once the command console unlocks calibration.
    ui->actionCalibration->setVisible(false);
    ui->actionCalibration->setEnabled(false);

    auto* view = new WidgetView(context, this);
    view->setObjectName(QStringLiteral("view"));
    ui->stackedView->addWidget(view);
}

WindowMain::~WindowMain()
{
    ZTRACE() << "-----WindowMain destroying";
    delete ui;
    ZTRACE() << "-----WindowMain destroyed";
}

void WindowMain::initialize(bool loadDefault)
{
    const int chipType = settings->chipType();
    if (settings->flim()->flimChip()) {
        // FLIM chips measure gate timing: no automatic offset on resume, no DRNU calibration
        // page and no distance-correction status.
        settings->setReadOffsetOnResume(false);
        ui->actionCalibration->setVisible(false);
        ui->lProduct->setText(chipType == 5 ? QStringLiteral("zc220") : QStringLiteral("zc210"));
        ui->wStatus->hide();
    } else if (chipType == 4 || chipType == 2) {
        ui->lProduct->setText(chipType == 4 ? QStringLiteral("zc310") : QStringLiteral("zc320"));
        ui->wStatus->show();
    }

    // The configuration-file loader reads this file (and, for the zc320 and zc310 defaults,
    // ConfigurationChoice::secondDefault() when the loaded frequency index is 0 or 1).
    m_chosenConfiguration = ConfigurationChoice::primary(chipType, loadDefault);
    ZTRACE() << "configuration to load:"
             << (m_chosenConfiguration.isEmpty() ? QStringLiteral("none") : m_chosenConfiguration);

    settings->roi()->setChipType(chipType);
}

void WindowMain::showPage(int index)
{
    // Pages that do not exist yet leave the stack as it is.
    if (index < ui->stackedView->count())
        ui->stackedView->setCurrentIndex(index);
}

void WindowMain::on_actionView_triggered()
{
    showPage(0);
}

void WindowMain::on_actionCommand_triggered()
{
    showPage(1);
}

void WindowMain::on_actionLog_triggered()
{
    emit showLogDialog(true);
}

void WindowMain::on_actionCalibration_triggered()
{
    showPage(3);
}

void WindowMain::on_actionSaveLoad_triggered()
{
    settings->stopAcquisition();
    showPage(4);
}

void WindowMain::on_tbLogo_clicked()
{
    MakerWebSite::open();
}

void WindowMain::enableCalibration(bool state)
{
    ui->actionCalibration->setVisible(state);
    ui->actionCalibration->setEnabled(state);
    settings->setEnabledCalibration(state);
}

void WindowMain::enableLogIcon(bool state)
{
    ui->actionLog->setEnabled(state);
}

void WindowMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    if (m_startVideoWhenShown && !event->spontaneous()) {
        m_startVideoWhenShown = false;
        // After the first paint, as if the user pressed "Start".
        QTimer::singleShot(0, this, &WindowMain::startVideo);
    }
}

void WindowMain::startVideo()
{
    // Hook for live video: the view panel's start (the "startVideo" command, then the
    // settings' startAcquisition()) is called from here once the view panel is on page 0.
    ZTRACE() << "live video requested";
    emit videoStartRequested();
}

void WindowMain::closeEvent(QCloseEvent* event)
{
    // Saving the last configuration of the chip comes first here once configuration files
    // are written.
    settings->stopAcquisition();
    // The exchange in flight, if any, gets 500 ms before the channel is closed.
    tcp->closeAfterWait(500);
    event->accept();
    QApplication::closeAllWindows();
    QApplication::quit();
}
