#include "recording/WidgetLog.h"

#include "app/ApplicationContext.h"
#include "app/Trace.h"
#include "frames/DataCorrelationSamples.h"
#include "frames/DataHDR.h"
#include "frames/DataInformationSample.h"
#include "frames/DataPixelfield.h"
#include "recording/ControllerLog.h"
#include "recording/Logger.h"
#include "render/DistanceLabeler.h"
#include "ui_WidgetLog.h"
#include "views/WidgetAmplitude.h"
#include "views/WidgetDCS.h"
#include "views/WidgetDCSGrayscale.h"
#include "views/WidgetDifDCS.h"
#include "views/WidgetDistance.h"
#include "views/WidgetFLIM.h"
#include "views/WidgetGrayscale.h"
#include "views/WidgetHDR.h"
#include "widgets/DialogOK.h"
#include "widgets/DialogProgress.h"
#include "widgets/DialogYesNo.h"
#include "widgets/DirectoryChooser.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace {

constexpr int kWideMaximum = 66000;
// An incomplete frame is asked for again this often before the run fails.
constexpr int kPictureAttempts = 3;

// A name typed by the user stays a file name inside the chosen directory.
QString safeStem(QString name)
{
    name.replace(QLatin1Char('/'), QLatin1Char('_'));
    name.replace(QLatin1Char('\\'), QLatin1Char('_'));
    return name;
}

bool stemTaken(const QString& directory, const QString& stem)
{
    for (const char* suffix :
         {".txt", ".csv", ".bin", "_001.png", "_001_0.png", "_001_1.png", "_001_mga.png"}) {
        if (QFile::exists(directory + QLatin1Char('/') + stem + QLatin1String(suffix)))
            return true;
    }
    return false;
}

} // namespace

WidgetLog::WidgetLog(ApplicationContext* context, QWidget* parent)
    : QWidget(parent)
    , ui(new Ui::WidgetLog)
    , settings(context->settings())
    , tcp(context->tcp())
    , log(new ControllerLog(context->settings(), context->tcp(), this))
    , logger(new Logger(context->settings(), this))
    , grayscale(new WidgetGrayscale(context))
    , distance(new WidgetDistance(context))
    , amplitude(new WidgetAmplitude(context))
    , dcs(new WidgetDCS(context))
    , difDcs(new WidgetDifDCS(context))
    , flim(new WidgetFLIM(context))
    , dcsGrayscale(new WidgetDCSGrayscale(context))
    , hdr(new WidgetHDR(context))
    , progress(new DialogProgress(QStringLiteral("Please wait until logging is completed.")))
{
    ui->setupUi(this);
    ui->leBrowse->setText(QDir::currentPath());
    connect(settings, &Settings::captureLogImages, this, &WidgetLog::startLogging);
    connect(settings, &Settings::updateLog, this, &WidgetLog::updateControls);
}

WidgetLog::~WidgetLog()
{
    ZTRACE() << "-----WidgetLog destroying";
    disconnectSlots();
    delete grayscale;
    delete distance;
    delete amplitude;
    delete dcs;
    delete difDcs;
    delete flim;
    delete dcsGrayscale;
    delete hdr;
    delete progress;
    delete ui;
    ZTRACE() << "-----WidgetLog destroyed";
}

void WidgetLog::setUnitControlsHidden(bool hidden)
{
    m_unitControlsHidden = hidden;
    ui->lUnit->setHidden(hidden);
    ui->rbCM->setHidden(hidden);
    ui->rbLSB->setHidden(hidden);
}

void WidgetLog::on_tbBrowse_clicked()
{
    const QString chosen = DirectoryChooser::choose(this, ui->leBrowse->text());
    if (!chosen.isEmpty()) {
        ui->leBrowse->setText(chosen);
        settings->setLogPath(ui->leBrowse->text());
        settings->announceUpdateCaptureLog();
    }
}

void WidgetLog::on_cbSaveCSV_clicked(bool checked)
{
    ui->tbStartLogging->setEnabled(checked || ui->cbSavePictures->isChecked());
    settings->setLogCsv(checked);
    settings->announceUpdateCaptureLog();
}

void WidgetLog::on_cbSavePictures_clicked(bool checked)
{
    ui->tbStartLogging->setEnabled(checked || ui->cbSaveCSV->isChecked());
    settings->setLogPng(checked);
    settings->announceUpdateCaptureLog();
}

void WidgetLog::on_leFilename_textChanged(const QString& arg1)
{
    settings->setLogFilename(arg1);
    settings->announceUpdateCaptureLog();
}

void WidgetLog::on_sbNumberOfPictures_valueChanged(int arg1)
{
    settings->setLogNumberOfPictures(arg1);
    settings->announceUpdateCaptureLog();
}

void WidgetLog::on_rbLSB_toggled(bool checked)
{
    settings->setLogLsb(checked);
    settings->announceUpdateCaptureLog();
}

void WidgetLog::disableCM(bool state)
{
    if (state) {
        ui->rbCM->setChecked(false);
        ui->rbLSB->setChecked(true);
    }
    settings->setLogLsb(state);
    settings->announceUpdateCaptureLog();
    ui->rbCM->setDisabled(state);
}

void WidgetLog::updateControls()
{
    const QSignalBlocker blockNumber(ui->sbNumberOfPictures);
    const QSignalBlocker blockName(ui->leFilename);
    const QSignalBlocker blockLsb(ui->rbLSB);
    ui->sbNumberOfPictures->setValue(settings->logNumberOfPictures());
    // Unchanged texts are left alone, so that the cursor stays where the user types.
    if (ui->leFilename->text() != settings->logFilename())
        ui->leFilename->setText(settings->logFilename());
    const QString directory = settings->logPath().isEmpty() ? QDir::currentPath() : settings->logPath();
    if (ui->leBrowse->text() != directory)
        ui->leBrowse->setText(directory);
    ui->rbLSB->setChecked(settings->logLsb());
    ui->rbCM->setChecked(!settings->logLsb());
    ui->cbSaveCSV->setChecked(settings->logCsv());
    ui->cbSavePictures->setChecked(settings->logPng());
    ui->tbStartLogging->setEnabled(settings->logCsv() || settings->logPng());
    total = settings->logNumberOfPictures();
}

void WidgetLog::startLogging()
{
    // An unattended run starts even when neither CSV nor PNG is ticked (the report and the
    // binary samples are written regardless).
    if (unattended) {
        on_tbStartLogging_clicked();
        return;
    }
    // Only a capture started from the capture panel may go on in rounds: that panel is where
    // it is stopped.
    fromCapturePanel = true;
    ui->tbStartLogging->click();
    fromCapturePanel = false;
}

void WidgetLog::on_tbStartLogging_clicked()
{
    if (running)
        return;
    // Unattended runs take the number from the settings: it may exceed the box's range.
    const int n = unattended ? settings->logNumberOfPictures() : ui->sbNumberOfPictures->value();
    if (n > 1 && !unattended) {
        DialogYesNo question(QStringLiteral("Do you really want to log ") + QString::number(n) +
                                 QStringLiteral(" pictures?"),
                             this);
        if (question.exec() != QDialog::Accepted)
            return;
    }
    path = ui->leBrowse->text();
    baseName = ui->leFilename->text().isEmpty() ? QStringLiteral("unnamed") : ui->leFilename->text();
    mode = settings->modeIndex();
    total = n;
    if (mode == 5) {
        // The point cloud's capture panel sets the run.
        total = settings->logNumberOfPictures();
        baseName = settings->logFilename().isEmpty() ? QStringLiteral("unnamed") : settings->logFilename();
        path = settings->logPath();
        ui->rbLSB->setChecked(settings->logLsb());
        ui->rbCM->setChecked(!settings->logLsb());
    }
    // An empty path is the current directory, never the root.
    if (path.isEmpty())
        path = QDir::currentPath();
    total = qMax(1, total);
    remaining = total;
    progress->setMinimum(0);
    progress->setMaximum(total);
    progress->setValue(0);
    counter = 0;
    rejectedInARow = 0;
    baseName = safeStem(baseName) + QLatin1Char('_') +
               QDateTime::currentDateTime().toString(QStringLiteral("yyyy_MM_dd_hh_mm_ss"));
    // A second run within the same second gets its own stem instead of overwriting the first.
    if (stemTaken(path, baseName)) {
        int suffix = 2;
        while (stemTaken(path, baseName + QLatin1Char('_') + QString::number(suffix)))
            ++suffix;
        baseName += QLatin1Char('_') + QString::number(suffix);
    }
    QFile::remove(fileOf(QStringLiteral(".csv")));
    running = true;
    inRounds = fromCapturePanel;
    emit runStarted();
    ZTRACE() << "logging run" << path << baseName << "mode" << mode << "pictures" << total;
    connect(log, &ControllerLog::loggingReady, this, &WidgetLog::connectSlots, Qt::UniqueConnection);
    log->start();
}

ImageViewBase* WidgetLog::viewOfRun() const
{
    if (settings->flim()->flimChip())
        return flim;
    switch (mode) {
    case 0:
        return grayscale;
    case 1:
    case 5:
        return distance;
    case 2:
    case 3:
    case 4:
        return amplitude;
    case 6:
        return dcs;
    case 7:
        return difDcs;
    case 8:
        return dcsGrayscale;
    case 9:
        return hdr;
    default:
        return nullptr;
    }
}

void WidgetLog::connectSlots()
{
    disconnect(log, &ControllerLog::loggingReady, this, &WidgetLog::connectSlots);
    connect(tcp, &ZelTcp::failed, this, &WidgetLog::failed, Qt::UniqueConnection);
    // A run in rounds goes on until it is stopped from the capture panel: it must not block
    // the application behind the modal progress window.
    if (!unattended && !unlimitedRounds())
        progress->show();

    ImageViewBase* view = viewOfRun();
    if (view == flim)
        connect(flim, &ImageViewBase::pictureUpdated, this, &WidgetLog::logFLIM, Qt::UniqueConnection);
    else if (view == grayscale)
        connect(grayscale, &ImageViewBase::pictureUpdated, this, &WidgetLog::logGrayscale,
                Qt::UniqueConnection);
    else if (view == distance)
        connect(distance, &ImageViewBase::pictureUpdated, this, &WidgetLog::logDistance,
                Qt::UniqueConnection);
    else if (view == amplitude)
        connect(amplitude, &ImageViewBase::pictureUpdated, this, &WidgetLog::logAmplitude,
                Qt::UniqueConnection);
    else if (view == dcs)
        connect(dcs, &ImageViewBase::pictureUpdated, this, &WidgetLog::logDCS, Qt::UniqueConnection);
    else if (view == difDcs)
        connect(difDcs, &ImageViewBase::pictureUpdated, this, &WidgetLog::logDifDCS, Qt::UniqueConnection);
    else if (view == dcsGrayscale)
        connect(dcsGrayscale, &ImageViewBase::pictureUpdated, this, &WidgetLog::logDCSGrayscale,
                Qt::UniqueConnection);
    else if (view == hdr)
        connect(hdr, &ImageViewBase::pictureUpdated, this, &WidgetLog::logHDR, Qt::UniqueConnection);
    connect(this, &WidgetLog::logFinished, this, &WidgetLog::logging, Qt::UniqueConnection);

    if (!view) {
        endRun(false, QStringLiteral("Logging failed.\nView mode %1 cannot be logged.").arg(mode));
        return;
    }
    const bool cm = ui->rbCM->isChecked() && (mode == 1 || mode == 5 || mode == 9);
    if (!logger->writeSettingsReport(unattended ? total : ui->sbNumberOfPictures->value(),
                                     cm ? QStringLiteral("mm") : QStringLiteral("LSB"),
                                     fileOf(QStringLiteral(".txt")))) {
        endRun(false, QStringLiteral("Logging failed.\n") + logger->failedFile());
        return;
    }
    logging();
}

void WidgetLog::logging()
{
    if (!running)
        return;
    progress->setValue(total - remaining);
    if (remaining < 1) {
        // The capture panel keeps "Unlimited" on only for the DCS + grayscale mode (and on from
        // start-up until it first lays itself out), so other modes always end after `total`.
        if (!unlimitedRounds()) {
            endRun(true, QString());
            return;
        }
        // Unlimited: another round of the same number of pictures, until the option is cleared.
        remaining = total;
    }
    ImageViewBase* view = viewOfRun();
    if (view == amplitude)
        amplitude->setColorType(mode == 2 ? WidgetAmplitude::Ramp : WidgetAmplitude::Gray);
    remaining -= 1;
    counter += 1;
    indexText = QString::number(counter).rightJustified(3, QLatin1Char('0'));
    view->startView();
}

bool WidgetLog::unlimitedRounds() const
{
    return inRounds && settings->logUnlimited() && mode == 8 && !unattended;
}

void WidgetLog::disconnectSlots()
{
    disconnect(tcp, &ZelTcp::failed, this, &WidgetLog::failed);
    disconnect(grayscale, &ImageViewBase::pictureUpdated, this, nullptr);
    disconnect(distance, &ImageViewBase::pictureUpdated, this, nullptr);
    disconnect(amplitude, &ImageViewBase::pictureUpdated, this, nullptr);
    disconnect(dcs, &ImageViewBase::pictureUpdated, this, nullptr);
    disconnect(difDcs, &ImageViewBase::pictureUpdated, this, nullptr);
    disconnect(flim, &ImageViewBase::pictureUpdated, this, nullptr);
    disconnect(dcsGrayscale, &ImageViewBase::pictureUpdated, this, nullptr);
    disconnect(hdr, &ImageViewBase::pictureUpdated, this, nullptr);
    disconnect(this, &WidgetLog::logFinished, this, &WidgetLog::logging);
    progress->close();
}

void WidgetLog::failed()
{
    if (viewOfRun())
        viewOfRun()->disconnectSlots();
    endRun(false, QStringLiteral("Logging failed."));
}

void WidgetLog::endRun(bool ok, const QString& reason)
{
    if (!running)
        return;
    running = false;
    disconnectSlots();
    // A failed run gives the camera back like a finished one.
    log->finish();
    ZTRACE() << "logging run ended" << (ok ? QStringLiteral("complete") : reason);
    emit runFinished(ok, reason);
    if (!ok && !unattended) {
        DialogOK message(DialogOK::Failure, reason, this);
        message.exec();
    }
}

QString WidgetLog::fileOf(const QString& suffix) const
{
    return path + QLatin1Char('/') + baseName + suffix;
}

bool WidgetLog::savePng(const ImageViewBase* view, int index, const QString& suffix)
{
    if (!ui->cbSavePictures->isChecked())
        return true;
    const QString file = fileOf(QLatin1Char('_') + indexText + suffix);
    if (view->displayed(index).save(file, "PNG"))
        return true;
    endRun(false, QStringLiteral("Logging failed.\n") + file);
    return false;
}

bool WidgetLog::csv(const int* const* field, int minimum, int maximum, bool addMinimum)
{
    if (!ui->cbSaveCSV->isChecked())
        return true;
    if (logger->writeValueTable(field, fileOf(QStringLiteral(".csv")), minimum, maximum, addMinimum))
        return true;
    endRun(false, QStringLiteral("Logging failed.\n") + logger->failedFile());
    return false;
}

bool WidgetLog::pictureAccepted()
{
    if (!running)
        return false;
    if (pictureCheck ? pictureCheck(mode) : settings->lastFrameComplete()) {
        rejectedInARow = 0;
        return true;
    }
    // An incomplete frame is not written: the same picture is requested again, a few times.
    if (++rejectedInARow > kPictureAttempts) {
        endRun(false, QStringLiteral("Logging failed.\nThe camera sent %1 incomplete frames for picture %2.")
                          .arg(rejectedInARow)
                          .arg(indexText));
        return false;
    }
    ZTRACE() << "logging: picture" << indexText << "incomplete, requested again";
    remaining += 1;
    counter -= 1;
    emit logFinished();
    return false;
}

void WidgetLog::pictureWritten(bool ok)
{
    if (ok && running)
        emit logFinished();
}

void WidgetLog::logGrayscale()
{
    if (!pictureAccepted())
        return;
    pictureWritten(savePng(grayscale, 0, QStringLiteral(".png")) &&
                   csv(grayscale->pixelField()->data(), 0, 30000, true));
}

void WidgetLog::logDistance()
{
    if (!pictureAccepted())
        return;
    if (!savePng(distance, 0, QStringLiteral(".png")))
        return;
    bool ok = true;
    if (ui->cbSaveCSV->isChecked()) {
        DistanceLabeler labeler(settings);
        const int lowCode = labeler.cmToLsb(settings->settings3D()->distanceMin());
        const int highCode = labeler.cmToLsb(settings->settings3D()->distanceMax());
        const bool lsb = ui->rbLSB->isChecked();
        const QString file = fileOf(QStringLiteral(".csv"));
        DataInformationSample* sample = distance->informationSample();
        auto distanceBlock = [&](const int* const* field, int minimum, int maximum) {
            return lsb ? logger->writeValueTable(field, file, minimum, maximum, false)
                       : logger->writeDistanceTable(field, file, minimum, maximum);
        };
        if (ok && settings->logDistance())
            ok = distanceBlock(sample->distanceData(true), 0, kWideMaximum);
        if (ok && settings->logAmplitude())
            ok = logger->writeValueTable(sample->amplitudeData(false), file, 0, kWideMaximum, false);
        if (ok && settings->logFilteredDistance())
            ok = distanceBlock(sample->distanceData(false), lowCode, highCode);
        if (!ok)
            endRun(false, QStringLiteral("Logging failed.\n") + logger->failedFile());
    }
    pictureWritten(ok);
}

void WidgetLog::logAmplitude()
{
    if (!pictureAccepted())
        return;
    pictureWritten(
        savePng(amplitude, 0, QStringLiteral(".png")) &&
        csv(amplitude->pixelField()->data(), 0, settings->distanceCalculation()->maxAmplitude(), false));
}

void WidgetLog::logDCS()
{
    if (!pictureAccepted())
        return;
    const bool piDelay = settings->distanceCalculation()->piDelay();
    const bool dualMGX = settings->distanceCalculation()->dualMGX();
    const int count = piDelay && !dualMGX ? 4 : (!piDelay && dualMGX ? 1 : 2);
    bool ok = true;
    for (int i = 0; ok && i < count; ++i)
        ok = savePng(dcs, i, QStringLiteral("_%1.png").arg(i));
    for (int i = 0; ok && i < count; ++i)
        ok = csv(dcs->correlationSamples()->partData(i), -2048, 2047, true);
    pictureWritten(ok);
}

void WidgetLog::logDifDCS()
{
    if (!pictureAccepted())
        return;
    bool ok = true;
    if (settings->distanceCalculation()->piDelay() && !settings->distanceCalculation()->dualMGX()) {
        ok = savePng(difDcs, 0, QStringLiteral("_1.png")) && savePng(difDcs, 1, QStringLiteral("_2.png")) &&
             csv(difDcs->correlationSamples()->differenceData(false), -4096, 4095, true) &&
             csv(difDcs->correlationSamples()->differenceData(true), -4096, 4095, true);
    }
    pictureWritten(ok);
}

void WidgetLog::logFLIM()
{
    if (!pictureAccepted())
        return;
    pictureWritten(savePng(flim, 0, QStringLiteral("_mga.png")) &&
                   savePng(flim, 1, QStringLiteral("_mgb.png")) &&
                   csv(flim->correlationSamples()->partData(0), 0, 30000, true) &&
                   csv(flim->correlationSamples()->partData(1), 0, 30000, true));
}

void WidgetLog::logDCSGrayscale()
{
    // Five sample blocks per picture, whatever the CSV and PNG boxes say.
    if (!pictureAccepted())
        return;
    const QString file = fileOf(QStringLiteral(".bin"));
    bool ok = true;
    for (int part = 0; ok && part < DataCorrelationSamples::kPartCount; ++part)
        ok = logger->writeSamples(dcsGrayscale->correlationSamples()->partData(part), file);
    if (!ok)
        endRun(false, QStringLiteral("Logging failed.\n") + logger->failedFile());
    pictureWritten(ok);
}

void WidgetLog::logHDR()
{
    if (!pictureAccepted())
        return;
    bool ok = true;
    if (settings->distanceCalculation()->piDelay() && !settings->distanceCalculation()->dualMGX()) {
        for (int i = 0; ok && i < 4; ++i)
            ok = savePng(hdr, i, QStringLiteral("_%1.png").arg(i + 1));
        for (int part = 0; ok && part < 4; ++part)
            ok = csv(hdr->data()->partData(part), 0, 30000, true);
    }
    pictureWritten(ok);
}
