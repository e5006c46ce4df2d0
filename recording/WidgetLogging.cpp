#include "recording/WidgetLogging.h"

#include "app/Trace.h"
#include "settings/Settings.h"
#include "ui_WidgetLogging.h"
#include "widgets/DirectoryChooser.h"

#include <QCloseEvent>
#include <QDir>

namespace {
// The DCS + grayscale view records raw frames: the panel offers only name, path and number.
constexpr int kDcsGrayscaleMode = 8;
} // namespace

WidgetLogging::WidgetLogging(Settings* settings, QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::WindowTitleHint | Qt::WindowCloseButtonHint | Qt::CustomizeWindowHint)
    , ui(new Ui::WidgetLogging)
    , settings(settings)
{
    ui->setupUi(this);
    setWindowTitle(QStringLiteral("Logging"));
    // Closing the panel only hides it; it never ends the application.
    setAttribute(Qt::WA_QuitOnClose, false);
    connect(settings, &Settings::updateCaptureLog, this, &WidgetLogging::updateControls);
    ui->cbUnlimited->setChecked(true);
    ui->cbUnlimited->hide();
}

WidgetLogging::~WidgetLogging()
{
    ZTRACE() << "-----WidgetLogging destroying";
    delete ui;
    ZTRACE() << "-----WidgetLogging destroyed";
}

void WidgetLogging::closeEvent(QCloseEvent* event)
{
    // A capture in rounds cannot be stopped once its panel is gone: closing stops it too.
    if (runActive)
        settings->setLogUnlimited(false);
    hide();
    event->ignore();
}

void WidgetLogging::on_tbBrowse_clicked()
{
    const QString chosen = DirectoryChooser::choose(this, settings->logPath());
    if (!chosen.isEmpty()) {
        ui->leFilePath->setText(chosen);
        settings->setLogPath(ui->leFilePath->text());
    }
    settings->announceUpdateLog();
}

void WidgetLogging::setRunActive(bool active)
{
    runActive = active;
    ui->tbCapture->setText(active ? QStringLiteral("Stop") : QStringLiteral("Capture"));
    ui->tbCapture->setEnabled(true);
}

void WidgetLogging::on_tbCapture_clicked()
{
    if (runActive) {
        // The run ends after the round it is in.
        settings->setLogUnlimited(false);
        ui->tbCapture->setEnabled(false);
        return;
    }
    // The stored name gets "unnamed" for an empty field; the field itself stays empty.
    settings->setLogFilename(ui->leFileName->text().isEmpty() ? QStringLiteral("unnamed")
                                                              : ui->leFileName->text());
    settings->setLogPath(ui->leFilePath->text());
    settings->announceUpdateLog();
    settings->announceCaptureLogImages();
}

void WidgetLogging::on_cbDistanceUnfiltered_toggled(bool checked)
{
    settings->setLogDistance(checked);
}

void WidgetLogging::on_cbAmplitude_toggled(bool checked)
{
    settings->setLogAmplitude(checked);
}

void WidgetLogging::on_cbDistanceFiltered_toggled(bool checked)
{
    settings->setLogFilteredDistance(checked);
}

void WidgetLogging::on_sbNumberOfPictures_valueChanged(int arg1)
{
    settings->setLogNumberOfPictures(arg1);
    settings->announceUpdateLog();
}

void WidgetLogging::on_cbCSV_toggled(bool checked)
{
    settings->setLogCsv(checked);
    settings->announceUpdateLog();
}

void WidgetLogging::on_cbPNG_toggled(bool checked)
{
    settings->setLogPng(checked);
    settings->announceUpdateLog();
}

void WidgetLogging::on_rbLSB_toggled(bool checked)
{
    settings->setLogLsb(checked);
    settings->announceUpdateLog();
}

void WidgetLogging::on_leFileName_textChanged(const QString& arg1)
{
    settings->setLogFilename(arg1);
    settings->announceUpdateLog();
}

void WidgetLogging::on_leFilePath_textChanged(const QString& arg1)
{
    settings->setLogPath(arg1);
    settings->announceUpdateLog();
}

void WidgetLogging::on_cbBin_toggled(bool checked)
{
    settings->setLogBin(checked);
    settings->announceUpdateLog();
}

void WidgetLogging::on_cbUnlimited_toggled(bool checked)
{
    ui->lNumberOfPictures->setVisible(!checked);
    ui->sbNumberOfPictures->setVisible(!checked);
    settings->setLogUnlimited(checked);
}

void WidgetLogging::updateControls()
{
    // The values are read first: every control's change slot writes back into the hub.
    const QString path = settings->logPath().isEmpty() ? QDir::currentPath() : settings->logPath();
    const QString name = settings->logFilename();
    const int number = settings->logNumberOfPictures();
    const bool distance = settings->logDistance();
    const bool amplitude = settings->logAmplitude();
    const bool filtered = settings->logFilteredDistance();
    const bool lsb = settings->logLsb();
    const bool csv = settings->logCsv();
    const bool png = settings->logPng();
    {
        // The page told us of its change; echoing updateLog() for each field would only
        // make it reload what it already shows.
        const QSignalBlocker blocker(settings);
        // Unchanged texts are left alone, so that the cursor stays where the user types.
        if (ui->leFilePath->text() != path)
            ui->leFilePath->setText(path);
        if (ui->leFileName->text() != name)
            ui->leFileName->setText(name);
        ui->sbNumberOfPictures->setValue(number);
        ui->cbDistanceUnfiltered->setChecked(distance);
        ui->cbAmplitude->setChecked(amplitude);
        ui->cbDistanceFiltered->setChecked(filtered);
        ui->rbLSB->setChecked(lsb);
        ui->rbMM->setChecked(!lsb);
        ui->cbCSV->setChecked(csv);
        ui->cbPNG->setChecked(png);
    }
    // The field texts go into the hub as shown (an empty path as the current directory).
    settings->setLogPath(ui->leFilePath->text());
    settings->announceUpdateLog();

    const bool raw = settings->modeIndex() == kDcsGrayscaleMode;
    for (QWidget* content :
         {static_cast<QWidget*>(ui->cbDistanceUnfiltered), static_cast<QWidget*>(ui->cbAmplitude),
          static_cast<QWidget*>(ui->cbDistanceFiltered), static_cast<QWidget*>(ui->lineV1),
          static_cast<QWidget*>(ui->lFileContent), static_cast<QWidget*>(ui->lineV2),
          static_cast<QWidget*>(ui->lUnit), static_cast<QWidget*>(ui->rbLSB), static_cast<QWidget*>(ui->rbMM),
          static_cast<QWidget*>(ui->cbPNG), static_cast<QWidget*>(ui->cbCSV),
          static_cast<QWidget*>(ui->lineV3), static_cast<QWidget*>(ui->lCSV)})
        content->setVisible(!raw);
    ui->cbBin->setVisible(false);
    ui->cbUnlimited->setChecked(raw);
    // The number of pictures is offered in every mode.
    ui->lNumberOfPictures->setVisible(true);
    ui->sbNumberOfPictures->setVisible(true);
}
